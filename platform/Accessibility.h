#pragma once

// Tempulo's own accessible interfaces, where Qt's fall short of what a screen reader presents:
// line edits (LineEditAccessible) and the tap counter (CounterAccessible). Install() runs once at
// start-up, before the first window, so that every interface Qt creates comes from here.

class QLabel;

class Accessibility {
 public:
  static void Install();

  // The label's text is a count that changes as the user works: a screen reader speaks each new
  // count while the label has the focus. Call before the label is first shown.
  static void SpeakCountChanges(QLabel& label);

  // Call after every setText on such a label: a screen reader hears a count that changed.
  static void CountShown(QLabel& label);
};
