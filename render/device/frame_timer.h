#pragma once
// The frame timer: absolute time, application time (running time since the
// start, stopped periods left out) and the time since the previous elapsed
// query. It reads ticks from a clock so that the arithmetic is the same on any
// clock: the performance counter, the millisecond system time, or a test's.

#include <cstdint>

namespace veltrace::render {

class TimerClock {
 public:
  virtual ~TimerClock() = default;
  virtual std::int64_t ticks() = 0;
  virtual std::int64_t ticksPerSecond() = 0;  // always above 0
};

class FrameTimer {
 public:
  // Starts out stopped at application time 0; start() sets it running.
  explicit FrameTimer(TimerClock& clock);

  // Application time back to 0; the running or stopped state is kept.
  void reset();
  void start();
  void stop();
  // While stopped, moves the stopped moment a tenth of a second on, so that a
  // paused preview can be stepped.
  void advance();

  bool stopped() const { return stopped_; }

  double absoluteTime();
  double applicationTime();
  // Seconds since the previous call (or since start, stop or reset).
  double elapsedTime();

 private:
  std::int64_t now();  // the stopped moment while stopped
  double seconds(std::int64_t ticks) const;

  TimerClock& clock_;
  std::int64_t ticksPerSecond_;
  std::int64_t baseTicks_ = 0;
  std::int64_t stopTicks_ = 0;
  std::int64_t lastElapsedTicks_ = 0;
  bool stopped_ = true;
};

}  // namespace veltrace::render
