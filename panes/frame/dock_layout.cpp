#include "panes/frame/dock_layout.h"

#include <algorithm>

namespace veltrace::panes {

const Rectangle* DockArrangement::find(int id) const {
  for (const auto& [barId, bounds] : bars) {
    if (barId == id) return &bounds;
  }
  return nullptr;
}

DockedBar* DockLayout::find(int id) {
  for (DockedBar& bar : bars_) {
    if (bar.id == id) return &bar;
  }
  return nullptr;
}

const DockedBar* DockLayout::find(int id) const { return const_cast<DockLayout*>(this)->find(id); }

namespace {

bool showsOn(const DockedBar& bar, DockSide side) { return bar.visible && bar.side == side; }

int sizeOf(const DockedBar& bar) { return isVerticalSide(bar.side) ? bar.columnWidth : bar.rowHeight; }

// Splits a length among n bars, the last taking the remainder.
std::vector<int> shares(int length, int count) {
  std::vector<int> result(static_cast<size_t>(count), count ? length / count : 0);
  if (count) result.back() += length - (length / count) * count;
  return result;
}

}  // namespace

int DockLayout::largestSize(DockSide side, const Rectangle& area) const {
  int room = isVerticalSide(side) ? area.width() : area.height();
  // The opposite side's bars and the view keep their room.
  DockSide opposite = side == DockSide::left    ? DockSide::right
                      : side == DockSide::right ? DockSide::left
                      : side == DockSide::top   ? DockSide::bottom
                                                : DockSide::top;
  int oppositeSize = 0;
  for (const DockedBar& bar : bars_) {
    if (showsOn(bar, opposite)) oppositeSize = std::max(oppositeSize, sizeOf(bar));
  }
  return std::max(minimumBarSize, room - oppositeSize - minimumViewSize);
}

DockArrangement DockLayout::arrange(const Rectangle& area) const {
  DockArrangement result;
  Rectangle free = area;
  // Rows first, so they span the whole width; then the columns between them.
  for (DockSide side : {DockSide::top, DockSide::bottom, DockSide::left, DockSide::right}) {
    std::vector<const DockedBar*> onSide;
    int thickness = 0;
    for (const DockedBar& bar : bars_) {
      if (!showsOn(bar, side)) continue;
      onSide.push_back(&bar);
      thickness = std::max(thickness, sizeOf(bar));
    }
    if (onSide.empty()) continue;
    int roomAcross = isVerticalSide(side) ? free.width() : free.height();
    thickness = std::clamp(thickness, 0, std::max(0, roomAcross - minimumViewSize));
    thickness = std::max(thickness, std::min(minimumBarSize, roomAcross));
    Rectangle strip = free;
    switch (side) {
      case DockSide::top: strip.bottom = free.top + thickness; free.top = strip.bottom; break;
      case DockSide::bottom: strip.top = free.bottom - thickness; free.bottom = strip.top; break;
      case DockSide::left: strip.right = free.left + thickness; free.left = strip.right; break;
      case DockSide::right: strip.left = free.right - thickness; free.right = strip.left; break;
      case DockSide::floating: break;
    }
    bool column = isVerticalSide(side);
    std::vector<int> lengths = shares(column ? strip.height() : strip.width(), static_cast<int>(onSide.size()));
    int at = column ? strip.top : strip.left;
    for (size_t i = 0; i < onSide.size(); ++i) {
      Rectangle bounds = strip;
      if (column) {
        bounds.top = at;
        bounds.bottom = at + lengths[i];
      } else {
        bounds.left = at;
        bounds.right = at + lengths[i];
      }
      at += lengths[i];
      result.bars.emplace_back(onSide[i]->id, bounds);
    }
  }
  if (free.right < free.left) free.right = free.left;
  if (free.bottom < free.top) free.bottom = free.top;
  result.view = free;
  return result;
}

void DockLayout::resize(int id, int newSize, const Rectangle& area) {
  DockedBar* bar = find(id);
  if (!bar || bar->side == DockSide::floating) return;
  int size = std::clamp(newSize, minimumBarSize, largestSize(bar->side, area));
  // Bars sharing a side share its thickness.
  for (DockedBar& other : bars_) {
    if (other.side != bar->side) continue;
    (isVerticalSide(other.side) ? other.columnWidth : other.rowHeight) = size;
  }
}

void DockLayout::setVisible(int id, bool visible) {
  if (DockedBar* bar = find(id)) bar->visible = visible;
}

void DockLayout::toggle(int id) {
  if (DockedBar* bar = find(id)) bar->visible = !bar->visible;
}

bool DockLayout::isVisible(int id) const {
  const DockedBar* bar = find(id);
  return bar && bar->visible;
}

void DockLayout::dock(int id, DockSide side) {
  DockedBar* bar = find(id);
  if (!bar) return;
  if (side != DockSide::floating) bar->lastDockedSide = side;
  bar->side = side;
}

DockSide dropSide(int x, int y, const Rectangle& area) {
  struct Edge {
    DockSide side;
    int distance;
  };
  Edge edges[] = {{DockSide::left, x - area.left},
                  {DockSide::right, area.right - x},
                  {DockSide::top, y - area.top},
                  {DockSide::bottom, area.bottom - y}};
  const Edge* nearest = nullptr;
  for (const Edge& edge : edges) {
    if (edge.distance < -dockingMargin || edge.distance > dockingMargin) continue;
    if (!nearest || edge.distance < nearest->distance) nearest = &edge;
  }
  return nearest ? nearest->side : DockSide::floating;
}

}  // namespace veltrace::panes
