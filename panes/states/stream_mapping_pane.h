#pragma once
// The stream mapping pane: which vertex shader input register v0..v15 each
// item of stream 0 (Position, Normal, TexCoord, Tangent, BiNormal) feeds. A
// register choice rebuilds the effect's declaration at once and marks its
// shaders changed, so the next frame recreates the vertex shader with it.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "effect/effect.h"

namespace veltrace {

class StreamMappingPane {
 public:
  static constexpr std::string_view dialogName = "Stream Mapping";
  static constexpr std::string_view captionFormat = "%s - StreamMapping";
  static constexpr std::string_view helpTopic = "::/html/streammapping.htm";
  static constexpr int registerColumn = 2;
  static constexpr int registerCount = 16;

  struct Row {
    std::string dataName;
    std::string dataType;
    std::string registerText;  // "v7"
  };

  struct Column {
    std::string_view title;
    int width;
  };
  // The list's columns for a list listWidth pixels wide.
  static std::array<Column, 3> columns(int listWidth);
  // The register chooser's entries: "v0" to "v15".
  static std::vector<std::string> registerChoices();

  explicit StreamMappingPane(Effect& effect) : effect_(effect) {}

  // Shown and hidden both rebuild the rows from the effect.
  void shown() { rebuildRows(); }
  void hidden() { rebuildRows(); }

  // A click on a cell; true when it opens the register chooser (only the
  // register column of an existing row does).
  bool cellClicked(int row, int column);
  bool chooserOpen() const { return chooserOpen_; }
  // The chooser closed with entry `selected` chosen (-1 = none).
  void chooserClosed(int selected);

  void apply();
  // "OK": the dialog hides itself; the mapping is applied even when
  // nothing changed.
  void ok();

  const std::vector<Row>& rows() const { return rows_; }
  int currentRow() const { return currentRow_; }

 private:
  void rebuildRows();

  Effect& effect_;
  std::vector<Row> rows_;
  int currentRow_ = -1;
  bool chooserOpen_ = false;
};

}  // namespace veltrace
