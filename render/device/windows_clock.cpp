#include "render/device/windows_clock.h"

#include <windows.h>
#include <mmsystem.h>

namespace veltrace::render {

namespace {
constexpr std::int64_t millisecondsPerSecond = 1000;
}  // namespace

WindowsClock::WindowsClock() {
  LARGE_INTEGER frequency;
  if (QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0) {
    performanceCounter_ = true;
    ticksPerSecond_ = frequency.QuadPart;
  } else {
    ticksPerSecond_ = millisecondsPerSecond;
  }
}

std::int64_t WindowsClock::ticks() {
  if (performanceCounter_) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
  }
  // The millisecond count wraps after 49.7 days; carry the wraps so that time
  // never runs backwards.
  DWORD now = timeGetTime();
  if (now < lastMilliseconds_) wrapped_ += std::int64_t{1} << 32;
  lastMilliseconds_ = now;
  return wrapped_ + now;
}

}  // namespace veltrace::render
