#include "ui/Gradient.h"

#include <array>

#include <QImage>
#include <gtest/gtest.h>

#include "forms/Canvas.h"
#include "tapping/FrmTapResults.h"
#include "tapping/FrmTempulo.h"

namespace {

struct VertexCase {
  std::uint32_t colour;
  std::uint16_t red, green, blue;
};

class GradientVertex : public ::testing::TestWithParam<VertexCase> {};

TEST_P(GradientVertex, WidensEachChannelTo16BitsInItsOwnPlace) {
  const VertexCase& c = GetParam();
  const TRIVERTEX v = MakeVertex(417, -3, c.colour);
  EXPECT_EQ(v.x, 417);
  EXPECT_EQ(v.y, -3);
  EXPECT_EQ(v.Red, c.red);
  EXPECT_EQ(v.Green, c.green);
  EXPECT_EQ(v.Blue, c.blue);
  EXPECT_EQ(v.Alpha, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Colours, GradientVertex,
    ::testing::Values(VertexCase{0x00010203, 771, 514, 257},    // red in the lowest byte
                      VertexCase{0x00FFFFFF, 65535, 65535, 65535},
                      VertexCase{0x00000000, 0, 0, 0},           // zero channels stay 0
                      VertexCase{0x00FF0000, 0, 0, 65535},       // nothing left over from blue
                      VertexCase{0x8000000F, 3855, 0, 0},        // system colour: low bytes used
                      VertexCase{0x00404040, 16448, 16448, 16448},
                      VertexCase{0x00808080, 32896, 32896, 32896},
                      VertexCase{0x00C0C0C0, 49344, 49344, 49344}));

QImage Surface(int width, int height, qreal ratio = 1) {
  QImage image(QSize(width, height) * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::magenta);
  return image;
}

TEST(GradientPaint, HorizontalRunsFromBackColourOnTheLeftToFillColourOnTheRight) {
  QImage image = Surface(256, 10);
  PaintGradient(image, 0x404040, 0x000000, 256, 10, GRADIENT_FILL_RECT_H);
  EXPECT_EQ(QColor(image.pixel(0, 5)), QColor(64, 64, 64));
  EXPECT_EQ(QColor(image.pixel(128, 0)), QColor(32, 32, 32));
  EXPECT_EQ(QColor(image.pixel(255, 9)).red(), 0);
  for (int y = 0; y < 10; ++y) EXPECT_EQ(image.pixel(100, y), image.pixel(100, 0));
}

TEST(GradientPaint, VerticalRunsFromTopToBottomAndCoversEveryPixel) {
  QImage image = Surface(30, 65);
  PaintGradient(image, 0x808080, 0xC0C0C0, 30, 65, GRADIENT_FILL_RECT_V);
  EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(128, 128, 128));
  EXPECT_EQ(QColor(image.pixel(29, 64)).red(), 191);
  for (int x = 0; x < 30; ++x) EXPECT_EQ(image.pixel(x, 40), image.pixel(0, 40));
  EXPECT_EQ(image.pixel(0, 64) != QColor(Qt::magenta).rgb(), true);
}

TEST(GradientPaint, HighDensitySurfaceIsFilledAtFullResolution) {
  QImage image = Surface(100, 10, 2.0);
  PaintGradient(image, 0x404040, 0x000000, 100, 10, GRADIENT_FILL_RECT_H);
  EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(64, 64, 64));
  EXPECT_LE(QColor(image.pixel(199, 19)).red(), 1);
  EXPECT_EQ(QColor(image.pixel(100, 19)), QColor(32, 32, 32));
}

TEST(GradientPaint, ClipsToTheSurfaceAndRefusesUnknownModes) {
  QImage image = Surface(10, 10);
  PaintGradient(image, 0x404040, 0x000000, 20, 20, GRADIENT_FILL_RECT_H);
  EXPECT_EQ(QColor(image.pixel(9, 9)), QColor(35, 35, 35));  // 9/20 of the way along a 20-pixel span

  QImage untouched = Surface(10, 10);
  const std::array v = {MakeVertex(0, 0, 0xFFFFFF), MakeVertex(10, 10, 0)};
  const GRADIENT_RECT rect{0, 1};
  EXPECT_FALSE(GradientFill(untouched, v.data(), 2, &rect, 1, 2));
  const GRADIENT_RECT beyond{0, 2};
  EXPECT_FALSE(GradientFill(untouched, v.data(), 2, &beyond, 1, GRADIENT_FILL_RECT_H));
  EXPECT_EQ(QColor(untouched.pixel(5, 5)), QColor(Qt::magenta));
}

TEST(WindowGradient, WorkingWindowsArePaintedDarkGreyToBlackAtLoad) {
  FrmTempulo window([] { return 0.0f; });
  const QImage& main = window.Client().hDC();
  EXPECT_EQ(QColor(main.pixel(0, 0)), QColor(64, 64, 64));
  EXPECT_LE(QColor(main.pixel(main.width() - 1, main.height() - 1)).red(), 1);

  FrmTapResults& results = FrmTapResults::Get();
  const QImage& surface = results.Client().hDC();
  EXPECT_EQ(surface.size(), QSize(251, 179));
  EXPECT_EQ(QColor(surface.pixel(0, 178)), QColor(64, 64, 64));
  EXPECT_LE(QColor(surface.pixel(250, 0)).red(), 1);
  FrmTapResults::UnloadIfLoaded();
}

TEST(WindowGradient, ReloadedWindowPaintsAFreshSurface) {
  FrmTapResults& first = FrmTapResults::Get();
  first.Client().hDC().fill(Qt::red);  // anything kept from this load must not come back
  FrmTapResults::UnloadIfLoaded();
  FrmTapResults& second = FrmTapResults::Get();
  EXPECT_EQ(QColor(second.Client().hDC().pixel(0, 0)), QColor(64, 64, 64));
  FrmTapResults::UnloadIfLoaded();
}

}  // namespace
