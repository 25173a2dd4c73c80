#pragma once

// What screen readers are told of Tempulo, beyond what Qt tells them itself: the text boxes and
// the prompt's entry (TextFieldAccessible), the tap counter (CounterAccessible), and on Linux
// what Qt's AT-SPI bridge gets wrong (AtSpiBridge). Changes to controls of windows not yet shown
// are not sent. Install() runs once at start-up, before the first window, so that every
// interface Qt creates for these controls comes from here.

class QLabel;
class QString;

class Accessibility {
 public:
  static void Install();

  // The label's text is a count that changes as the user works: a screen reader speaks each new
  // count while the label has the focus. Call before the label is given its first text.
  static void SpeakCountChanges(QLabel& label);

  // Shows the count in such a label; a screen reader hears it when it differs from the last.
  static void ShowCount(QLabel& label, const QString& count);
};
