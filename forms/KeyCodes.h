#pragma once

// The key codes a window's key handler gets (KeyPreview), by the names the windows' design uses.
// Letters and digits are their upper-case characters; these are the rest.

constexpr int vbKeyBack = 8;
constexpr int vbKeyTab = 9;
constexpr int vbKeyReturn = 13;
constexpr int vbKeyShift = 16;
constexpr int vbKeyControl = 17;
constexpr int vbKeyMenu = 18;  // Alt
constexpr int vbKeyEscape = 27;
constexpr int vbKeySpace = 32;
