// Every window as laid out, at whatever device pixel ratio the test runs with (the suite runs
// once at 1x and once more at 2x): the designed client sizes, a background surface of full
// device resolution, and no control or text cut off that the design does not cut off.

#include <algorithm>
#include <numeric>
#include <vector>

#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include "calc/Calculator.h"
#include "calc/FrmResult.h"
#include "calc/mdlMain.h"
#include "forms/Canvas.h"
#include "forms/TitleBar.h"
#include "forms/TextBox.h"
#include "tapping/FrmTapResults.h"
#include "tapping/FrmTempulo.h"
#include "ui/FrmAbout.h"
#include "ui/FrmGuide.h"
#include "tests/ModalHelper.h"

namespace {

// The widest line of a label's text in its own font.
int TextWidth(const QLabel& label) {
  const QStringList lines = label.text().split(QLatin1Char('\n'));
  return std::accumulate(lines.cbegin(), lines.cend(), 0,
                         [&label](int widest, const QString& line) {
                           return std::max(widest, label.fontMetrics().horizontalAdvance(line));
                         });
}

void ExpectSurfaceAtDeviceResolution(Canvas& client, QSize designed) {
  EXPECT_EQ(client.size(), designed);
  const QImage& surface = client.hDC();
  const qreal ratio = client.devicePixelRatioF();
  EXPECT_EQ(surface.size(), designed * ratio);
  EXPECT_EQ(surface.devicePixelRatio(), ratio);
}

// Every label's text and every box's value fit inside the control, and every control inside the
// client area (labels may run on beyond the right edge where the design puts them there).
void ExpectNothingClipped(Canvas& client, bool labelsMayPassTheRightEdge = false) {
  const QRect area = client.rect();
  for (QLabel* label : client.findChildren<QLabel*>()) {
    if (!label->isVisible()) continue;
    SCOPED_TRACE(label->text().toStdString());
    EXPECT_LE(label->geometry().bottom(), area.bottom());
    if (label->wordWrap()) {
      EXPECT_LE(label->heightForWidth(label->width()), label->height());
    } else {
      EXPECT_LE(label->sizeHint().height(), label->height());
      EXPECT_LE(TextWidth(*label), label->contentsRect().width());
    }
    const int visibleEnd = labelsMayPassTheRightEdge ? area.width() : label->x() + label->width();
    EXPECT_LE(label->x() + TextWidth(*label), visibleEnd);
    if (!labelsMayPassTheRightEdge) {
      EXPECT_LE(label->geometry().right(), area.right());
    }
  }
  for (TextBox* box : client.findChildren<TextBox*>()) {
    SCOPED_TRACE(box->text().toStdString());
    EXPECT_TRUE(area.contains(box->geometry()));
    EXPECT_LE(box->fontMetrics().height() + 2, box->height());
    EXPECT_LT(box->fontMetrics().horizontalAdvance(box->text()), box->width() - 4);
  }
}

// The fixed single border: one logical pixel of light grey on every side (two device pixels at
// 2x), and nothing of that grey just inside it.
void ExpectSingleBorder(QWidget& control) {
  SCOPED_TRACE(control.accessibleName().toStdString());
  const QImage image = control.grab().toImage();
  const int thickness = qRound(image.devicePixelRatio());
  const int w = image.width();
  const int h = image.height();
  const QRgb grey = qRgb(0xC0, 0xC0, 0xC0);
  for (int i = 0; i < thickness; ++i) {
    EXPECT_EQ(image.pixel(w / 2, i), grey) << "top, row " << i;
    EXPECT_EQ(image.pixel(w / 2, h - 1 - i), grey) << "bottom, row " << i;
    EXPECT_EQ(image.pixel(i, h / 2), grey) << "left, column " << i;
    EXPECT_EQ(image.pixel(w - 1 - i, h / 2), grey) << "right, column " << i;
  }
  EXPECT_NE(image.pixel(w - 1 - thickness, h - 1 - thickness), grey) << "inside the border";
}

// Controls draw their look with palettes and painted borders: a style sheet would put them under
// Qt's style-sheet engine, slower at every start and repaint.
void ExpectNoStyleSheets(QWidget& window) {
  EXPECT_TRUE(window.styleSheet().isEmpty());
  for (const QWidget* child : window.findChildren<QWidget*>()) {
    EXPECT_TRUE(child->styleSheet().isEmpty()) << child->metaObject()->className();
  }
}

class Layout : public ::testing::Test {
 protected:
  template <class Window>
  static void Show(Window& window) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
};

TEST_F(Layout, MainWindowKeepsItsDesign) {
  FrmTempulo window([] { return 0.0f; });
  window.LblKeyPress().setText(QStringLiteral("2147483647"));
  Show(window);
  ExpectSurfaceAtDeviceResolution(window.Client(), QSize(251, 101));
  EXPECT_EQ(window.Separator(0).width(), 251);
  ExpectNothingClipped(window.Client());
  ExpectSingleBorder(window.LblKeyPress());
  ExpectNoStyleSheets(window);
  window.close();
}

TEST_F(Layout, ResultsWindowHoldsTheLongestNumbers) {
  FrmTapResults& results = FrmTapResults::Get();
  results.TxtResult(0).SetValue(-1.23456789012346e-300);
  results.TxtResult(1).SetValue(0.000123456789012346);
  results.TxtResult(2).SetValue(-123456789012345);
  Show(results);
  ExpectSurfaceAtDeviceResolution(results.Client(), QSize(251, 179));
  EXPECT_EQ(results.Separator(0).width(), 251);
  ExpectNothingClipped(results.Client());
  for (int i = 0; i < 3; ++i) ExpectSingleBorder(results.TxtResult(i));
  ExpectNoStyleSheets(results);
  FrmTapResults::UnloadIfLoaded();
}

TEST_F(Layout, ResultWindowHoldsTheLongestNumber) {
  FrmResult& window = FrmResult::Get();
  window.TxtResult().SetValue(-1.23456789012346e+300);
  Show(window);
  ExpectSurfaceAtDeviceResolution(window.Client(), QSize(249, 39));
  ExpectNothingClipped(window.Client());
  FrmResult::UnloadIfLoaded();
}

TEST_F(Layout, AboutWindowShowsEveryLineInside) {
  FrmAbout& about = FrmAbout::Get();
  Show(about);
  ExpectSurfaceAtDeviceResolution(about.Client(), QSize(417, 230));
  ExpectNothingClipped(about.Client());
  FrmAbout::UnloadIfLoaded();
}

TEST_F(Layout, InstructionsWindowShowsEveryLineInside) {
  FrmGuide& guide = FrmGuide::Get();
  Show(guide);
  ExpectSurfaceAtDeviceResolution(guide.Client(), QSize(350, 204));
  // The labels are laid out wider than the window; the text itself must still end inside it.
  ExpectNothingClipped(guide.Client(), true);
  FrmGuide::UnloadIfLoaded();
}

// A window manager's title bar holds the caption beside an icon and three buttons; Qt sizes its
// standard dialogs to their contents, which for a short prompt is narrower than that.
TEST_F(Layout, PromptsAndMessageShowTheirCaptionsInFull) {
  const QFontMetrics titleFont(TitleBar::Font());
  std::vector<QString> captions;
  ModalHelper helper;
  // Shown no wider than the screen, though: the headless screen of the Windows tests is 240
  // pixels wide. What the dialog asks of its window is measured on every screen.
  const int screenWidth = QGuiApplication::primaryScreen()->availableGeometry().width();
  const auto measure = [&](QWidget* modal) {
    captions.push_back(modal->windowTitle());
    const int needed =
        titleFont.horizontalAdvance(modal->windowTitle()) + 4 * titleFont.height();
    EXPECT_GE(modal->minimumSizeHint().width(), needed) << modal->windowTitle().toStdString();
    EXPECT_GE(modal->width(), std::min(needed, screenWidth)) << modal->windowTitle().toStdString();
  };
  for (const CalcOperation operation :
       {CalcOperation::Multiply, CalcOperation::Divide, CalcOperation::IntegerDivide,
        CalcOperation::AddSubtract, CalcOperation::Semitone, CalcOperation::DecimalRound}) {
    helper.Expect([&](QWidget* modal) {
      measure(modal);
      qobject_cast<QInputDialog*>(modal)->reject();
    });
    mdlMain::RunCalculation(operation);
  }
  helper.Expect([](QWidget* modal) {
    qobject_cast<QInputDialog*>(modal)->setTextValue(QStringLiteral("x"));
    qobject_cast<QInputDialog*>(modal)->accept();
  });
  helper.Expect([&](QWidget* modal) {
    measure(modal);
    modal->close();
  });
  mdlMain::RunCalculation(CalcOperation::Multiply);
  EXPECT_EQ(helper.Handled(), 8);
  EXPECT_EQ(captions.back(), "Calculation Error");
}

}  // namespace
