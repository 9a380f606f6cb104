#pragma once
// The Textures pane of one effect: which texture goes on which stage. Three
// fixed rows for the mesh material's base, bump and alpha textures, a
// separator, then one row per texture file the effect binds, with the size
// the texture store holds it at. Below the list, a tab per stage shows that
// stage's texture stage states.
//
// The pane holds one use of each slot's texture in the texture store for as
// long as the slot and the pane live, however often it is shown, and gives it
// back on Delete or when the pane goes with its effect. The store must
// therefore outlive the pane.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/message_log.h"
#include "effect/effect.h"
#include "panes/states/pane_resize.h"
#include "panes/states/state_panes.h"
#include "render/texture/texture_store.h"

namespace veltrace {

class TexturesPane {
 public:
  static constexpr std::string_view dialogName = "Textures";
  static constexpr std::string_view captionFormat = "%s - Textures/Stages/States";
  static constexpr std::string_view helpTopic = "::/html/texturesstagesstates.htm";
  static constexpr std::string_view loadDefaultExtension = "bmp";
  static constexpr std::string_view loadFilter =
      "Texture Files (*.bmp,*.jpg,*.tga,*.dds,*.png,*.dib)|*.bmp;*.jpg;*.tga;*.dds;*.png;*.dib|All Files(*.*)|*.*||";
  static constexpr std::string_view loadFolderSuffix = "\\media\\textures\\";
  static constexpr std::string_view stageNotChosen = "Please choose ...";
  static constexpr std::string_view clearChoice = "Clear";

  // Rows 0 to 2 are the material textures, row 3 the separator, row 4 + i
  // texture slot i.
  static constexpr int baseRow = 0;
  static constexpr int bumpRow = 1;
  static constexpr int alphaRow = 2;
  static constexpr int separatorRow = 3;
  static constexpr int firstSlotRow = 4;
  static constexpr int stageColumn = 1;

  enum class Column { texture, stage, width, height, size };
  static constexpr int columnCount = 5;

  struct Row {
    std::array<std::string, columnCount> cells;
    const std::string& cell(Column column) const { return cells[static_cast<size_t>(column)]; }
  };
  struct ColumnLayout {
    std::string_view title;
    int width;
  };
  static std::array<ColumnLayout, columnCount> columns(int listWidth);
  // The stage drop-down: "Clear", then "0" to "7".
  static std::vector<std::string> stageChoices();

  // Initialise: the material rows and the separator. clientWidth and
  // clientHeight are the window's first client size, for the resize rule.
  TexturesPane(Effect& effect, TextureStore& store, MessageLog& log, int clientWidth = 0, int clientHeight = 0);
  ~TexturesPane();
  TexturesPane(const TexturesPane&) = delete;
  TexturesPane& operator=(const TexturesPane&) = delete;

  // Shown: the slot rows again, and the stage pages. Hidden (also after OK
  // and Cancel): the stage pages go.
  void shown();
  void hidden();

  // A left click on a cell; true when it opens the stage drop-down over it.
  bool cellClicked(int row, int column);
  // The stage drop-down closed with entry `selected` chosen (-1 = none).
  void stageChosen(int selected);
  // A right click; true when the pop-up menu with "Delete" opens.
  bool rowRightClicked(int row);

  // "Load" after the file-open dialog returned a file.
  void textureFileChosen(const std::string& fullPath);
  // "Delete" with this many rows selected in the list; acts on the current
  // row (the last one clicked), not on the selection.
  void deleteTexture(int selectedRowCount);

  // The stage tabs, one page each, bound to that stage's state table. A
  // page's window exists only while the pane is shown, and only the selected
  // tab's page is visible; a page fills its rows when it is shown.
  TextureStagePage& page(int stage) { return pages_[static_cast<size_t>(stage)]; }
  void tabChanging() { pageVisible_ = false; }
  void tabChanged(int stage);
  int selectedStage() const { return selectedStage_; }
  bool pagesExist() const { return pagesExist_; }
  // The stage whose page is visible, -1 when none is.
  int visiblePage() const { return pagesExist_ && pageVisible_ ? selectedStage_ : -1; }

  // The list grows and the controls under it move down by the change of
  // height, but only while the window stays above 580 x 500.
  ResizeTracker& resizeTracker() { return resize_; }

  const std::vector<Row>& rows() const { return rows_; }
  int currentRow() const { return currentRow_; }
  bool stageChooserOpen() const { return stageChooserOpen_; }
  // The path of the texture file on the current row, for the preview beside
  // the list; empty on the material rows and the separator.
  std::string currentTexturePath() const;
  // Set when the scene information tree should be built again (a texture was
  // loaded or deleted); taking it clears it.
  bool takeSceneInfoRefresh();

 private:
  Row materialRow(std::string_view title, std::int32_t stage) const;
  Row slotRow(const TextureSlot& slot, std::string stageText) const;
  void holdSlotTextures();
  void holdTexture(const std::string& path);
  void releaseHeldTexture(const std::string& path);
  std::int32_t* stageOfRow(int row);

  Effect& effect_;
  TextureStore& store_;
  MessageLog& log_;
  std::vector<Row> rows_;
  // The paths whose textures this pane holds one use of, one per slot.
  std::vector<std::string> heldPaths_;
  int currentRow_ = -1;
  bool stageChooserOpen_ = false;
  int selectedStage_ = 0;
  bool pagesExist_ = false;
  bool pageVisible_ = true;
  bool sceneInfoRefresh_ = false;
  ResizeTracker resize_;
  std::vector<TextureStagePage> pages_;
};

}  // namespace veltrace
