// What a screen reader hears: every control of the working windows has a name, and the number
// boxes say what they hold.

#include <array>
#include <climits>
#include <vector>

#include <QAccessible>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
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
  // The one interface a client was handed stays the counter's as the count changes.
  const QAccessible::Id first =
      QAccessible::uniqueId(QAccessible::queryAccessibleInterface(&window.LblKeyPress()));
  QTest::keyClick(&window, Qt::Key_Space);
  QAccessibleInterface* now = QAccessible::accessibleInterface(first);
  ASSERT_NE(now, nullptr);
  EXPECT_EQ(now->object(), &window.LblKeyPress());
  EXPECT_EQ(now->text(QAccessible::Name), "1");
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
  // Selected before the window shows, so that a screen reader reads it with the first focus.
  EXPECT_EQ(results.TxtResult(2).selectedText(), QStringLiteral("95.4037267080745"));
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
    // The question is heard once, as the entry's name: not also as the prompt's description.
    EXPECT_EQ(Announced(*entry, QAccessible::Name), "Enter the multiplication (*) value.");
    EXPECT_TRUE(Announced(*prompt, QAccessible::Description).isEmpty());
    prompt->close();
  });
  Dialogs::InputBox(QStringLiteral("Enter the multiplication (*) value."),
                    QStringLiteral("Multiplication"), QStringLiteral("2"));
  EXPECT_EQ(helper.Handled(), 1);
}

// A client's offsets are held to the text: reading, the caret and the selection answer inside it,
// and a read-only box takes no edit at all.
TEST(Accessibility, ResultBoxHoldsEveryOffsetToItsText) {
  FrmResult& window = FrmResult::Get();
  TextBox& box = window.TxtResult();
  box.SetValue(17.1428571428571);
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&box);
  QAccessibleTextInterface* text = face->textInterface();
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(face->editableTextInterface(), nullptr);
  EXPECT_TRUE(face->state().readOnly);
  EXPECT_FALSE(face->state().editable);

  EXPECT_EQ(text->text(INT_MIN, INT_MAX), "17.1428571428571");
  EXPECT_EQ(text->text(5, 2), "");
  EXPECT_EQ(text->characterRect(INT_MAX), QRect());
  text->setSelection(0, INT_MAX, INT_MIN);  // backwards over everything
  int start = -1;
  int end = -1;
  text->selection(0, &start, &end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 16);
  text->setCursorPosition(INT_MIN);
  EXPECT_EQ(text->cursorPosition(), 0);

  face->setText(QAccessible::Value, QStringLiteral("abc"));
  EXPECT_EQ(box.text(), "17.1428571428571");
  FrmResult::UnloadIfLoaded();
}

// The prompt's entry is edited as a person could: at offsets inside the text, within its length.
TEST(Accessibility, EntryEditsStayWithinTheTextAndItsLength) {
  QLineEdit entry(QStringLiteral("2"));
  entry.setMaxLength(5);
  QAccessibleEditableTextInterface* edit =
      QAccessible::queryAccessibleInterface(&entry)->editableTextInterface();
  ASSERT_NE(edit, nullptr);
  edit->insertText(INT_MAX - 1, QStringLiteral("7"));
  EXPECT_EQ(entry.text(), "27");
  edit->insertText(INT_MIN, QStringLiteral("123456"));
  EXPECT_EQ(entry.text(), "12327");
  edit->deleteText(4, -3);
  EXPECT_EQ(entry.text(), "7");
  edit->replaceText(INT_MAX, INT_MIN, QStringLiteral("8"));
  EXPECT_EQ(entry.text(), "8");
}

// Each character's box is where the character is drawn: its ink lies inside the box, and no ink
// lies outside all of them.
TEST(Accessibility, CharacterBoxesHoldTheirInk) {
  FrmResult& window = FrmResult::Get();
  TextBox& box = window.TxtResult();
  box.SetValue(1234567.89);
  window.show();
  QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(&box)->textInterface();
  const QImage shot = box.grab().toImage();
  const qreal scale = shot.devicePixelRatio();
  const QPoint origin = box.mapToGlobal(QPoint(0, 0));
  const int count = text->characterCount();
  std::vector<QRect> boxes(count);
  for (int i = 0; i < count; ++i) boxes[i] = text->characterRect(i).translated(-origin);

  // Ink: the white text, not the grey border nor the dark gradient.
  std::vector<int> inkPerBox(count, 0);
  for (int y = 2; y < box.height() - 2; ++y) {
    for (int x = 2; x < box.width() - 2; ++x) {
      if (qGray(shot.pixel(QPoint(x, y) * scale)) < 160) continue;
      int holder = -1;
      for (int i = 0; i < count; ++i) {
        if (boxes[i].adjusted(-1, 0, 1, 0).contains(x, y)) holder = i;
      }
      ASSERT_GE(holder, 0) << "ink at " << x << "," << y << " outside every character's box";
      ++inkPerBox[holder];
    }
  }
  for (int i = 0; i < count; ++i) EXPECT_GT(inkPerBox[i], 0) << "no ink in the box of " << i;
  FrmResult::UnloadIfLoaded();
}

TEST(Accessibility, AboutLinesAreReadAsWritten) {
  FrmAbout& about = FrmAbout::Get();
  EXPECT_EQ(Announced(about.Lbl(4), QAccessible::Name), "OS: Win 95/98/ME/NT/2000/XP");
  ExpectEveryControlNamed(about);
  FrmAbout::UnloadIfLoaded();
}

}  // namespace
