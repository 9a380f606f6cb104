#pragma once
// The resize rule of the state panes: below a least size the layout stays as
// it is; above it the controls follow the change since the last size the
// layout was made for.

#include <optional>

namespace veltrace {

struct SizeChange {
  int width = 0;
  int height = 0;
};

class ResizeTracker {
 public:
  // The layout follows only sizes whose width is above leastWidth and whose
  // height is above leastHeight.
  ResizeTracker(int leastWidth, int leastHeight) : leastWidth_(leastWidth), leastHeight_(leastHeight) {}

  // The client size the controls are laid out for now.
  void remember(int width, int height) {
    width_ = width;
    height_ = height;
  }

  // The change to lay the controls out for, or nothing when the new size is
  // too small (the layout and the remembered size then stay as they are).
  std::optional<SizeChange> resized(int width, int height) {
    if (width <= leastWidth_ || height <= leastHeight_) return std::nullopt;
    SizeChange change{width - width_, height - height_};
    remember(width, height);
    return change;
  }

 private:
  int leastWidth_;
  int leastHeight_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace veltrace
