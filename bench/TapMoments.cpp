// How far each tap's time lies from the moment its key went down, on the program's own main window
// under an X server. A measurement, not a test: it prints figures and judges none of them.
//
// A thread of this program sends space presses through XTest on an X connection of its own, at
// planned moments, and notes the moment it sends each (CLOCK_MONOTONIC, just before the request
// leaves). The window's clock is wrapped to note, for each tap, two readings: the time of day as
// the key handler runs (how taps were timed before the program took each key's own moment) and
// the key's moment as the program takes it now (the handler's reading where it has none). Both
// are set against the sent moments on one time line.
//
//   tap_moments [--taps N] [--interval MS]
// On an X display (QT_QPA_PLATFORM=xcb); scripts/bench runs it alone and with Orca, idle and with
// every core busy. Not across midnight.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include "platform/Clock.h"
#include "platform/KeyDownApplication.h"
#include "platform/KeyDownClock.h"
#include "tapping/FrmTempulo.h"
#include "tests/QuietPlatformNotices.h"
#include "ui/Application.h"

namespace {

double MonotonicSeconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct Reading {
  double handled = 0;             // time of day as the handler runs
  std::optional<double> moment;   // the key's moment, where the program took one
};

// Presses and releases the space bar through XTest.
class Typist {
 public:
  Typist() : connection_(xcb_connect(nullptr, nullptr)) {}
  ~Typist() { xcb_disconnect(connection_); }
  Typist(const Typist&) = delete;
  Typist& operator=(const Typist&) = delete;

  bool Ready() {
    if (xcb_connection_has_error(connection_) != 0) return false;
    space_ = FindKeycode(0x20);  // XK_space
    return space_ != 0;
  }

  // Taps from first on, interval apart (CLOCK_MONOTONIC seconds); returns when each was sent.
  std::vector<double> Type(int taps, double first, double interval) {
    std::vector<double> sent;
    for (int i = 0; i < taps; ++i) {
      const double planned = first + i * interval;
      timespec at{static_cast<time_t>(planned), static_cast<long>(std::fmod(planned, 1.0) * 1e9)};
      clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr);
      xcb_test_fake_input(connection_, XCB_KEY_PRESS, space_, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
      xcb_test_fake_input(connection_, XCB_KEY_RELEASE, space_, XCB_CURRENT_TIME, XCB_NONE, 0, 0,
                          0);
      sent.push_back(MonotonicSeconds());
      xcb_flush(connection_);
    }
    return sent;
  }

 private:
  xcb_keycode_t FindKeycode(xcb_keysym_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> mapping(
        xcb_get_keyboard_mapping_reply(
            connection_,
            xcb_get_keyboard_mapping(connection_, setup->min_keycode, static_cast<uint8_t>(count)),
            nullptr),
        &std::free);
    if (!mapping) return 0;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
    const std::ptrdiff_t perKeycode = mapping->keysyms_per_keycode;
    for (std::ptrdiff_t code = 0; code < count; ++code) {
      if (keysyms[code * perKeycode] == keysym) {
        return static_cast<xcb_keycode_t>(setup->min_keycode + code);
      }
    }
    return 0;
  }

  xcb_connection_t* connection_;
  xcb_keycode_t space_ = 0;
};

// Median and worst (largest in size) of errors in ms.
void PrintErrors(const char* what, std::vector<double> errors) {
  std::sort(errors.begin(), errors.end());
  const double median = errors[errors.size() / 2];
  const double worst = std::abs(errors.front()) > std::abs(errors.back()) ? errors.front()
                                                                          : errors.back();
  std::printf("  %-30s median %7.2f ms   worst %7.2f ms\n", what, median, worst);
}

}  // namespace

int main(int argc, char** argv) {
  quiet_platform_notices::Install();
  int taps = 40;
  int intervalMs = 250;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--taps") == 0) taps = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--interval") == 0) intervalMs = std::atoi(argv[i + 1]);
  }
  if (taps < 2 || intervalMs < 50) {
    std::fprintf(stderr, "usage: tap_moments [--taps N>=2] [--interval MS>=50]\n");
    return 2;
  }

  KeyDownApplication app(argc, argv);
  Application::SetUp();
  std::vector<Reading> readings;
  FrmTempulo window([&readings] {
    readings.push_back({Clock::SecondsSinceMidnight(), KeyDownClock::Current()});
    return Clock::TimeOfDay();
  });
  window.show();
  window.activateWindow();
  Typist typist;
  if (!QTest::qWaitForWindowActive(&window, 10000) || !typist.Ready()) {
    std::fprintf(stderr, "tap_moments: no active window on an X display with XTest\n");
    return 1;
  }

  // The time of day on the monotonic time line: both read together.
  const double before = MonotonicSeconds();
  const double timeOfDay = Clock::SecondsSinceMidnight();
  const double offset = timeOfDay - (before + MonotonicSeconds()) / 2;

  std::vector<double> sent;
  std::thread typing([&] { sent = typist.Type(taps, MonotonicSeconds() + 0.5, intervalMs / 1e3); });
  QElapsedTimer waited;
  waited.start();
  const qint64 deadline = 2000 + static_cast<qint64>(taps) * intervalMs * 3;
  while (static_cast<int>(readings.size()) < taps && waited.elapsed() < deadline) QTest::qWait(10);
  typing.join();
  if (static_cast<int>(readings.size()) != taps) {
    std::fprintf(stderr, "tap_moments: %zu of %d taps reached the window\n", readings.size(), taps);
    return 1;
  }

  std::vector<double> handled;
  std::vector<double> moments;
  int withMoment = 0;
  for (std::size_t i = 0; i < readings.size(); ++i) {
    const double keyDown = sent[i] + offset;
    handled.push_back((readings[i].handled - keyDown) * 1e3);
    moments.push_back((readings[i].moment.value_or(readings[i].handled) - keyDown) * 1e3);
    if (readings[i].moment) ++withMoment;
  }
  std::printf("  %d taps %d ms apart, %d of them with the key's moment\n", taps, intervalMs,
              withMoment);
  PrintErrors("timed as handled (before)", handled);
  PrintErrors("timed by the key (now)", moments);
  return 0;
}
