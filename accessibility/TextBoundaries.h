#pragma once

// The text items (characters, words, sentences, lines) a screen reader asks for around an offset,
// found for any text in time bounded by its length. Qt's own search, which every text interface
// inherits, never returns for words and sentences at the end of the text (Qt 6.4 and 6.8; mended
// in Qt 6.11); these are what Tempulo's accessible text interfaces answer with instead, on any Qt
// version, so no Qt needs telling apart.
//
// Offsets follow Qt's accessibility conventions: -1 is the end of the text; the caller turns -2
// (the cursor) into a position first. Any other offset outside the text is taken at the nearer
// end. The range returned always lies inside the text; where there is no item before or after,
// it is empty, at the start or at the end.

#include <QAccessible>
#include <QString>

namespace text_boundaries {

QString Before(const QString& text, int offset, QAccessible::TextBoundaryType boundary,
               int* startOffset, int* endOffset);
QString At(const QString& text, int offset, QAccessible::TextBoundaryType boundary,
           int* startOffset, int* endOffset);
QString After(const QString& text, int offset, QAccessible::TextBoundaryType boundary,
              int* startOffset, int* endOffset);

}  // namespace text_boundaries
