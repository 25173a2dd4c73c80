#pragma once

// The client area of a Tempulo window: a drawing surface that keeps what was drawn on it and shows
// it on every repaint, so the background painted once at load stays. Its scale unit is the
// logical pixel; the surface itself holds device pixels on high-density screens.

#include <cstdint>

#include <QImage>
#include <QWidget>

class Canvas : public QWidget {
  Q_OBJECT

 public:
  // Colours are 32-bit, red in the lowest byte, then green, then blue (0x404040 is dark grey).
  Canvas(QSize clientSize, std::uint32_t backColor, std::uint32_t fillColor, QWidget* parent);

  // The persistent surface, created on first use and cleared to the background colour.
  QImage& hDC();

  [[nodiscard]] std::uint32_t BackColor() const { return backColor_; }
  [[nodiscard]] std::uint32_t FillColor() const { return fillColor_; }
  [[nodiscard]] float ScaleWidth() const { return static_cast<float>(width()); }
  [[nodiscard]] float ScaleHeight() const { return static_cast<float>(height()); }

  static QColor ToQColor(std::uint32_t colour);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::uint32_t backColor_;
  std::uint32_t fillColor_;
  QImage surface_;
};
