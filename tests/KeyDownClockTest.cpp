#include "platform/KeyDownClock.h"

#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

#include <QKeyEvent>
#include <QLabel>
#include <QSysInfo>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "tapping/FrmTapResults.h"
#include "tapping/FrmTempulo.h"
#include "tests/ModalHelper.h"

namespace {

// A stamp, and the event clock as read with the time of day at 1000 s.
struct StampCase {
  const char* name;  // cppcheck-suppress unusedStructMember ; the test name, via TestParamInfo
  std::uint32_t stamp;
  double nowMs;
  double stepMs;
  std::optional<double> moment;
};

class StampMapping : public ::testing::TestWithParam<StampCase> {};

TEST_P(StampMapping, GivesTheMomentOrLeavesItToTheHandler) {
  const StampCase& c = GetParam();
  const std::optional<double> moment = KeyDownClock::MomentOf(c.stamp, {c.nowMs, 1000.0}, c.stepMs);
  ASSERT_EQ(moment.has_value(), c.moment.has_value());
  if (moment) {
    EXPECT_NEAR(*moment, c.moment.value_or(std::nan("")), 1e-9);
  }
}

constexpr double kWrap = 4294967296.0;

INSTANTIATE_TEST_SUITE_P(
    KeyDownClock, StampMapping,
    ::testing::Values(
        StampCase{"Delayed", 5'000'000, 5'000'250.5, 1, 1000 - 0.2505},
        // The 32-bit clock wrapped between the press and now.
        StampCase{"AcrossTheWrap", 4'294'967'200u, kWrap * 3 + 49.0, 1, 1000 - 0.145},
        StampCase{"NoStamp", 0, 5'000'250, 1, std::nullopt},
        StampCase{"AheadOfNow", 5'000'010, 5'000'000, 1, std::nullopt},
        StampCase{"MoreThanASecondOld", 5'000'000, 5'001'000.5, 1, std::nullopt},
        StampCase{"JustUnderASecond", 5'000'000, 5'000'999, 1, 1000 - 0.999},
        // No older than a step of the stamp's clock: the time of day now is the finer reading.
        StampCase{"WithinOneStep", 5'000'000, 5'000'015, 15.625, 1000},
        StampCase{"BeyondOneStep", 5'000'000, 5'000'016, 15.625, 1000 - 0.016}),
    [](const ::testing::TestParamInfo<StampCase>& info) { return std::string(info.param.name); });

TEST(KeyDownClock, APressBeforeMidnightHandledAfterItKeepsItsDay) {
  const std::optional<double> moment = KeyDownClock::MomentOf(1000, {1300.0, 0.1}, 1);
  ASSERT_TRUE(moment.has_value());
  EXPECT_NEAR(moment.value_or(std::nan("")), 86400 - 0.2, 1e-9);
}

TEST(KeyDownClock, CopiesTakeTheMomentsOfTheirOriginalsInOrder) {
  const KeyIdentity space{Qt::Key_Space, 65, 32, 0, false};
  const KeyIdentity repeat{Qt::Key_Space, 65, 32, 0, true};
  const KeyIdentity enter{Qt::Key_Return, 36, 13, 0, false};
  KeyDownClock presses;
  presses.Arrived(space, 10.0, 0.0);
  presses.Arrived(repeat, std::nullopt, 0.1);
  presses.Arrived(enter, 11.0, 0.2);
  presses.Arrived(space, 12.0, 0.3);
  EXPECT_EQ(presses.Delivered(enter, 0.4), 11.0);
  EXPECT_EQ(presses.Delivered(space, 0.4), 10.0);
  EXPECT_EQ(presses.Delivered(repeat, 0.4), std::nullopt);
  // Never arrived, or kept longer than a second: the time of day at the handler.
  EXPECT_EQ(presses.Delivered(enter, 0.4), std::nullopt);
  EXPECT_EQ(presses.Delivered(space, 1.4), std::nullopt);
}

// Qt's AT-SPI bridge while a screen reader listens for keys: it keeps each key press from the
// window system and, once the reader has answered, sends the window a copy without its stamp.
class ScreenReaderBridge : public QObject {
 public:
  ScreenReaderBridge() { qApp->installEventFilter(this); }
  ~ScreenReaderBridge() override { qApp->removeEventFilter(this); }
  ScreenReaderBridge(const ScreenReaderBridge&) = delete;
  ScreenReaderBridge& operator=(const ScreenReaderBridge&) = delete;

  void Answer() {
    auto held = std::move(held_);
    for (auto& [target, copy] : held) QCoreApplication::sendEvent(target, copy.get());
  }

 protected:
  bool eventFilter(QObject* target, QEvent* event) override {
    if (!event->spontaneous() || event->type() != QEvent::KeyPress) return false;
    const auto& press = static_cast<const QKeyEvent&>(*event);
    held_.emplace_back(target, std::make_unique<QKeyEvent>(
                                   press.type(), press.key(), press.modifiers(),
                                   press.nativeScanCode(), press.nativeVirtualKey(),
                                   press.nativeModifiers(), press.text(), press.isAutoRepeat()));
    return true;
  }

 private:
  std::vector<std::pair<QObject*, std::unique_ptr<QKeyEvent>>> held_;
};

double SteadyMs() {
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

struct TapsCase {
  const char* name;  // cppcheck-suppress unusedStructMember ; the test name, via TestParamInfo
  bool heldByScreenReader;
  // Stamped as they reach the program, 0.3 s apart, rather than 0.6 and 0.1 s before.
  bool fresh;
};

class KeyDownTaps : public ::testing::TestWithParam<TapsCase> {
 protected:
  // A space key going down and up as the window system hands it to the window, stamped on the
  // event clock.
  void TapSpaceStamped(double stampMs) {
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
      QKeyEvent key(type, Qt::Key_Space, Qt::NoModifier, 65, 32, 0, QStringLiteral(" "));
      key.setTimestamp(static_cast<std::uint32_t>(static_cast<std::uint64_t>(stampMs)));
      QSpontaneKeyEvent::setSpontaneous(&key);
      qApp->notify(window.windowHandle(), &key);
    }
  }

  FrmTempulo window;  // timed by the real clock
};

// Two taps reach the program together, as they do from a busy machine or through a screen
// reader: the beat is the time between the keys.
TEST_P(KeyDownTaps, AreTimedWhenTheKeyWentDown) {
  if (QSysInfo::kernelType() == QLatin1String("winnt")) {
    GTEST_SKIP() << "Windows stamps come from the window message, which only Windows sends";
  }
  const TapsCase& taps = GetParam();
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  std::optional<ScreenReaderBridge> bridge;
  if (taps.heldByScreenReader) bridge.emplace();

  double between = 0.5;
  if (taps.fresh) {
    const double first = SteadyMs();
    TapSpaceStamped(first);
    QTest::qWait(300);
    const double second = SteadyMs();
    TapSpaceStamped(second);
    between = (second - first) / 1000;
  } else {
    const double now = SteadyMs();
    TapSpaceStamped(now - 600);
    TapSpaceStamped(now - 100);
  }
  if (bridge) bridge->Answer();
  EXPECT_EQ(window.LblKeyPress().text(), "2");
  bridge.reset();

  QString beat;
  ModalHelper helper;
  helper.Expect([&beat](QWidget* modal) {
    beat = FrmTapResults::Get().TxtResult(1).text();
    modal->close();
  });
  QTest::keyClick(&window, Qt::Key_Return);
  ASSERT_EQ(helper.Handled(), 1);
  // Each moment is held as a float time of day: the beat is within one step of it, and of the
  // stamps' millisecond.
  const auto timeOfDay = static_cast<float>(Clock::SecondsSinceMidnight());
  const double step = std::nextafter(timeOfDay, 2 * timeOfDay) - timeOfDay;
  EXPECT_NEAR(beat.toDouble(), between, step + 0.0015) << "beat " << beat.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    KeyDownClock, KeyDownTaps,
    ::testing::Values(TapsCase{"Direct", false, false}, TapsCase{"HeldByAScreenReader", true, false},
                      TapsCase{"FreshHeldByAScreenReader", true, true}),
    [](const ::testing::TestParamInfo<TapsCase>& info) { return std::string(info.param.name); });

}  // namespace
