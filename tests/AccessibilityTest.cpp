// What a screen reader hears: every control of the working windows has a name, and the number
// boxes say what they hold.

#include <array>

#include <QAccessible>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "calc/FrmResult.h"
#include "forms/Dialogs.h"
#include "tapping/FrmTapResults.h"
#include "tapping/FrmTempulo.h"
#include "ui/FrmAbout.h"
#include "tests/ModalHelper.h"

namespace {

QString Announced(QWidget& widget, QAccessible::Text what) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&widget);
  return face != nullptr ? face->text(what) : QString();
}

void ExpectEveryControlNamed(QWidget& window) {
  for (QWidget* control : window.findChildren<QWidget*>()) {
    if (qobject_cast<QLabel*>(control) == nullptr && qobject_cast<QLineEdit*>(control) == nullptr &&
        qobject_cast<QFrame*>(control) == nullptr) {
      continue;
    }
    if (qobject_cast<QLabel*>(control) != nullptr &&
        qobject_cast<QLabel*>(control)->text().trimmed().isEmpty()) {
      continue;  // a blank line has nothing to announce
    }
    EXPECT_FALSE(Announced(*control, QAccessible::Name).trimmed().isEmpty())
        << control->metaObject()->className() << " at " << control->x() << "," << control->y();
  }
}

// What Orca speaks of a line edit: the attribute run that holds the offset must cover the whole
// text, and the word at the end of the text must come back (Qt 6.4's own search never returns).
void ExpectReadWhole(QWidget& lineEdit) {
  QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(&lineEdit)->textInterface();
  ASSERT_NE(text, nullptr);
  const int length = text->characterCount();
  ASSERT_GT(length, 0);
  int start = -1;
  int end = -1;
  text->attributes(length - 1, &start, &end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, length);
  EXPECT_EQ(text->textAtOffset(length, QAccessible::WordBoundary, &start, &end),
            text->text(0, length));
}

TEST(Accessibility, CounterSaysWhatItCounts) {
  FrmTempulo window([] { return 0.0f; });
  EXPECT_EQ(Announced(window.LblKeyPress(), QAccessible::Name), "0");
  // A status display: a screen reader speaks its new count as it changes.
  EXPECT_EQ(QAccessible::queryAccessibleInterface(&window.LblKeyPress())->role(),
            QAccessible::StatusBar);
  const auto labels = QAccessible::queryAccessibleInterface(&window.LblKeyPress())
                          ->relations(QAccessible::Label);
  ASSERT_EQ(labels.size(), 1);
  EXPECT_EQ(labels.front().first->text(QAccessible::Name), "Key press count");
  EXPECT_TRUE(Announced(window.LblKeyPress(), QAccessible::Description).contains("space bar"));
  ExpectEveryControlNamed(window);
}

TEST(Accessibility, ResultBoxesSayWhichResultTheyHold) {
  FrmTapResults& results = FrmTapResults::Get();
  const std::array names = {"One bar length", "One beat length", "Beats per minute"};
  const std::array meanings = {"bar in seconds", "beat in seconds", "beats per minute"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Announced(results.TxtResult(i), QAccessible::Name), names[i]);
    EXPECT_TRUE(Announced(results.TxtResult(i), QAccessible::Description).contains(meanings[i]));
    EXPECT_EQ(Announced(results.TxtResult(i), QAccessible::Value), "0");
  }
  results.TxtResult(2).SetValue(95.4037267080745);
  ExpectReadWhole(results.TxtResult(2));
  ExpectEveryControlNamed(results);
  FrmTapResults::UnloadIfLoaded();
}

TEST(Accessibility, CalculatedResultSaysHowToGoOn) {
  FrmResult& window = FrmResult::Get();
  window.TxtResult().SetValue(240);
  EXPECT_EQ(Announced(window.TxtResult(), QAccessible::Name), "Calculated result");
  EXPECT_EQ(Announced(window.TxtResult(), QAccessible::Value), "240");
  EXPECT_TRUE(Announced(window.TxtResult(), QAccessible::Description).contains("Escape"));
  ExpectReadWhole(window.TxtResult());
  FrmResult::UnloadIfLoaded();
}

TEST(Accessibility, PromptEntryIsReadWhole) {
  ModalHelper helper;
  helper.Expect([](QWidget* prompt) {
    auto* entry = prompt->findChild<QLineEdit*>();
    ASSERT_NE(entry, nullptr);
    ExpectReadWhole(*entry);
    prompt->close();
  });
  Dialogs::InputBox(QStringLiteral("Enter the multiplication (*) value."),
                    QStringLiteral("Multiplication"), QStringLiteral("2"));
  EXPECT_EQ(helper.Handled(), 1);
}

TEST(Accessibility, AboutLinesAreReadAsWritten) {
  FrmAbout& about = FrmAbout::Get();
  EXPECT_EQ(Announced(about.Lbl(4), QAccessible::Name), "OS: Win 95/98/ME/NT/2000/XP");
  ExpectEveryControlNamed(about);
  FrmAbout::UnloadIfLoaded();
}

}  // namespace
