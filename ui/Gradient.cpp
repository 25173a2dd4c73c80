#include "ui/Gradient.h"

#include <array>
#include <cmath>

#include "common/Conversions.h"
#include "forms/Canvas.h"

namespace {

// 65535 / (255 / c), which is c * 257 for every c from 1 to 255. A zero channel divides by
// zero; that channel then stays 0 and the others are still converted.
void SetIntensity(std::uint16_t& channel, std::uint32_t c) {
  if (c == 0) return;
  const double intensity = 65535.0 / (255.0 / static_cast<double>(c));
  channel = static_cast<std::uint16_t>(ToWholeNumber(intensity) & 0xFFFF);
}

}  // namespace

TRIVERTEX MakeVertex(std::int32_t x, std::int32_t y, std::uint32_t colour) {
  TRIVERTEX vertex{x, y, 0, 0, 0, 0};
  SetIntensity(vertex.Red, colour & 0xFF);
  SetIntensity(vertex.Green, (colour >> 8) & 0xFF);
  SetIntensity(vertex.Blue, (colour >> 16) & 0xFF);
  return vertex;
}

void PaintGradient(QImage& hDC, std::uint32_t colour1, std::uint32_t colour2, std::int32_t width,
                   std::int32_t height, std::uint32_t mode) {
  const std::array vertices = {MakeVertex(0, 0, colour1), MakeVertex(width, height, colour2)};
  const GRADIENT_RECT rect{0, 1};
  // A refused fill leaves the plain background colour, which is all we could do anyway.
  GradientFill(hDC, vertices.data(), 2, &rect, 1, mode);
}

void PaintWindowGradient(Canvas& client, std::uint32_t mode) {
  PaintGradient(client.hDC(), client.BackColor(), client.FillColor(),
                ToWholeNumber(client.ScaleWidth()), ToWholeNumber(client.ScaleHeight()), mode);
}
