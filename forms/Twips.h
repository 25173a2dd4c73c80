#pragma once

// Window layouts are designed in twips: 15 twips make one pixel at 96 dpi. Qt scales those
// pixels on high-density screens, so a twip layout keeps its proportions everywhere.

#include <QRect>
#include <QSize>

namespace twips {

constexpr int kPerPixel = 15;

constexpr int ToPixels(int twips) { return twips / kPerPixel; }

constexpr QRect Rect(int left, int top, int width, int height) {
  return {ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height)};
}

constexpr QSize Size(int width, int height) { return {ToPixels(width), ToPixels(height)}; }

}  // namespace twips
