// The identity the program gives the desktop at start-up (Application::SetUp, run by the test
// main): the application id the launcher is named by, and the window icon compiled in.
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QWidget>
#include <gtest/gtest.h>

#include "resources/DesktopIdentity.h"

namespace {

TEST(DesktopIdentityTest, AppIdIsReverseDnsAndToldToTheWindowSystem) {
  const QString id = desktop_identity::AppId();
  // At least three dot-separated parts, each starting with a letter; no ".desktop" suffix.
  const QRegularExpression reverseDns(
      QStringLiteral("^[a-z][a-z0-9-]*(\\.[A-Za-z][A-Za-z0-9_-]*){2,}$"));
  EXPECT_TRUE(reverseDns.match(id).hasMatch()) << id.toStdString();
  EXPECT_FALSE(id.endsWith(QLatin1String(".desktop")));
  EXPECT_EQ(QGuiApplication::desktopFileName(), id);
}

#ifdef Q_OS_WIN
TEST(DesktopIdentityTest, WindowsShowTheProgramFileIcon) {
  // No images are compiled in: every window shows the icon resource of the program file (this
  // test program carries the same one), whose 16 px image is the 16-colour drawing.
  EXPECT_TRUE(desktop_identity::WindowIcon().isNull());
  const QIcon icon = QApplication::windowIcon();
  ASSERT_FALSE(icon.isNull());
  const QImage small = icon.pixmap(QSize(16, 16), 1.0).toImage();
  ASSERT_EQ(small.size(), QSize(16, 16));
  QSet<QRgb> drawn;
  for (int y = 0; y < small.height(); ++y) {
    for (int x = 0; x < small.width(); ++x) {
      if (qAlpha(small.pixel(x, y)) == 255) drawn.insert(small.pixel(x, y));
    }
  }
  EXPECT_GE(drawn.size(), 4);
  EXPECT_LE(drawn.size(), 16);
  EXPECT_EQ(qAlpha(small.pixel(0, 0)), 0);
  EXPECT_EQ(icon.pixmap(QSize(32, 32), 1.0).size(), QSize(32, 32));
}
#else
TEST(DesktopIdentityTest, WindowIconHasTheSmallSizesOnly) {
  const QIcon icon = QApplication::windowIcon();
  ASSERT_FALSE(icon.isNull());
  QSet<int> sizes;
  for (const QSize& size : icon.availableSizes()) {
    EXPECT_EQ(size.width(), size.height());
    sizes.insert(size.width());
  }
  // Every size is decoded and sent to the window system at start-up: larger ones come from the
  // icon theme instead.
  EXPECT_EQ(sizes, QSet<int>(desktop_identity::kIconSizes.begin(), desktop_identity::kIconSizes.end()));
}

TEST(DesktopIdentityTest, EveryIconImageIsTheSizeItIsListedAs) {
  for (int size : desktop_identity::kIconSizes) {
    const QImage image(desktop_identity::IconResource(size));
    ASSERT_FALSE(image.isNull()) << "no compiled-in image for " << size;
    EXPECT_EQ(image.size(), QSize(size, size));
  }
}

TEST(DesktopIdentityTest, SmallIconIsSixteenColoursAndNotBlank) {
  const QImage image(desktop_identity::IconResource(16));
  ASSERT_FALSE(image.isNull());
  ASSERT_EQ(image.format(), QImage::Format_Indexed8) << "not a palette image";
  EXPECT_LE(image.colorCount(), 16);

  // Distinct opaque colours actually drawn: the metronome's wood, face, arm and weight at least.
  QSet<QRgb> drawn;
  int opaque = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      if (qAlpha(pixel) == 255) {
        ++opaque;
        drawn.insert(pixel);
      }
    }
  }
  EXPECT_GE(drawn.size(), 4);
  // The wedge fills a good part of the square, and leaves its top corners clear.
  EXPECT_GE(opaque, 16 * 16 / 3);
  EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
}

TEST(DesktopIdentityTest, TitleBarsGetTheSixteenColourImage) {
  // A 16 px request is served by the palette image itself, not by a scaled-down larger one.
  const QImage small(desktop_identity::IconResource(16));
  const QImage served =
      QApplication::windowIcon().pixmap(QSize(16, 16), 1.0).toImage().convertToFormat(
          QImage::Format_ARGB32);
  EXPECT_EQ(served, small.convertToFormat(QImage::Format_ARGB32));

  QWidget window;
  EXPECT_EQ(window.windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
}

#endif

}  // namespace
