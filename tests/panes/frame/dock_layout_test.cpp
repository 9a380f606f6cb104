#include "panes/frame/dock_layout.h"

#include <gtest/gtest.h>

namespace veltrace::panes {
namespace {

constexpr int workspace = 1, messages = 2, parameter = 3;

DockLayout startLayout() {
  DockLayout layout;
  layout.add({workspace, DockSide::left, 200, 150, true, DockSide::left});
  layout.add({messages, DockSide::bottom, 200, 120, true, DockSide::bottom});
  layout.add({parameter, DockSide::right, 180, 150, true, DockSide::right});
  return layout;
}

const Rectangle area{0, 30, 1000, 730};

TEST(DockLayout, RowsSpanTheWidthAndColumnsFillTheHeightBetween) {
  DockArrangement arranged = startLayout().arrange(area);
  EXPECT_EQ(*arranged.find(messages), (Rectangle{0, 610, 1000, 730}));
  EXPECT_EQ(*arranged.find(workspace), (Rectangle{0, 30, 200, 610}));
  EXPECT_EQ(*arranged.find(parameter), (Rectangle{820, 30, 1000, 610}));
  EXPECT_EQ(arranged.view, (Rectangle{200, 30, 820, 610}));
}

TEST(DockLayout, AHiddenBarGivesItsRoomToTheViewAndComesBackWhereItWas) {
  DockLayout layout = startLayout();
  layout.toggle(messages);
  DockArrangement hidden = layout.arrange(area);
  EXPECT_EQ(hidden.find(messages), nullptr);
  EXPECT_EQ(hidden.view.bottom, 730);
  layout.toggle(messages);
  EXPECT_EQ(*layout.arrange(area).find(messages), (Rectangle{0, 610, 1000, 730}));
}

TEST(DockLayout, BarsOnOneSideShareItsLength) {
  DockLayout layout = startLayout();
  layout.dock(parameter, DockSide::left);
  DockArrangement arranged = layout.arrange(area);
  EXPECT_EQ(arranged.find(workspace)->height() + arranged.find(parameter)->height(), 580);
  EXPECT_EQ(arranged.find(workspace)->bottom, arranged.find(parameter)->top);
  EXPECT_EQ(arranged.view.right, 1000);
}

TEST(DockLayout, ResizingIsKeptBetweenTheLeastBarSizeAndWhatLeavesTheViewRoom) {
  struct Case {
    int asked, kept;
  } cases[] = {{260, 260}, {5, minimumBarSize}, {5000, 1000 - 180 - minimumViewSize}};
  for (const Case& c : cases) {
    DockLayout layout = startLayout();
    layout.resize(workspace, c.asked, area);
    EXPECT_EQ(layout.find(workspace)->columnWidth, c.kept) << c.asked;
  }
}

TEST(DockLayout, ABarMovedFromAColumnToARowAndBackKeepsItsColumnWidth) {
  DockLayout layout = startLayout();
  layout.resize(workspace, 250, area);
  layout.dock(workspace, DockSide::top);
  EXPECT_EQ(layout.arrange(area).find(workspace)->height(), 150);
  layout.dock(workspace, DockSide::left);
  EXPECT_EQ(layout.arrange(area).find(workspace)->width(), 250);
}

TEST(DockLayout, AFloatingBarRemembersItsSideAndTakesNoRoom) {
  DockLayout layout = startLayout();
  layout.dock(parameter, DockSide::floating);
  EXPECT_EQ(layout.find(parameter)->lastDockedSide, DockSide::right);
  DockArrangement arranged = layout.arrange(area);
  EXPECT_EQ(arranged.find(parameter), nullptr);
  EXPECT_EQ(arranged.view.right, 1000);
}

TEST(DockLayout, ATinyAreaNeverGivesNegativeRectangles) {
  DockArrangement arranged = startLayout().arrange({0, 0, 30, 20});
  EXPECT_GE(arranged.view.width(), 0);
  EXPECT_GE(arranged.view.height(), 0);
  for (const auto& [id, bounds] : arranged.bars) {
    EXPECT_GE(bounds.width(), 0) << id;
    EXPECT_GE(bounds.height(), 0) << id;
  }
}

TEST(DockLayout, ABarLetGoNearAnEdgeDocksThereAndElsewhereFloats) {
  struct Case {
    int x, y;
    DockSide side;
  } cases[] = {{5, 300, DockSide::left},   {995, 300, DockSide::right}, {500, 40, DockSide::top},
               {500, 725, DockSide::bottom}, {500, 300, DockSide::floating}, {-20, 300, DockSide::left},
               {-300, 300, DockSide::floating}};
  for (const Case& c : cases) EXPECT_EQ(dropSide(c.x, c.y, area), c.side) << c.x << "," << c.y;
}

}  // namespace
}  // namespace veltrace::panes
