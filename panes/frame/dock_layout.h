#pragma once
// Where the docking bars and the view go inside the main window. Bars are
// described as data (id, side, sizes, visibility) and laid out by one
// function: top and bottom rows span the whole width, left and right
// columns fill the height between them, bars sharing a side share its
// length, and the view takes what is left. Portable: the frame applies the
// rectangles to its windows.

#include <vector>

namespace veltrace::panes {

struct Rectangle {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const Rectangle&) const = default;
};

enum class DockSide { left, right, top, bottom, floating };

inline bool isVerticalSide(DockSide side) { return side == DockSide::left || side == DockSide::right; }

struct DockedBar {
  int id = 0;
  DockSide side = DockSide::left;
  // Kept apart so that a bar moved from a column to a row and back gets its
  // old size again: width while in a column, height while in a row.
  int columnWidth = 200;
  int rowHeight = 150;
  bool visible = true;
  DockSide lastDockedSide = DockSide::left;  // where a floating bar goes back to
};

inline constexpr int minimumBarSize = 40;
inline constexpr int minimumViewSize = 64;
// How close to an edge of the frame a dragged bar must be let go to dock there.
inline constexpr int dockingMargin = 40;

struct DockArrangement {
  Rectangle view;
  std::vector<std::pair<int, Rectangle>> bars;  // visible docked bars only
  const Rectangle* find(int id) const;
};

class DockLayout {
 public:
  void add(DockedBar bar) { bars_.push_back(bar); }
  DockedBar* find(int id);
  const DockedBar* find(int id) const;
  const std::vector<DockedBar>& bars() const { return bars_; }

  // The rectangles for a client area. Sizes too large for the area are cut
  // (never below the minimum bar size) so that the view keeps some room.
  DockArrangement arrange(const Rectangle& area) const;

  // Applies a drag of the bar's inner edge to a new size (its width in a
  // column, height in a row), kept within what the area allows.
  void resize(int id, int newSize, const Rectangle& area);

  void setVisible(int id, bool visible);
  void toggle(int id);
  bool isVisible(int id) const;

  // Docks the bar on a side, or floats it; a floating bar remembers where it
  // was docked.
  void dock(int id, DockSide side);

 private:
  int largestSize(DockSide side, const Rectangle& area) const;
  std::vector<DockedBar> bars_;
};

// The side a bar dragged to the point (in the frame's client coordinates)
// docks on: the nearest edge within the margin, else it floats.
DockSide dropSide(int x, int y, const Rectangle& area);

}  // namespace veltrace::panes
