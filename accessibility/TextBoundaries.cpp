#include "accessibility/TextBoundaries.h"

#include <algorithm>
#include <vector>

#include <QTextBoundaryFinder>

#include "accessibility/HeldOffset.h"

namespace text_boundaries {
namespace {

// Where the items of the text begin and end, ascending, from 0 to the length: the text divides
// into the items between neighbours. Words count only the edges of words and of the runs between
// them, as a text cursor moves by word; lines end after each line feed.
std::vector<int> Edges(const QString& text, QAccessible::TextBoundaryType boundary) {
  const int length = static_cast<int>(text.size());
  std::vector<int> edges{0};
  if (boundary == QAccessible::LineBoundary || boundary == QAccessible::ParagraphBoundary) {
    for (int i = 0; i < length; ++i) {
      if (text.at(i) == QChar::LineFeed) edges.push_back(i + 1);
    }
  } else if (boundary != QAccessible::NoBoundary) {
    QTextBoundaryFinder::BoundaryType type = QTextBoundaryFinder::Grapheme;
    if (boundary == QAccessible::WordBoundary) type = QTextBoundaryFinder::Word;
    if (boundary == QAccessible::SentenceBoundary) type = QTextBoundaryFinder::Sentence;
    QTextBoundaryFinder finder(type, text);
    // Each step moves forward or reports -1, so the walk ends within length steps.
    for (qsizetype at = finder.toNextBoundary(); at > 0 && at < length;
         at = finder.toNextBoundary()) {
      if (type != QTextBoundaryFinder::Word ||
          finder.boundaryReasons().testAnyFlags(QTextBoundaryFinder::StartOfItem |
                                                QTextBoundaryFinder::EndOfItem)) {
        edges.push_back(static_cast<int>(at));
      }
    }
  }
  if (edges.back() != length) edges.push_back(length);
  return edges;
}

int Clamp(const QString& text, int offset) {
  return HeldOffset(offset, static_cast<int>(text.size()));
}

QString Range(const QString& text, int start, int end, int* startOffset, int* endOffset) {
  *startOffset = start;
  *endOffset = end;
  return text.mid(start, end - start);
}

// The index of the item that holds the offset; at the end of the text, the last item, so that
// the word or line at the end is the one just finished. Characters end there: nothing is at it.
int ItemAt(const std::vector<int>& edges, int offset) {
  const auto after = std::upper_bound(edges.begin(), edges.end(), offset);
  const auto index = static_cast<int>(after - edges.begin()) - 1;
  return std::min(index, static_cast<int>(edges.size()) - 2);
}

}  // namespace

QString At(const QString& text, int offset, QAccessible::TextBoundaryType boundary,
           int* startOffset, int* endOffset) {
  offset = Clamp(text, offset);
  const int length = static_cast<int>(text.size());
  if (boundary == QAccessible::NoBoundary) return Range(text, 0, length, startOffset, endOffset);
  if (length == 0 || (offset == length && boundary == QAccessible::CharBoundary)) {
    return Range(text, offset, offset, startOffset, endOffset);
  }
  const std::vector<int> edges = Edges(text, boundary);
  const int item = ItemAt(edges, offset);
  return Range(text, edges[item], edges[item + 1], startOffset, endOffset);
}

QString Before(const QString& text, int offset, QAccessible::TextBoundaryType boundary,
               int* startOffset, int* endOffset) {
  offset = Clamp(text, offset);
  if (boundary == QAccessible::NoBoundary || text.isEmpty()) {
    return Range(text, 0, 0, startOffset, endOffset);
  }
  const std::vector<int> edges = Edges(text, boundary);
  // The item before the one the offset is in; at the end, the one that ends there.
  int item = ItemAt(edges, offset);
  if (offset == text.size()) ++item;
  if (item == 0) return Range(text, 0, 0, startOffset, endOffset);
  return Range(text, edges[item - 1], edges[item], startOffset, endOffset);
}

QString After(const QString& text, int offset, QAccessible::TextBoundaryType boundary,
              int* startOffset, int* endOffset) {
  offset = Clamp(text, offset);
  const int length = static_cast<int>(text.size());
  if (boundary == QAccessible::NoBoundary || length == 0 || offset == length) {
    return Range(text, length, length, startOffset, endOffset);
  }
  const std::vector<int> edges = Edges(text, boundary);
  const int item = ItemAt(edges, offset) + 1;
  if (item + 1 >= static_cast<int>(edges.size())) {
    return Range(text, length, length, startOffset, endOffset);
  }
  return Range(text, edges[item], edges[item + 1], startOffset, endOffset);
}

}  // namespace text_boundaries
