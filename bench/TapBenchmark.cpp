// One tap on the main window, as the user makes it: a space key press and release delivered to
// the shown window through Qt's window-system entry point (the road a key from the X server takes
// once the platform plugin has read it, each followed by a turn of the event loop), the clock
// read, the tally updated, the counter label set and repainted. Runs under the offscreen platform.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <benchmark/benchmark.h>

#include "platform/KeyDownApplication.h"
#include "tapping/FrmTempulo.h"
#include "tests/QuietPlatformNotices.h"
#include "ui/Application.h"

namespace {

// A steady tapper at 120 bpm with a human's jitter (10 ms either way is typical), read on the
// program's own clock: seconds since midnight in single precision, starting at 10 a.m. Each read
// is one tap. The float clock puts the intervals on a grid of 1/256 s, so the tally settles at a
// few dozen distinct intervals however long the benchmark taps, as it does for a real session.
class Tapper {
 public:
  float Read() {
    now_ = std::fmod(now_ + beat_(rng_), 86400.0);
    return static_cast<float>(now_);
  }

 private:
  std::mt19937 rng_{2004};
  std::normal_distribution<double> beat_{0.5, 0.01};
  double now_ = 36000.0;
};

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

// QTest's window path hands the key to the window system interface and turns the event loop
// after the press and after the release, as the program's own loop would.
void TapOnce(FrmTempulo& window) { QTest::keyClick(window.windowHandle(), Qt::Key_Space); }

// The whole tap, the counter's repaint included, and one more turn of the loop for anything the
// tap left posted. The benchmark's time is the mean tap of each
// repetition; per_tap_median_us is the median of that repetition's single taps, which a burst
// of other work on the machine moves less.
void Tap(benchmark::State& state, FrmTempulo& window) {
  std::vector<double> taps;
  taps.reserve(1U << 16U);
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    TapOnce(window);
    QCoreApplication::processEvents();
    const auto end = std::chrono::steady_clock::now();
    if (taps.size() < taps.capacity()) {
      taps.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
  }
  state.counters["per_tap_median_us"] = Median(std::move(taps));
}

// The key events sent straight to the window, as the window tests send them (QTest's widget
// path): the handler runs and sets the counter's text, but no event loop turns, so the repaint
// waits (Qt folds the pending ones into one). The difference to Tap is the window-system entry,
// the event loop's turns and the repaint.
// cppcheck-suppress constParameterCallback ; Google Benchmark hands every benchmark a State&
void TapWithoutEventLoop(benchmark::State& state, FrmTempulo& window) {
  for (auto _ : state) QTest::keyClick(&window, Qt::Key_Space);
  QCoreApplication::processEvents();
}

double Min(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }
double Max(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

// The median of 10 repetitions is the figure; min and max show the spread.
void Register(const char* name, void (*run)(benchmark::State&, FrmTempulo&), FrmTempulo& window) {
  benchmark::RegisterBenchmark(name, run, std::ref(window))
      ->Unit(benchmark::kMicrosecond)
      ->Repetitions(10)
      ->ReportAggregatesOnly(true)
      ->ComputeStatistics("min", Min)
      ->ComputeStatistics("max", Max);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  quiet_platform_notices::Install();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  KeyDownApplication app(argc, argv);  // as the program: each press noted as it arrives
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  Application::SetUp();

  FrmTempulo window([tapper = Tapper()]() mutable { return tapper.Read(); });
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) {
    std::fprintf(stderr, "tap_bench: the main window was not shown\n");
    return 1;
  }

  // Warm up (first paint of the label, the tally's first storage), and make sure the key presses
  // arrive as taps: a benchmark of keys nobody handles would measure nothing.
  constexpr int kWarmUpTaps = 64;
  for (int i = 0; i < kWarmUpTaps; ++i) {
    TapOnce(window);
    QCoreApplication::processEvents();
  }
  if (window.LblKeyPress().text() != QString::number(kWarmUpTaps)) {
    std::fprintf(stderr, "tap_bench: the counter reads \"%s\" after %d taps\n",
                 qPrintable(window.LblKeyPress().text()), kWarmUpTaps);
    return 1;
  }

  Register("Tap", Tap, window);
  Register("TapWithoutEventLoop", TapWithoutEventLoop, window);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
