// The text items a screen reader asks for around an offset: always an answer, always inside the
// text, and the item a reader expects at the ends of the text.

#include <array>
#include <ostream>

#include <QAccessible>
#include <QString>
#include <gtest/gtest.h>

#include "accessibility/TextBoundaries.h"

namespace {

using Finder = QString (*)(const QString&, int, QAccessible::TextBoundaryType, int*, int*);

constexpr std::array kBoundaries = {QAccessible::CharBoundary, QAccessible::WordBoundary,
                                    QAccessible::SentenceBoundary, QAccessible::LineBoundary,
                                    QAccessible::ParagraphBoundary, QAccessible::NoBoundary};

TEST(TextBoundaries, EveryQueryAnswersWithARangeInsideTheText) {
  const std::array<Finder, 3> finders = {&text_boundaries::Before, &text_boundaries::At,
                                         &text_boundaries::After};
  for (const QString& text : {QString(), QStringLiteral("95.4037267080745"),
                             QStringLiteral("-1,5E+300"), QStringLiteral("One two.  Three?\nx\n")}) {
    for (int offset = -1; offset <= text.size() + 1; ++offset) {
      for (const auto boundary : kBoundaries) {
        for (const Finder find : finders) {
          int start = -9;
          int end = -9;
          const QString got = find(text, offset, boundary, &start, &end);
          ASSERT_TRUE(0 <= start && start <= end && end <= text.size())
              << qPrintable(text) << " offset " << offset << " boundary " << boundary;
          EXPECT_EQ(got, text.mid(start, end - start));
        }
      }
    }
  }
}

struct Item {
  Finder find;
  const char* text;
  int offset;
  QAccessible::TextBoundaryType boundary;
  const char* expected;
  int start;
};

void PrintTo(const Item& item, std::ostream* out) {
  *out << '"' << item.text << "\" at " << item.offset << ", boundary " << item.boundary;
}

class TextItems : public ::testing::TestWithParam<Item> {};

TEST_P(TextItems, AreWhereAReaderExpectsThem) {
  const Item& item = GetParam();
  int start = -9;
  int end = -9;
  const QString got = item.find(QString::fromUtf8(item.text), item.offset, item.boundary, &start,
                                &end);
  EXPECT_EQ(got, QString::fromUtf8(item.expected));
  EXPECT_EQ(start, item.start);
}

INSTANTIATE_TEST_SUITE_P(
    AroundAnOffset, TextItems,
    ::testing::Values(
        // A number is one word, at its end as anywhere in it.
        Item{&text_boundaries::At, "95.4037267080745", 16, QAccessible::WordBoundary,
             "95.4037267080745", 0},
        Item{&text_boundaries::At, "95.4037267080745", 3, QAccessible::WordBoundary,
             "95.4037267080745", 0},
        Item{&text_boundaries::Before, "95.4037267080745", 16, QAccessible::WordBoundary,
             "95.4037267080745", 0},
        Item{&text_boundaries::After, "95.4037267080745", 16, QAccessible::WordBoundary, "", 16},
        Item{&text_boundaries::Before, "95.4", 0, QAccessible::CharBoundary, "", 0},
        Item{&text_boundaries::At, "95.4", 4, QAccessible::CharBoundary, "", 4},
        Item{&text_boundaries::At, "95.4", -1, QAccessible::SentenceBoundary, "95.4", 0},
        Item{&text_boundaries::At, "one two", 3, QAccessible::WordBoundary, " ", 3},
        Item{&text_boundaries::After, "one two", 1, QAccessible::WordBoundary, " ", 3},
        Item{&text_boundaries::Before, "one two", 5, QAccessible::WordBoundary, " ", 3},
        Item{&text_boundaries::At, "ab\ncd", 2, QAccessible::LineBoundary, "ab\n", 0},
        Item{&text_boundaries::At, "ab\ncd", 5, QAccessible::LineBoundary, "cd", 3},
        Item{&text_boundaries::Before, "ab\ncd", 4, QAccessible::LineBoundary, "ab\n", 0},
        Item{&text_boundaries::At, "ab\ncd", 1, QAccessible::NoBoundary, "ab\ncd", 0}));

}  // namespace
