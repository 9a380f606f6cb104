#include "render/device/frame_timer.h"

namespace veltrace::render {

namespace {
constexpr std::int64_t advanceFraction = 10;  // advance() steps 1/10 s
}  // namespace

FrameTimer::FrameTimer(TimerClock& clock) : clock_(clock), ticksPerSecond_(clock.ticksPerSecond()) {
  if (ticksPerSecond_ <= 0) ticksPerSecond_ = 1;
  std::int64_t ticks = clock_.ticks();
  baseTicks_ = stopTicks_ = lastElapsedTicks_ = ticks;
}

std::int64_t FrameTimer::now() { return stopped_ ? stopTicks_ : clock_.ticks(); }

double FrameTimer::seconds(std::int64_t ticks) const {
  return static_cast<double>(ticks) / static_cast<double>(ticksPerSecond_);
}

void FrameTimer::reset() {
  std::int64_t ticks = now();
  baseTicks_ = ticks;
  lastElapsedTicks_ = ticks;
}

void FrameTimer::start() {
  if (!stopped_) return;
  std::int64_t ticks = clock_.ticks();
  baseTicks_ += ticks - stopTicks_;  // the stopped period does not count
  lastElapsedTicks_ = ticks;
  stopped_ = false;
}

void FrameTimer::stop() {
  if (stopped_) return;
  std::int64_t ticks = clock_.ticks();
  stopTicks_ = ticks;
  lastElapsedTicks_ = ticks;
  stopped_ = true;
}

void FrameTimer::advance() {
  if (stopped_) stopTicks_ += ticksPerSecond_ / advanceFraction;
}

double FrameTimer::absoluteTime() { return seconds(clock_.ticks()); }

double FrameTimer::applicationTime() { return seconds(now() - baseTicks_); }

double FrameTimer::elapsedTime() {
  std::int64_t ticks = now();
  double elapsed = seconds(ticks - lastElapsedTicks_);
  lastElapsedTicks_ = ticks;
  return elapsed;
}

}  // namespace veltrace::render
