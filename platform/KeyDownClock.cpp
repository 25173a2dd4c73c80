#include "platform/KeyDownClock.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kSecondsPerDay = 86400.0;
// Older than this, a stamp is taken for another clock's, or for a press no longer waited for.
constexpr double kLongestDelay = 1.0;  // seconds
// More presses than anyone types in a second: a cap, should ageing ever fall behind.
constexpr std::size_t kMostPending = 64;

std::optional<double> current;

}  // namespace

std::optional<double> KeyDownClock::MomentOf(std::uint32_t stampMs, ClockPair now, double stepMs) {
  if (stampMs == 0 || !(now.eventMs >= 0)) return std::nullopt;
  const double wholeMs = std::floor(now.eventMs);
  // The event clock as the window system keeps it: 32 bits of milliseconds, wrapping.
  const auto nowStamp = static_cast<std::uint32_t>(std::fmod(wholeMs, 4294967296.0));
  const auto elapsed = static_cast<std::uint32_t>(nowStamp - stampMs);  // across a wrap too
  const double delayMs = static_cast<double>(elapsed) + (now.eventMs - wholeMs);
  if (delayMs > kLongestDelay * 1000.0) return std::nullopt;
  // A press younger than a step of its stamp: the time of day read with the stamp is the finer
  // reading, and it is still ahead of whatever delays the press from here on.
  if (delayMs <= stepMs) return now.timeOfDay;
  double moment = now.timeOfDay - delayMs / 1000.0;
  // Pressed before midnight, handled after it.
  if (moment < 0) moment += kSecondsPerDay;
  return moment;
}

void KeyDownClock::Arrived(const KeyIdentity& key, std::optional<double> moment, double steadyNow) {
  DropOlderThanASecond(steadyNow);
  if (pending_.size() == kMostPending) pending_.pop_front();
  pending_.push_back({key, moment, steadyNow});
}

std::optional<double> KeyDownClock::Delivered(const KeyIdentity& key, double steadyNow) {
  DropOlderThanASecond(steadyNow);
  const auto found = std::find_if(pending_.begin(), pending_.end(),
                                  [&key](const Pending& press) { return press.key == key; });
  if (found == pending_.end()) return std::nullopt;
  const std::optional<double> moment = found->moment;
  pending_.erase(found);
  return moment;
}

void KeyDownClock::DropOlderThanASecond(double steadyNow) {
  while (!pending_.empty() && steadyNow - pending_.front().arrivedAt > kLongestDelay) {
    pending_.pop_front();
  }
}

std::optional<double> KeyDownClock::Current() { return current; }

KeyDownClock::Delivering::Delivering(std::optional<double> moment) : outer_(current) {
  current = moment;
}

KeyDownClock::Delivering::~Delivering() { current = outer_; }
