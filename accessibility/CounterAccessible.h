#pragma once

// What a screen reader is told of a label that shows a running count: its role is a status
// display, named by the count it shows. Orca drops the name changes of every plain label (they
// flood it from desktop shells), but speaks those of a focused status display, so each new count
// is heard as it is shown. Installed by Accessibility::SpeakCountChanges.

#include <QAccessibleWidget>

class QLabel;

class CounterAccessible : public QAccessibleWidget {
 public:
  explicit CounterAccessible(QLabel* label);

  [[nodiscard]] QString text(QAccessible::Text t) const override;
  [[nodiscard]] QAccessible::State state() const override;
};
