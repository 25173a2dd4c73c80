#pragma once

// The number the calculator works on, below the windows that read and set it.

namespace mdlMain {

// Set from a result box whenever the box gains the focus, replaced by each successful operation;
// 0 at start and never reset.
inline double CurrentValue = 0;

}  // namespace mdlMain
