#pragma once
// The two panes built on the state list: the render state pane of an effect
// and the texture stage page of one stage inside the Textures pane. They
// differ only in titles, column widths, which clicks open an editor, and
// layout.

#include <array>
#include <string_view>

#include "effect/effect.h"
#include "panes/states/pane_resize.h"
#include "panes/states/state_list.h"

namespace veltrace {

struct StateListColumn {
  std::string_view title;
  int width;
};

enum class MouseButton { left, right };

class RenderStatesPane {
 public:
  static constexpr std::string_view dialogName = "Renderstates";
  static constexpr std::string_view captionFormat = "%s - RenderStates";
  static constexpr std::string_view label = "Set up Render States :";
  static constexpr std::string_view helpTopic = "::/html/renderstates.htm";

  // clientWidth and clientHeight: the window's first client size, for the
  // resize rule.
  explicit RenderStatesPane(Effect& effect, int clientWidth = 0, int clientHeight = 0);

  // The columns for a pane whose client area is clientWidth pixels wide.
  static std::array<StateListColumn, 2> columns(int clientWidth);

  void shown() { list_.rebuild(); }
  // Left and right clicks both open the value editor.
  StateEditorKind cellClicked(int row, int column, MouseButton) { return list_.cellClicked(row, column); }

  StateList& list() { return list_; }
  const StateList& list() const { return list_; }
  // Above 100 x 100 the list grows by the change of size and "OK" and "Help"
  // move down by the change of height.
  ResizeTracker& resizeTracker() { return resize_; }

 private:
  StateList list_;
  ResizeTracker resize_;
};

class TextureStagePage {
 public:
  explicit TextureStagePage(StageStates& stage) : stage_(stage), list_(&stage.settings) {}

  // The columns for a list listWidth pixels wide.
  static std::array<StateListColumn, 2> columns(int listWidth);

  int stage() const { return stage_.stage; }
  void shown() { list_.rebuild(); }
  // Only a left click opens the value editor.
  StateEditorKind cellClicked(int row, int column, MouseButton button) {
    return button == MouseButton::left ? list_.cellClicked(row, column) : StateEditorKind::none;
  }

  StateList& list() { return list_; }
  const StateList& list() const { return list_; }

 private:
  StageStates& stage_;
  StateList list_;
};

}  // namespace veltrace
