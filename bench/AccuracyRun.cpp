// How close the tempo Tempulo shows comes to the tempo tapped, for taps with a person's spread.
// A measurement, not a test: it prints figures and judges none of them.
//
// Each measurement drives the real main window on the offscreen platform as the user does: one
// space key press per tap, each reading a clock that converts the simulated tap time exactly as
// Clock::TimeOfDay does (seconds since midnight as a double, then to float), then Enter; the
// results window opens modally inside that key press and is read (the tempo box, as shown) and
// closed from a timer armed before it. Tap i of a measurement falls at
//   start + i * 60 / bpm + N(0, spread),
// the start a few minutes after 09:00 or 21:00 and varied per measurement, so the float clock's
// grid (1/512 s in the morning, 1/128 s in the evening) meets the beat at every phase.
//
//   accuracy_run [--measurements N] [--seed S]

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include <QApplication>
#include <QTest>

#include "common/Conversions.h"
#include "tapping/FrmTapResults.h"
#include "tapping/FrmTempulo.h"
#include "tests/ModalHelper.h"
#include "tests/QuietPlatformNotices.h"
#include "ui/Application.h"

namespace {

struct TimeOfDay {
  const char* name;
  double start;  // seconds since midnight
};

// Both stay within one binade of the float clock for the whole window of starts and taps:
// 09:00 to 09:05:21 is below 2^15 s (1/512 s steps), 21:00 well inside 2^16..2^17 (1/128 s).
constexpr std::array kTimesOfDay = {TimeOfDay{"09:00", 32400.0}, TimeOfDay{"21:00", 75600.0}};
constexpr double kStartWindow = 300.0;  // each measurement starts up to 5 minutes later

constexpr std::array kTempos = {90, 120, 150};
constexpr std::array kSpreadsMs = {0, 10, 20, 30};
constexpr std::array kTaps = {8, 16, 32};

struct Options {
  int measurements = 500;
  std::uint64_t seed = 2004;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--measurements") == 0 && hasValue) {
      options.measurements = std::atoi(argv[++i]);
      if (options.measurements < 1) return false;
    } else if (std::strcmp(argv[i], "--seed") == 0 && hasValue) {
      options.seed = std::strtoull(argv[++i], nullptr, 10);
    } else {
      return false;
    }
  }
  return true;
}

// The value at rank ceil(q * n) of the sorted values (nearest rank): always one that occurred.
double Quantile(std::vector<double> values, double q) {
  const auto n = static_cast<double>(values.size());
  const auto rank = static_cast<std::size_t>(std::max(1.0, std::ceil(q * n)));
  const auto at = values.begin() + static_cast<std::ptrdiff_t>(rank - 1);
  std::nth_element(values.begin(), at, values.end());
  return *at;
}

class Driver {
 public:
  Driver() : window_([this] { return static_cast<float>(now_); }) {}

  bool Show() {
    window_.show();
    return QTest::qWaitForWindowExposed(&window_);
  }

  // Taps at the given times (seconds since midnight), presses Enter and returns the tempo the
  // results window shows; NaN when no results window came up.
  double Measure(const std::vector<double>& tapTimes) {
    for (const double t : tapTimes) {
      now_ = t;
      QTest::keyClick(&window_, Qt::Key_Space);
    }
    double tempo = std::numeric_limits<double>::quiet_NaN();
    ModalHelper helper;
    helper.Expect([&tempo](QWidget* modal) {
      if (auto* results = qobject_cast<FrmTapResults*>(modal)) {
        tempo = TextToValue(results->TxtResult(2).text());
      }
      modal->close();
    });
    const auto enter = std::chrono::steady_clock::now();
    QTest::keyClick(&window_, Qt::Key_Return);
    // What the closed window left posted (its deletion, the main window's repaint).
    QCoreApplication::processEvents();
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - enter;
    enterSeconds_ += spent.count();
    return helper.Handled() == 1 ? tempo : std::numeric_limits<double>::quiet_NaN();
  }

  // Time spent from Enter until the results window was closed and gone.
  [[nodiscard]] double EnterSeconds() const { return enterSeconds_; }

 private:
  double now_ = 0;
  double enterSeconds_ = 0;
  FrmTempulo window_;
};

struct CellResult {
  double medianAbs;
  double p90Abs;
  double medianSigned;
  double fastShare;  // measurements that read above the tapped tempo
};

// One cell from its own generator, so any cell comes out the same whatever else is run.
bool RunCell(Driver& driver, const Options& options, int bpm, int spreadMs, int taps,
             std::size_t timeOfDay, const TimeOfDay& when, CellResult& result) {
  std::seed_seq seeds{static_cast<std::uint32_t>(options.seed),
                      static_cast<std::uint32_t>(options.seed >> 32U),
                      static_cast<std::uint32_t>(bpm), static_cast<std::uint32_t>(spreadMs),
                      static_cast<std::uint32_t>(taps), static_cast<std::uint32_t>(timeOfDay)};
  std::mt19937_64 rng(seeds);
  std::uniform_real_distribution<double> startOffset(0.0, kStartWindow);
  std::normal_distribution<double> jitter(0.0, spreadMs / 1000.0);
  const double beat = 60.0 / bpm;

  std::vector<double> absErrors;
  std::vector<double> signedErrors;
  int fast = 0;
  std::vector<double> tapTimes(static_cast<std::size_t>(taps));
  for (int m = 0; m < options.measurements; ++m) {
    const double start = when.start + startOffset(rng);
    for (int i = 0; i < taps; ++i) {
      // normal_distribution with a spread of 0 still draws; it returns the mean.
      tapTimes[static_cast<std::size_t>(i)] = start + i * beat + jitter(rng);
    }
    const double shown = driver.Measure(tapTimes);
    if (std::isnan(shown)) return false;
    const double error = shown - bpm;
    signedErrors.push_back(error);
    absErrors.push_back(std::abs(error));
    if (error > 0) ++fast;
  }
  result = {Quantile(absErrors, 0.5), Quantile(absErrors, 0.9), Quantile(signedErrors, 0.5),
            100.0 * fast / options.measurements};
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  quiet_platform_notices::Install();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: accuracy_run [--measurements N] [--seed S]\n");
    return 2;
  }
  Application::SetUp();

  Driver driver;
  if (!driver.Show()) {
    std::fprintf(stderr, "accuracy_run: the main window was not shown\n");
    return 1;
  }

  std::printf("%d measurements per cell, seed %llu (std::mt19937_64, std::normal_distribution of ",
              options.measurements, static_cast<unsigned long long>(options.seed));
#if defined(__GLIBCXX__)
  std::printf("libstdc++ %d, %d)\n", _GLIBCXX_RELEASE, __GLIBCXX__);
#else
  std::printf("this standard library)\n");
#endif
  std::printf("N taps = N space presses = N/2 measured intervals. Error = tempo shown - tempo "
              "tapped, in BPM.\n");
  std::printf("|err| median and p90 (nearest rank); signed median; fast = share reading "
              "above.\n\n");
  std::printf("  BPM  spread  taps   time   |err| med   |err| p90   err med    fast\n");

  const auto begin = std::chrono::steady_clock::now();
  int cells = 0;
  for (const int bpm : kTempos) {
    for (const int spreadMs : kSpreadsMs) {
      for (const int taps : kTaps) {
        for (std::size_t tod = 0; tod < kTimesOfDay.size(); ++tod) {
          const TimeOfDay& when = kTimesOfDay.at(tod);
          CellResult r{};
          if (!RunCell(driver, options, bpm, spreadMs, taps, tod, when, r)) {
            std::fprintf(stderr, "accuracy_run: Enter after %d taps showed no results window\n",
                         taps);
            return 1;
          }
          ++cells;
          std::printf("  %3d  %3d ms  %4d  %5s  %10.2f  %10.2f  %+9.2f  %5.1f%%\n", bpm, spreadMs,
                      taps, when.name, r.medianAbs, r.p90Abs, r.medianSigned, r.fastShare);
          std::fflush(stdout);
        }
      }
      std::printf("\n");
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  const double measurements = static_cast<double>(cells) * options.measurements;
  std::printf("%d cells, %.0f measurements in %.1f s: %.2f ms a measurement, of which %.2f ms from "
              "Enter to the closed results window\n",
              cells, measurements, seconds, 1000.0 * seconds / measurements,
              1000.0 * driver.EnterSeconds() / measurements);
  return 0;
}
