#pragma once

// When each key press happened, on the time of day the taps are timed by. The window system
// stamps a key press with the moment its key went down; the program's key handler runs later,
// by however long a busy machine or a screen reader kept the key. (Qt's AT-SPI bridge holds each
// key until the screen reader has answered, then delivers a copy that has lost the stamp.)
//
// KeyDownApplication notes every press as it arrives from the window system, with its moment
// where the stamp tells one, and while that press, or the copy that stands for it, is delivered
// to a control, its moment is the current one: Clock::TimeOfDay reads it rather than the time of
// day now.

#include <cstdint>
#include <deque>
#include <optional>

// Which key a press was, as far as a copy of the press still tells it.
struct KeyIdentity {
  int key = 0;
  std::uint32_t scanCode = 0;
  std::uint32_t virtualKey = 0;
  int modifiers = 0;
  bool autoRepeat = false;

  bool operator==(const KeyIdentity&) const = default;
};

// The window system's event clock (milliseconds, from whatever start it counts) and the time of
// day (seconds since local midnight), read together: their difference carries no delay.
struct ClockPair {
  double eventMs = 0;
  double timeOfDay = 0;
};

class KeyDownClock {
 public:
  // The time of day at which a key stamped stampMs on the window system's 32-bit millisecond
  // clock (which wraps after 49.7 days) went down, given both clocks as read now, as the press
  // arrives. A stamp no older than the event clock's step tells less than the time of day read
  // now, which it gets. None where the stamp tells nothing: a stamp of 0, or one ahead of now or
  // more than a second old (a sent event, or a clock other than the one read); the press is then
  // timed when it is handled.
  static std::optional<double> MomentOf(std::uint32_t stampMs, ClockPair now, double stepMs);

  // A press arrives from the window system, with its moment if known. steadyNow (seconds on a
  // clock that never steps) ages presses that never reach a control, such as those the screen
  // reader keeps for itself.
  void Arrived(const KeyIdentity& key, std::optional<double> moment, double steadyNow);

  // A press of this key reaches a control: the moment of the earliest press of it that arrived
  // and has not reached one yet. Copies come in the order of their originals.
  std::optional<double> Delivered(const KeyIdentity& key, double steadyNow);

  // The moment of the key press being delivered now (the innermost, where the handler of one
  // runs an event loop), if it has one.
  static std::optional<double> Current();

  // Makes a press's moment the current one for as long as it lives.
  class Delivering {
   public:
    explicit Delivering(std::optional<double> moment);
    ~Delivering();
    Delivering(const Delivering&) = delete;
    Delivering& operator=(const Delivering&) = delete;

   private:
    std::optional<double> outer_;
  };

 private:
  struct Pending {
    KeyIdentity key;
    std::optional<double> moment;
    double arrivedAt = 0;
  };

  void DropOlderThanASecond(double steadyNow);

  std::deque<Pending> pending_;
};
