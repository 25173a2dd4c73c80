#pragma once

// A window opened by a key, as a screen reader that hears keys from the window system may miss
// it. Orca 48 (Debian 13) does: when the program has shown the window before Orca handles the
// key that opened it, Orca finds the new window itself, starts to say its name, cuts that off to
// echo the key, and takes the control with the focus as its own without a word; the focus event
// that follows is then no change to it, and its braille stays on the window's name. The number
// the window opened for goes unheard, and so do the window's name and the control's caption.
//
// The program cannot see Orca's keys, but it sees what Orca asks of the control. Presenting a
// focused text, Orca asks for the text around its caret (GetStringAtOffset and GetAttributeRun
// from Orca 48, GetTextAtOffset before), and it does so as it handles the focus event. When no
// client has asked for it by the time the screen reader has gone quiet on the window (see
// kWaitMs), the window's activation and its focus are told again, and Orca presents the window
// whole: its name, then the control's caption, number and description, and the control's line
// in braille. A screen reader that presents the focus, as
// Orca 43 does through the program's own key handling, hears each once. One that asks for no
// text at all (not Orca) would hear the window twice; one that presents the focus later than
// it has gone quiet (a machine too busy to run it) hears the number twice, never none. Told
// together with the window's own events (to an Orca held back), Orca would take the inactive
// window for a repeat of the window's own state change and drop it: hence the quiet.
//
// Orca 48 takes a window activation for the window it holds active as no change, and drops an
// earlier activation of a window when a later one for it waits in its queue: the window is told
// inactive first as a state change (object:state-changed:active), then active as a window event
// (window:activate), two kinds of event that Orca keeps apart.
//
// Orca 48 keeps what it worked out for presenting an object for up to two seconds (a thread of
// its own empties that store every 2 s), and a dialog presented again from that store has its
// name and role said twice ("Calculated Results dialog Calculated Results dialog"; seen once in
// about 25 runs of the busy scenario, when the window was told again 1.3 s after Orca had begun
// to say its name). So the window is told again only once no client has asked anything of the
// window itself for kApartMs, past the next emptying of that store. The window waits for a
// client that asks nothing at all (a reader held back, or one busy elsewhere) up to kLongestMs.

class QWidget;

class AtSpiWindowOpening {
 public:
  // How long a screen reader is given to present the focus of a window that has just opened: at
  // least kWaitMs, and until no client has asked anything of the window for kQuietMs (the reader
  // may be busy presenting it, or held back) nor of the window itself for kApartMs, but no longer
  // than kLongestMs.
  static constexpr int kWaitMs = 800;
  static constexpr int kQuietMs = 600;
  // How long after a client last asked anything of the window itself, as a reader does as it
  // presents the window (its name, role and texts).
  static constexpr int kApartMs = 2500;
  static constexpr int kLongestMs = 10000;

  // Watches the calls clients make (through the call guard, which sees each one).
  static void Install();

  // The control, which holds text, has just been given the focus in a window that has just
  // opened: watched, then told again unless a client asked for its text.
  static void Opened(QWidget& focus);
};
