// Every window as laid out, at whatever device pixel ratio the test runs with (the suite runs
// once at 1x and once more at 2x): the designed client sizes, a background surface of full
// device resolution, and no control or text cut off that the design does not cut off.

#include <algorithm>

#include <QFrame>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include "calc/FrmResult.h"
#include "platform/Canvas.h"
#include "platform/TextBox.h"
#include "tapping/FrmTapResults.h"
#include "tapping/FrmTempulo.h"
#include "ui/FrmAbout.h"
#include "ui/FrmGuide.h"

namespace {

// The widest line of a label's text in its own font.
int TextWidth(const QLabel& label) {
  int widest = 0;
  for (const QString& line : label.text().split(QLatin1Char('\n'))) {
    widest = std::max(widest, label.fontMetrics().horizontalAdvance(line));
  }
  return widest;
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

}  // namespace
