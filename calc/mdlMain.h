#pragma once

// The result calculator's shared state: the one number it works on.

namespace mdlMain {

// Set from a result box whenever the box gains the focus, replaced by each successful operation;
// 0 at start and never reset.
inline double CurrentValue = 0;

}  // namespace mdlMain
