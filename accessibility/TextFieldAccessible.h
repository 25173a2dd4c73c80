#pragma once

// What a screen reader is told of a one-line text field: the result boxes, which are read-only,
// and the prompt's entry, which a person may type in. A client may read the text, move the caret
// and select, in any field; it may change the text only where the user could, and within the
// field's maximum length. Every offset a client gives is held to the text, so every call answers
// at once, in time bounded by the text's length, and leaves Qt nothing to warn about.
//
// Two things decide what Orca speaks: the text comes as one attribute run over its whole length
// (Orca cuts the line it speaks at the end of the last run, and Qt 6.4's runs are empty), and
// the items around an offset come from text_boundaries, which always returns (Qt's own search
// does not, at the end of a text, before Qt 6.11). Installed for every QLineEdit by Accessibility.

#include <optional>
#include <vector>

#include <QAccessibleWidget>
#include <QFont>

class QLineEdit;

class TextFieldAccessible : public QAccessibleWidget,
                            public QAccessibleTextInterface,
                            public QAccessibleEditableTextInterface {
 public:
  explicit TextFieldAccessible(QLineEdit* field);

  [[nodiscard]] QString text(QAccessible::Text t) const override;
  void setText(QAccessible::Text t, const QString& text) override;
  [[nodiscard]] QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override;

  // Reading, the caret and the selection.
  [[nodiscard]] int characterCount() const override;
  [[nodiscard]] QString text(int startOffset, int endOffset) const override;
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                           int* startOffset, int* endOffset) const override;
  QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                       int* endOffset) const override;
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                          int* startOffset, int* endOffset) const override;
  [[nodiscard]] QString attributes(int offset, int* startOffset, int* endOffset) const override;
  [[nodiscard]] int cursorPosition() const override;
  void setCursorPosition(int position) override;
  [[nodiscard]] int selectionCount() const override;
  void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
  void setSelection(int selectionIndex, int startOffset, int endOffset) override;
  void addSelection(int startOffset, int endOffset) override;
  void removeSelection(int selectionIndex) override;

  // Where the characters are drawn, in screen coordinates.
  [[nodiscard]] QRect characterRect(int offset) const override;
  [[nodiscard]] int offsetAtPoint(const QPoint& point) const override;
  void scrollToSubstring(int startIndex, int endIndex) override;

  // Editing, where the user could edit.
  void deleteText(int startOffset, int endOffset) override;
  void insertText(int offset, const QString& text) override;
  void replaceText(int startOffset, int endOffset, const QString& text) override;

 private:
  [[nodiscard]] QLineEdit& Field() const;
  // The text as drawn: a password field shows its mask, never its text.
  [[nodiscard]] QString Shown() const;
  // Whether a client may change the text: only where the user may type it.
  [[nodiscard]] bool Editable() const;
  // An offset held to 0 ... length: -1 is the end and -2 the caret, as the bridges pass them.
  [[nodiscard]] int Hold(int offset) const;
  // Where the character at the offset begins (or the text ends), in field coordinates; none for
  // an offset too far from the caret to be in view.
  [[nodiscard]] std::optional<qreal> EdgeX(int offset) const;
  void Replace(int start, int end, const QString& inserted);

  // The edges of the characters around the caret, measured once for each text, caret and font:
  // a client that asks for a range box by box costs one measurement, not one per character.
  struct Measured {
    QString text;  // shares the field's text while it is unchanged
    int caret = -1;
    QFont font;
    int first = 0;              // the offset of edges.front()
    std::vector<qreal> edges;   // each relative to the caret
  };
  mutable Measured measured_;
};
