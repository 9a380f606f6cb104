#pragma once
// The frame timer's clock on Windows: the high-resolution performance counter,
// or the millisecond system time where there is no such counter.

#include "render/device/frame_timer.h"

namespace veltrace::render {

class WindowsClock : public TimerClock {
 public:
  WindowsClock();
  std::int64_t ticks() override;
  std::int64_t ticksPerSecond() override { return ticksPerSecond_; }
  bool usesPerformanceCounter() const { return performanceCounter_; }

 private:
  bool performanceCounter_ = false;
  std::int64_t ticksPerSecond_ = 1000;
  std::uint32_t lastMilliseconds_ = 0;
  std::int64_t wrapped_ = 0;
};

}  // namespace veltrace::render
