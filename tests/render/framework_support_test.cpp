// The framework's message texts and its timer, on a clock the test drives.

#include <gtest/gtest.h>

#include "render/device/frame_timer.h"
#include "render/device/framework_errors.h"

namespace veltrace::render {
namespace {

TEST(FrameworkMessages, KindsAddTheirParagraph) {
  EXPECT_EQ(frameworkErrorText(errorResetFailed, MessageKind::plain), "Could not reset the Direct3D device.");
  EXPECT_EQ(frameworkErrorText(errorMediaMissing, MessageKind::mustExit),
            "Could not load required media.\n\nThis sample will now exit.");
  EXPECT_EQ(frameworkErrorText(errorNoHardwareDevice, MessageKind::switchedToReference),
            "No hardware-accelerated Direct3D devices\nwere found.\n\nSwitching to the reference rasterizer,\n"
            "a software device that implements the entire\nDirect3D feature set, but runs very slowly.");
  EXPECT_TRUE(isWarning(MessageKind::switchedToReference));
  EXPECT_FALSE(isWarning(MessageKind::mustExit));
}

TEST(FrameworkMessages, PlatformCodesAndUnknownCodes) {
  EXPECT_EQ(frameworkErrorText(resultOutOfMemory, MessageKind::plain), "Not enough memory.");
  EXPECT_EQ(frameworkErrorText(resultOutOfVideoMemory, MessageKind::plain), "Not enough video memory.");
  const std::string generic = "Generic application error. Enable\ndebug output for detailed information.";
  EXPECT_EQ(frameworkErrorText(0x80004005, MessageKind::plain), generic);
  EXPECT_EQ(frameworkErrorText(0x82000002, MessageKind::plain), generic) << "0x82000002 has no text of its own";
  EXPECT_EQ(frameworkErrorText(errorNoDirect3D, MessageKind::plain).rfind("Could not initialize Direct3D. You may\n", 0), 0u);
}

class ManualClock : public TimerClock {
 public:
  std::int64_t now = 5000;
  std::int64_t ticks() override { return now; }
  std::int64_t ticksPerSecond() override { return 1000; }
};

TEST(FrameTimer, ApplicationTimeLeavesOutStoppedPeriods) {
  ManualClock clock;
  FrameTimer timer(clock);
  EXPECT_TRUE(timer.stopped());
  clock.now += 700;
  EXPECT_EQ(timer.applicationTime(), 0.0) << "not started yet";

  timer.start();
  clock.now += 1500;
  EXPECT_DOUBLE_EQ(timer.applicationTime(), 1.5);
  timer.stop();
  clock.now += 10000;
  EXPECT_DOUBLE_EQ(timer.applicationTime(), 1.5);
  timer.start();
  clock.now += 250;
  EXPECT_DOUBLE_EQ(timer.applicationTime(), 1.75);
  EXPECT_DOUBLE_EQ(timer.absoluteTime(), clock.now / 1000.0);
}

TEST(FrameTimer, ElapsedTimeIsSinceThePreviousQuery) {
  ManualClock clock;
  FrameTimer timer(clock);
  timer.start();
  clock.now += 20;
  EXPECT_DOUBLE_EQ(timer.elapsedTime(), 0.02);
  EXPECT_EQ(timer.elapsedTime(), 0.0) << "nothing passed since";
  clock.now += 30;
  timer.stop();
  EXPECT_EQ(timer.elapsedTime(), 0.0) << "stop starts a new interval";
  clock.now += 30;
  EXPECT_EQ(timer.elapsedTime(), 0.0) << "no time passes while stopped";
}

TEST(FrameTimer, AdvanceStepsAStoppedTimerByATenth) {
  ManualClock clock;
  FrameTimer timer(clock);
  timer.start();
  clock.now += 1000;
  timer.stop();
  timer.advance();
  EXPECT_DOUBLE_EQ(timer.applicationTime(), 1.1);
  timer.start();
  EXPECT_DOUBLE_EQ(timer.applicationTime(), 1.1) << "restarting keeps the advanced time";

  timer.advance();  // running: nothing to step
  EXPECT_DOUBLE_EQ(timer.applicationTime(), 1.1);
}

TEST(FrameTimer, ResetStartsApplicationTimeAgain) {
  ManualClock clock;
  FrameTimer timer(clock);
  timer.start();
  clock.now += 3000;
  timer.reset();
  clock.now += 400;
  EXPECT_DOUBLE_EQ(timer.applicationTime(), 0.4);
  EXPECT_FALSE(timer.stopped());
}

}  // namespace
}  // namespace veltrace::render
