#include "tapping/FrmTempulo.h"

#include <limits>
#include <vector>

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

#include "calc/mdlMain.h"
#include "forms/Canvas.h"
#include "tapping/FrmTapResults.h"
#include "tests/ModalHelper.h"

// Sets the tap counter where no test could tap it to.
class FrmTempuloInspector {
 public:
  static void SetKeyPressCount(FrmTempulo& window, std::int32_t count) {
    window.KeyPressCount = count;
  }
};

namespace {

struct Results {
  QString bar, beat, tempo, counterWhileOpen;
};

class TapWindow : public ::testing::Test {
 protected:
  TapWindow() : window([this] { return now; }) {}
  ~TapWindow() override { ModalHelper::CloseAllModals(); }

  void TapAt(float time) {
    now = time;
    QTest::keyClick(&window, Qt::Key_Space);
  }

  // Enter, expecting the results window; reads it as the user sees it, then closes it.
  Results EnterAndRead(Qt::Key key = Qt::Key_Return, Qt::KeyboardModifiers mods = {}) {
    Results seen;
    ModalHelper helper;
    helper.Expect([&](QWidget* modal) {
      auto* results = qobject_cast<FrmTapResults*>(modal);
      ASSERT_NE(results, nullptr);
      EXPECT_EQ(results->windowTitle(), "Calculated Results");
      seen = {results->TxtResult(0).text(), results->TxtResult(1).text(),
              results->TxtResult(2).text(), Counter()};
      results->close();
    });
    QTest::keyClick(&window, key, mods);
    EXPECT_EQ(helper.Handled(), 1) << "no results window was shown";
    return seen;
  }

  QString Counter() { return window.LblKeyPress().text(); }

  float now = 0;
  FrmTempulo window;
};

TEST_F(TapWindow, OnePressThenEnterDoesNothing) {
  TapAt(100);
  QTest::keyClick(&window, Qt::Key_Return);
  EXPECT_FALSE(FrmTapResults::IsLoaded());
  EXPECT_EQ(Counter(), "1");
}

TEST_F(TapWindow, TwoPressesHalfASecondApartGive120Bpm) {
  TapAt(100);
  TapAt(100.5f);
  EXPECT_EQ(Counter(), "2");
  const Results r = EnterAndRead();
  EXPECT_EQ(r.bar, "2");
  EXPECT_EQ(r.beat, "0.5");
  EXPECT_EQ(r.tempo, "120");
  EXPECT_EQ(r.counterWhileOpen, "2");  // the label is set once the results window returns
  EXPECT_EQ(Counter(), "0");
  EXPECT_FALSE(FrmTapResults::IsLoaded());
}

TEST_F(TapWindow, PressesPairUpDisjointly) {
  // 0.25 s between the second and third press is never measured.
  for (float t : {1000.0f, 1000.5f, 1000.75f, 1001.25f}) TapAt(t);
  EXPECT_EQ(EnterAndRead().beat, "0.5");
}

TEST_F(TapWindow, MostFrequentIntervalWinsAndTiesGoToTheShorter) {
  for (float t : {10.0f, 10.625f, 20.0f, 20.625f, 30.0f, 30.5f, 40.0f, 40.5f}) TapAt(t);
  EXPECT_EQ(EnterAndRead().beat, "0.5");

  for (float t : {10.0f, 10.625f, 20.0f, 20.625f, 30.0f, 30.625f, 40.0f, 40.5f}) TapAt(t);
  EXPECT_EQ(EnterAndRead().beat, "0.625");
}

TEST_F(TapWindow, PairAcrossMidnightMeasuresThePositiveInterval) {
  TapAt(86399.75f);
  TapAt(0.25f);
  const Results r = EnterAndRead();
  EXPECT_EQ(r.beat, "0.5");
  EXPECT_EQ(r.tempo, "120");
}

TEST_F(TapWindow, EnterDropsTheOpenPairSoReadingTimeIsNotMeasured) {
  for (float t : {100.0f, 100.5f, 101.0f}) TapAt(t);
  EXPECT_EQ(EnterAndRead().beat, "0.5");
  TapAt(160.0f);  // a minute later: starts a new pair instead of closing the old one
  EXPECT_EQ(Counter(), "1");
  TapAt(160.75f);
  EXPECT_EQ(EnterAndRead().beat, "0.75");
}

TEST_F(TapWindow, ModifiersAndKeypadEnterAreTheSameKeys) {
  now = 200;
  QTest::keyClick(&window, Qt::Key_Space, Qt::ShiftModifier);
  now = 200.5f;
  QTest::keyClick(&window, Qt::Key_Space, Qt::ControlModifier);
  EXPECT_EQ(Counter(), "2");  // the modifier keys themselves are not taps
  EXPECT_EQ(EnterAndRead(Qt::Key_Enter, Qt::KeypadModifier).tempo, "120");
  TapAt(300);
  TapAt(300.25f);
  EXPECT_EQ(EnterAndRead(Qt::Key_Return, Qt::ShiftModifier).tempo, "240");
}

TEST_F(TapWindow, HeldSpaceBarCountsEveryRepeat) {
  for (float t : {50.0f, 50.5f, 51.0f, 51.5f}) {
    now = t;
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
    QApplication::sendEvent(&window, &repeat);
  }
  EXPECT_EQ(Counter(), "4");
  EXPECT_EQ(EnterAndRead().beat, "0.5");
}

TEST_F(TapWindow, OtherKeysChangeNothing) {
  TapAt(10);
  for (Qt::Key key : {Qt::Key_A, Qt::Key_Escape, Qt::Key_Tab, Qt::Key_5, Qt::Key_Asterisk}) {
    QTest::keyClick(&window, key);
  }
  EXPECT_EQ(Counter(), "1");
  TapAt(10.5f);
  EXPECT_EQ(EnterAndRead().tempo, "120");
}

TEST_F(TapWindow, KeyReachingAControlIsTakenOnceByTheWindow) {
  now = 10;
  QTest::keyClick(&window.LblKeyPress(), Qt::Key_Space);
  EXPECT_EQ(Counter(), "1");
  now = 10.5f;
  QTest::keyClick(&window.Separator(0), Qt::Key_Space);
  EXPECT_EQ(Counter(), "2");
}

TEST_F(TapWindow, CounterStopsAtItsLargestValueAndPairingGoesOn) {
  FrmTempuloInspector::SetKeyPressCount(window, std::numeric_limits<std::int32_t>::max() - 1);
  TapAt(10);
  EXPECT_EQ(Counter(), "2147483647");
  TapAt(10.5f);  // the count cannot grow, but the pair still closes
  EXPECT_EQ(Counter(), "2147483647");
  const Results r = EnterAndRead();
  EXPECT_EQ(r.beat, "0.5");
  EXPECT_EQ(Counter(), "0");
}

TEST_F(TapWindow, KeysInTheOpenHelpMenuAreNoTaps) {
  auto* help = window.findChild<QMenu*>();
  ASSERT_NE(help, nullptr);
  QTest::keyClick(help, Qt::Key_Space);
  EXPECT_EQ(Counter(), "0");
}

TEST_F(TapWindow, ZeroBeatShowsZerosAndKeepsTheLaidOutTempo) {
  TapAt(10);
  TapAt(20);  // a first result fills every box of its window
  EXPECT_EQ(EnterAndRead().tempo, "6");
  TapAt(30);
  TapAt(30);
  const Results r = EnterAndRead();
  EXPECT_EQ(r.bar, "0");
  EXPECT_EQ(r.beat, "0");
  EXPECT_EQ(r.tempo, "0");  // a fresh window, not the 6 of the last one
  EXPECT_EQ(Counter(), "0");
  TapAt(40);
  TapAt(41);
  EXPECT_EQ(EnterAndRead().tempo, "60");  // the tally was cleared all the same
}

TEST_F(TapWindow, ResultsAreRoundedToFifteenDecimals) {
  TapAt(100);
  TapAt(100.515625f);
  const Results r = EnterAndRead();
  EXPECT_EQ(r.bar, "2.0625");
  EXPECT_EQ(r.beat, "0.515625");
  EXPECT_EQ(r.tempo, "116.363636363636");
}

TEST_F(TapWindow, ResultBoxThatGainsTheFocusSetsTheCurrentValue) {
  mdlMain::CurrentValue = 0;
  TapAt(100);
  TapAt(100.515625f);
  std::vector<double> values;
  ModalHelper helper;
  helper.Expect([&](QWidget* modal) {
    auto* results = qobject_cast<FrmTapResults*>(modal);
    ASSERT_NE(results, nullptr);
    results->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(results));
    values.push_back(mdlMain::CurrentValue);  // the tempo box starts with the focus
    for (int box : {0, 2, 1}) {
      QTest::mouseClick(&results->TxtResult(box), Qt::LeftButton);
      values.push_back(mdlMain::CurrentValue);
    }
    results->close();
  });
  QTest::keyClick(&window, Qt::Key_Return);
  ASSERT_EQ(helper.Handled(), 1);
  EXPECT_EQ(values, (std::vector<double>{116.363636363636, 2.0625, 116.363636363636, 0.515625}));
}

TEST_F(TapWindow, SeparatorStretchesToTheClientWidthWhenShown) {
  EXPECT_EQ(window.Separator(0).width(), 241);  // 3615 twips as laid out
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(window.Client().width(), 251);
  EXPECT_EQ(window.Separator(0).width(), 251);
  EXPECT_EQ(window.windowTitle(), "Bpm Tempulo 2004");
  window.close();
}

TEST_F(TapWindow, HelpMenuHoldsInstructionsSeparatorAboutThenQtsNotice) {
  // The menus the menu bar shows (a style may keep a menu of its own under the bar as well).
  std::vector<QMenu*> menus;
  for (QAction* item : window.menuBar()->actions()) {
    if (item->menu() != nullptr) menus.push_back(item->menu());
  }
  ASSERT_EQ(menus.size(), 1U);
  EXPECT_EQ(menus[0]->title(), "Help");
  const auto actions = menus[0]->actions();
  ASSERT_EQ(actions.size(), 5);
  EXPECT_EQ(actions[0]->text(), "Instructions");
  EXPECT_TRUE(actions[1]->isSeparator());
  EXPECT_EQ(actions[2]->text(), "About");
  EXPECT_TRUE(actions[3]->isSeparator());
  EXPECT_EQ(actions[4]->text(), "About Qt");
}

// Qt's notice, through Qt's own dialog: the licence it is used under.
TEST_F(TapWindow, AboutQtNamesQtsLicence) {
  ModalHelper helper;
  helper.Expect([](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "About Qt");
    EXPECT_TRUE(box->text().contains("This program uses Qt version"));
    EXPECT_TRUE(box->informativeText().contains("GNU (L)GPL"));
    box->close();
  });
  window.MnuAboutQt().trigger();
  EXPECT_EQ(helper.Handled(), 1);
}

}  // namespace
