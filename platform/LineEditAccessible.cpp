#include "platform/LineEditAccessible.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QValidator>

#include "platform/TextBoundaries.h"

LineEditAccessible::LineEditAccessible(QLineEdit* lineEdit)
    : QAccessibleWidget(lineEdit, QAccessible::EditableText) {
  addControllingSignal(QStringLiteral("textChanged(const QString&)"));
  addControllingSignal(QStringLiteral("returnPressed()"));
}

QLineEdit* LineEditAccessible::lineEdit() const { return static_cast<QLineEdit*>(widget()); }

QString LineEditAccessible::ShownText() const {
  return lineEdit()->echoMode() == QLineEdit::Normal ? lineEdit()->text() : QString();
}

int LineEditAccessible::Offset(int offset) const {
  return offset == -2 ? cursorPosition() : offset;
}

QString LineEditAccessible::text(QAccessible::Text t) const {
  QString str;
  if (t == QAccessible::Value) {
    if (lineEdit()->echoMode() == QLineEdit::Normal) {
      str = lineEdit()->text();
    } else if (lineEdit()->echoMode() != QLineEdit::NoEcho) {
      str = QString(lineEdit()->text().size(), QLatin1Char('*'));
    }
  }
  if (str.isEmpty()) str = QAccessibleWidget::text(t);
  if (str.isEmpty() && t == QAccessible::Description) str = lineEdit()->placeholderText();
  return str;
}

void LineEditAccessible::setText(QAccessible::Text t, const QString& text) {
  if (t != QAccessible::Value) {
    QAccessibleWidget::setText(t, text);
    return;
  }
  QString newText = text;
  if (const QValidator* validator = lineEdit()->validator()) {
    int position = 0;
    if (validator->validate(newText, position) != QValidator::Acceptable) return;
  }
  lineEdit()->setText(newText);
}

QAccessible::State LineEditAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.editable = true;
  state.readOnly = lineEdit()->isReadOnly();
  state.passwordEdit = lineEdit()->echoMode() != QLineEdit::Normal;
  state.selectableText = true;
  return state;
}

void* LineEditAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  if (type == QAccessible::EditableTextInterface) {
    return static_cast<QAccessibleEditableTextInterface*>(this);
  }
  return QAccessibleWidget::interface_cast(type);
}

void LineEditAccessible::addSelection(int startOffset, int endOffset) {
  setSelection(0, startOffset, endOffset);
}

QString LineEditAccessible::attributes(int /*offset*/, int* startOffset, int* endOffset) const {
  // A line edit's text is all of one kind: one run, no attributes, over the whole of it.
  *startOffset = 0;
  *endOffset = characterCount();
  return {};
}

int LineEditAccessible::cursorPosition() const { return lineEdit()->cursorPosition(); }

QRect LineEditAccessible::characterRect(int offset) const {
  const QString ch = text(offset, offset + 1);
  if (ch.isEmpty()) return {};
  // Measured from the cursor, whose place on screen the line edit knows, scrolling included.
  const QString shown = ShownText();
  const int cursor = cursorPosition();
  const QFontMetrics metrics(lineEdit()->font());
  const QRect cursorRect = lineEdit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
  const int x = offset >= cursor
                    ? cursorRect.x() + metrics.horizontalAdvance(shown.mid(cursor, offset - cursor))
                    : cursorRect.x() - metrics.horizontalAdvance(shown.mid(offset, cursor - offset));
  QRect rect(x, lineEdit()->textMargins().top(), metrics.horizontalAdvance(ch), metrics.height());
  rect.moveTo(lineEdit()->mapToGlobal(rect.topLeft()));
  return rect;
}

int LineEditAccessible::selectionCount() const { return lineEdit()->hasSelectedText() ? 1 : 0; }

int LineEditAccessible::offsetAtPoint(const QPoint& point) const {
  return lineEdit()->cursorPositionAt(lineEdit()->mapFromGlobal(point));
}

void LineEditAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
  *startOffset = *endOffset = 0;
  if (selectionIndex != 0) return;
  *startOffset = lineEdit()->selectionStart();
  *endOffset = *startOffset + static_cast<int>(lineEdit()->selectedText().size());
}

QString LineEditAccessible::text(int startOffset, int endOffset) const {
  if (startOffset > endOffset) return {};
  return ShownText().mid(startOffset, endOffset - startOffset);
}

QString LineEditAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int* startOffset, int* endOffset) const {
  return text_boundaries::Before(ShownText(), Offset(offset), boundaryType, startOffset,
                                 endOffset);
}

QString LineEditAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int* startOffset, int* endOffset) const {
  return text_boundaries::After(ShownText(), Offset(offset), boundaryType, startOffset, endOffset);
}

QString LineEditAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                         int* startOffset, int* endOffset) const {
  return text_boundaries::At(ShownText(), Offset(offset), boundaryType, startOffset, endOffset);
}

void LineEditAccessible::removeSelection(int selectionIndex) {
  if (selectionIndex == 0) lineEdit()->deselect();
}

void LineEditAccessible::setCursorPosition(int position) {
  lineEdit()->setCursorPosition(position);
}

void LineEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
  if (selectionIndex == 0) lineEdit()->setSelection(startOffset, endOffset - startOffset);
}

int LineEditAccessible::characterCount() const {
  return static_cast<int>(lineEdit()->text().size());
}

void LineEditAccessible::scrollToSubstring(int startIndex, int endIndex) {
  lineEdit()->setCursorPosition(endIndex);
  lineEdit()->setCursorPosition(startIndex);
}

void LineEditAccessible::deleteText(int startOffset, int endOffset) {
  lineEdit()->setText(lineEdit()->text().remove(startOffset, endOffset - startOffset));
}

void LineEditAccessible::insertText(int offset, const QString& text) {
  lineEdit()->setText(lineEdit()->text().insert(offset, text));
}

void LineEditAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
  lineEdit()->setText(lineEdit()->text().replace(startOffset, endOffset - startOffset, text));
}
