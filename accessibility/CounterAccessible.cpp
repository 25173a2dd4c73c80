#include "accessibility/CounterAccessible.h"

#include <QLabel>

CounterAccessible::CounterAccessible(QLabel* label)
    : QAccessibleWidget(label, QAccessible::StatusBar) {}

QString CounterAccessible::text(QAccessible::Text t) const {
  if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
    return static_cast<QLabel*>(widget())->text();
  }
  return QAccessibleWidget::text(t);
}

QAccessible::State CounterAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.readOnly = true;
  return state;
}
