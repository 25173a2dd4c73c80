#pragma once

// What a screen reader is told of a line edit: the result boxes and the prompt's entry. It
// reports what Qt's own line-edit interface reports, with two differences that decide what
// Orca speaks: the text comes as one attribute run over its whole length (Qt 6.4 reports empty
// runs, and Orca cuts the line it speaks at the end of the last run it was given, so the last
// digit of a number went unsaid), and the characters, words, sentences and lines around an
// offset are found by text_boundaries, which always returns (Qt 6.4's search hangs the program
// at the end of the text). Installed for every QLineEdit by Accessibility::Install.

#include <QAccessibleWidget>

class QLineEdit;

class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
 public:
  explicit LineEditAccessible(QLineEdit* lineEdit);

  [[nodiscard]] QString text(QAccessible::Text t) const override;
  void setText(QAccessible::Text t, const QString& text) override;
  [[nodiscard]] QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override;

  // QAccessibleTextInterface
  void addSelection(int startOffset, int endOffset) override;
  [[nodiscard]] QString attributes(int offset, int* startOffset, int* endOffset) const override;
  [[nodiscard]] int cursorPosition() const override;
  [[nodiscard]] QRect characterRect(int offset) const override;
  [[nodiscard]] int selectionCount() const override;
  [[nodiscard]] int offsetAtPoint(const QPoint& point) const override;
  void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
  [[nodiscard]] QString text(int startOffset, int endOffset) const override;
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                           int* startOffset, int* endOffset) const override;
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                          int* startOffset, int* endOffset) const override;
  QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                       int* endOffset) const override;
  void removeSelection(int selectionIndex) override;
  void setCursorPosition(int position) override;
  void setSelection(int selectionIndex, int startOffset, int endOffset) override;
  [[nodiscard]] int characterCount() const override;
  void scrollToSubstring(int startIndex, int endIndex) override;

  // QAccessibleEditableTextInterface
  void deleteText(int startOffset, int endOffset) override;
  void insertText(int offset, const QString& text) override;
  void replaceText(int startOffset, int endOffset, const QString& text) override;

 private:
  [[nodiscard]] QLineEdit* lineEdit() const;
  // The text as a screen reader may have it: none of a password's.
  [[nodiscard]] QString ShownText() const;
  [[nodiscard]] int Offset(int offset) const;
};
