#include "accessibility/TextFieldAccessible.h"

#include <algorithm>
#include <cmath>

#include <QLineEdit>
#include <QTextLayout>
#include <QValidator>

#include "accessibility/HeldOffset.h"
#include "accessibility/TextBoundaries.h"

TextFieldAccessible::TextFieldAccessible(QLineEdit* field)
    : QAccessibleWidget(field, QAccessible::EditableText) {}

QLineEdit& TextFieldAccessible::Field() const { return *static_cast<QLineEdit*>(widget()); }

QString TextFieldAccessible::Shown() const { return Field().displayText(); }

bool TextFieldAccessible::Editable() const {
  const QLineEdit& field = Field();
  return !field.isReadOnly() && field.isEnabled() && field.echoMode() == QLineEdit::Normal;
}

int TextFieldAccessible::Hold(int offset) const {
  if (offset == -2) return cursorPosition();
  return HeldOffset(offset, characterCount());
}

QString TextFieldAccessible::text(QAccessible::Text t) const {
  if (t == QAccessible::Value) return Shown();
  return QAccessibleWidget::text(t);
}

void TextFieldAccessible::setText(QAccessible::Text t, const QString& text) {
  // Names and descriptions are the program's; the value is the user's, where the user may type.
  if (t == QAccessible::Value && Editable()) Replace(0, characterCount(), text);
}

QAccessible::State TextFieldAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.editable = Editable();
  state.readOnly = !state.editable;
  state.selectableText = true;
  state.passwordEdit = Field().echoMode() != QLineEdit::Normal;
  return state;
}

void* TextFieldAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  if (type == QAccessible::EditableTextInterface) {
    return Editable() ? static_cast<QAccessibleEditableTextInterface*>(this) : nullptr;
  }
  return QAccessibleWidget::interface_cast(type);
}

int TextFieldAccessible::characterCount() const { return static_cast<int>(Shown().size()); }

QString TextFieldAccessible::text(int startOffset, int endOffset) const {
  const int start = Hold(startOffset);
  const int end = Hold(endOffset);
  return start < end ? Shown().mid(start, end - start) : QString();
}

QString TextFieldAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                              int* startOffset, int* endOffset) const {
  return text_boundaries::Before(Shown(), Hold(offset), boundaryType, startOffset, endOffset);
}

QString TextFieldAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                          int* startOffset, int* endOffset) const {
  return text_boundaries::At(Shown(), Hold(offset), boundaryType, startOffset, endOffset);
}

QString TextFieldAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int* startOffset, int* endOffset) const {
  return text_boundaries::After(Shown(), Hold(offset), boundaryType, startOffset, endOffset);
}

QString TextFieldAccessible::attributes(int /*offset*/, int* startOffset, int* endOffset) const {
  // One font, one colour: a single run without attributes over the whole text.
  *startOffset = 0;
  *endOffset = characterCount();
  return {};
}

int TextFieldAccessible::cursorPosition() const { return Field().cursorPosition(); }

void TextFieldAccessible::setCursorPosition(int position) {
  Field().setCursorPosition(Hold(position));
}

int TextFieldAccessible::selectionCount() const { return Field().hasSelectedText() ? 1 : 0; }

void TextFieldAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
  const QLineEdit& field = Field();
  if (selectionIndex == 0 && field.hasSelectedText()) {
    *startOffset = field.selectionStart();
    *endOffset = *startOffset + field.selectionLength();
  } else {
    *startOffset = *endOffset = cursorPosition();  // none: empty, at the caret
  }
}

void TextFieldAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
  if (selectionIndex != 0) return;  // a line edit has one selection
  const int start = Hold(startOffset);
  const int end = Hold(endOffset);
  if (start == end) {
    Field().deselect();
    Field().setCursorPosition(start);
  } else {
    Field().setSelection(start, end - start);  // the caret goes to the end given
  }
}

void TextFieldAccessible::addSelection(int startOffset, int endOffset) {
  if (selectionCount() == 0) setSelection(0, startOffset, endOffset);
}

void TextFieldAccessible::removeSelection(int selectionIndex) {
  if (selectionIndex == 0) Field().deselect();
}

std::optional<qreal> TextFieldAccessible::EdgeX(int offset) const {
  const QLineEdit& field = Field();
  const QString shown = Shown();
  const int caret = std::min(cursorPosition(), static_cast<int>(shown.size()));
  Measured& m = measured_;
  const bool same = m.text.constData() == shown.constData() && m.text.size() == shown.size() &&
                    m.caret == caret && m.font == field.font();
  if (!same) {
    // No character is narrower than a pixel, so none further from the caret than the field is
    // wide can be in view.
    const int reach = std::max(1, field.width());
    m = Measured{shown, caret, field.font(), std::max(0, caret - reach), {}};
    const int last = static_cast<int>(std::min<qsizetype>(shown.size(), caret + reach));
    QTextLayout layout(shown.mid(m.first, last - m.first), m.font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    const qreal origin = line.cursorToX(caret - m.first);
    for (int i = m.first; i <= last; ++i) m.edges.push_back(line.cursorToX(i - m.first) - origin);
  }
  const int index = offset - m.first;
  if (index < 0 || index >= static_cast<int>(m.edges.size())) return std::nullopt;
  // The field places its text so that the caret stands in the middle of its cursor rectangle.
  const QRect cursor = field.inputMethodQuery(Qt::ImCursorRectangle).toRect();
  return std::floor(cursor.x() + cursor.width() / 2.0) + m.edges[index];
}

QRect TextFieldAccessible::characterRect(int offset) const {
  if (offset < 0 || offset >= characterCount()) return {};
  const std::optional<qreal> left = EdgeX(offset);
  const std::optional<qreal> right = EdgeX(offset + 1);
  if (!left || !right) return {};
  const QRect cursor = Field().inputMethodQuery(Qt::ImCursorRectangle).toRect();
  const QRect box(QPoint(static_cast<int>(std::floor(std::min(*left, *right))), cursor.top()),
                  QPoint(static_cast<int>(std::ceil(std::max(*left, *right))) - 1, cursor.bottom()));
  return box.translated(Field().mapToGlobal(QPoint(0, 0)));
}

int TextFieldAccessible::offsetAtPoint(const QPoint& point) const {
  const QPoint local = Field().mapFromGlobal(point);
  const QRect cursor = Field().inputMethodQuery(Qt::ImCursorRectangle).toRect();
  if (local.y() < cursor.top() || local.y() > cursor.bottom()) return -1;
  // The character whose box holds the point: the caret nearest to it, or the one before.
  const int length = characterCount();
  const int nearest = std::clamp(Field().cursorPositionAt(local), 0, length);
  for (const int offset : {nearest, nearest - 1}) {
    if (offset < 0 || offset >= length) continue;
    if (characterRect(offset).contains(point)) return offset;
  }
  return -1;
}

void TextFieldAccessible::scrollToSubstring(int startIndex, int endIndex) {
  const int start = Hold(startIndex);
  const int end = Hold(endIndex);
  const QRect visible = Field().contentsRect();
  const std::optional<qreal> left = EdgeX(start);
  const std::optional<qreal> right = EdgeX(end);
  if (left && right && *left >= visible.left() && *right <= visible.right() + 1) return;  // in view
  // The field scrolls to show its caret: first the end, then the start.
  Field().setCursorPosition(end);
  Field().setCursorPosition(start);
}

void TextFieldAccessible::deleteText(int startOffset, int endOffset) {
  if (Editable()) Replace(startOffset, endOffset, QString());
}

void TextFieldAccessible::insertText(int offset, const QString& text) {
  if (Editable()) Replace(offset, offset, text);
}

void TextFieldAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
  if (Editable()) Replace(startOffset, endOffset, text);
}

void TextFieldAccessible::Replace(int start, int end, const QString& inserted) {
  QLineEdit& field = Field();
  const QString current = field.text();
  const int from = std::min(Hold(start), Hold(end));
  const int to = std::max(Hold(start), Hold(end));
  // No more than the field holds: what would go past its maximum length is left out.
  const auto kept = current.size() - (to - from);
  const auto room = std::max<qsizetype>(0, field.maxLength() - kept);
  const QString piece = inserted.left(room);
  QString next = current.left(from) + piece + current.mid(to);
  if (const QValidator* validator = field.validator()) {
    int position = from;
    if (validator->validate(next, position) == QValidator::Invalid) return;
  }
  field.setText(next);
  field.setCursorPosition(from + static_cast<int>(piece.size()));
}
