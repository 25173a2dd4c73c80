#include "forms/GradientFill.h"

#include <algorithm>
#include <cmath>

#include <QImage>

namespace {

std::uint16_t Mix(std::uint16_t from, std::uint16_t to, double t) {
  return static_cast<std::uint16_t>(std::lround(from + (to - from) * t));
}

// One 16-bit intensity to the 8 bits of the surface.
int ToByte(std::uint16_t channel) { return channel >> 8; }

void FillRect(QImage& image, const TRIVERTEX& a, const TRIVERTEX& b, bool horizontal) {
  const double ratio = image.devicePixelRatio();
  const double left = std::min(a.x, b.x) * ratio;
  const double right = std::max(a.x, b.x) * ratio;
  const double top = std::min(a.y, b.y) * ratio;
  const double bottom = std::max(a.y, b.y) * ratio;
  const int x0 = std::max(0, static_cast<int>(std::ceil(left)));
  const int x1 = std::min(image.width(), static_cast<int>(std::ceil(right)));
  const int y0 = std::max(0, static_cast<int>(std::ceil(top)));
  const int y1 = std::min(image.height(), static_cast<int>(std::ceil(bottom)));
  if (x0 >= x1 || y0 >= y1) return;  // nothing inside the surface

  const double start = horizontal ? a.x * ratio : a.y * ratio;
  const double span = horizontal ? (b.x - a.x) * ratio : (b.y - a.y) * ratio;
  const auto colourAt = [&](int position) {
    const double t = std::clamp((position - start) / span, 0.0, 1.0);
    return qRgb(ToByte(Mix(a.Red, b.Red, t)), ToByte(Mix(a.Green, b.Green, t)),
                ToByte(Mix(a.Blue, b.Blue, t)));
  };
  const auto line = [&image, x0](int y) { return reinterpret_cast<QRgb*>(image.scanLine(y)) + x0; };
  if (horizontal) {
    // Every row is the same: compute the first, copy it to the others.
    QRgb* const first = line(y0);
    for (int x = x0; x < x1; ++x) first[x - x0] = colourAt(x);
    for (int y = y0 + 1; y < y1; ++y) std::copy(first, first + (x1 - x0), line(y));
  } else {
    for (int y = y0; y < y1; ++y) std::fill(line(y), line(y) + (x1 - x0), colourAt(y));
  }
}

}  // namespace

bool GradientFill(QImage& hDC, const TRIVERTEX* vertices, std::uint32_t vertexCount,
                  const GRADIENT_RECT* rects, std::uint32_t rectCount, std::uint32_t mode) {
  if (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V) return false;
  if (hDC.isNull() || vertices == nullptr || rects == nullptr) return false;
  if (hDC.format() != QImage::Format_RGB32 && hDC.format() != QImage::Format_ARGB32) return false;
  for (std::uint32_t i = 0; i < rectCount; ++i) {
    const GRADIENT_RECT& rect = rects[i];
    if (rect.UpperLeft >= vertexCount || rect.LowerRight >= vertexCount) return false;
    FillRect(hDC, vertices[rect.UpperLeft], vertices[rect.LowerRight],
             mode == GRADIENT_FILL_RECT_H);
  }
  return true;
}
