#pragma once

// An offset a client hands in, held to a text of the given length: 0 ... length, so that nothing
// asked of the text reaches outside it. Where the call allows it, -1 stands for the end.

#include <algorithm>

constexpr int HeldOffset(int offset, int length, bool minusOneIsEnd = true) {
  if (minusOneIsEnd && offset == -1) return length;
  return std::clamp(offset, 0, length);
}
