#pragma once

// The two-colour background every window paints once while it loads: from its BackColor at the
// top-left of the client area to its FillColor at the far corner, left to right (mode 0) or top
// to bottom (mode 1).

#include <cstdint>

#include "forms/GradientFill.h"

class QImage;

// A corner point of the gradient: each 8-bit channel of the colour (red in the lowest byte; the
// top byte is ignored) widened to 16 bits, 0 staying 0. Alpha is always 0.
TRIVERTEX MakeVertex(std::int32_t x, std::int32_t y, std::uint32_t colour);

// One gradient fill of the rectangle (0, 0) to (width, height) on hDC.
void PaintGradient(QImage& hDC, std::uint32_t colour1, std::uint32_t colour2, std::int32_t width,
                   std::int32_t height, std::uint32_t mode);

// Paints a window's client area as its load handler does: its own colours, its scale size
// rounded to whole pixels.
class Canvas;
void PaintWindowGradient(Canvas& client, std::uint32_t mode);
