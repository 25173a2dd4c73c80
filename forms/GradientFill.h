#pragma once

// The gradient fill primitive: two coloured corner points and the rectangle they span, filled
// with each 16-bit channel interpolated linearly along one axis, clipped to the surface.

#include <cstdint>

class QImage;

struct TRIVERTEX {
  std::int32_t x;
  std::int32_t y;
  std::uint16_t Red;
  std::uint16_t Green;
  std::uint16_t Blue;
  std::uint16_t Alpha;
};

struct GRADIENT_RECT {
  std::uint32_t UpperLeft;
  std::uint32_t LowerRight;
};

constexpr std::uint32_t GRADIENT_FILL_RECT_H = 0;
constexpr std::uint32_t GRADIENT_FILL_RECT_V = 1;

// Vertex coordinates are in the surface's logical pixels; a high-density surface is filled at
// its full device resolution. Returns false for a call it cannot carry out (bad indices or mode).
bool GradientFill(QImage& hDC, const TRIVERTEX* vertices, std::uint32_t vertexCount,
                  const GRADIENT_RECT* rects, std::uint32_t rectCount, std::uint32_t mode);
