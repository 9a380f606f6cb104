#include "panes/states/textures_pane.h"

#include <algorithm>

#include "base/files.h"
#include "base/text.h"

namespace veltrace {

namespace {

constexpr int leastResizeWidth = 580;
constexpr int leastResizeHeight = 500;

std::string stageText(std::int32_t stage, std::string_view whenNone) {
  return stage == noStage ? std::string(whenNone) : formatText("%d", stage);
}

}  // namespace

std::array<TexturesPane::ColumnLayout, TexturesPane::columnCount> TexturesPane::columns(int listWidth) {
  return {{{"Texture", listWidth / 3 + 20},
           {"Texture Stage", listWidth / 4},
           {"Width", listWidth / 9},
           {"Height", listWidth / 9},
           {"Size", listWidth / 7}}};
}

std::vector<std::string> TexturesPane::stageChoices() {
  std::vector<std::string> choices{std::string(clearChoice)};
  for (int stage = 0; stage < textureStageCount; ++stage) choices.push_back(formatText("%d", stage));
  return choices;
}

TexturesPane::TexturesPane(Effect& effect, TextureStore& store, MessageLog& log, int clientWidth, int clientHeight)
    : effect_(effect), store_(store), log_(log), resize_(leastResizeWidth, leastResizeHeight) {
  resize_.remember(clientWidth, clientHeight);
  const TextureStageTable& table = effect_.textureStages;
  rows_.push_back(materialRow("Material Base Texture", table.baseStage));
  rows_.push_back(materialRow("Material Bump Texture", table.bumpStage));
  rows_.push_back(materialRow("Material Alpha Texture", table.alphaStage));
  rows_.push_back(Row{{"---------------------------------------------------------", "-----------------------------------",
                       "--------------", "--------------", "-------------------"}});
  for (StageStates& stage : effect_.textureStages.stages) pages_.emplace_back(stage);
}

TexturesPane::~TexturesPane() {
  for (const std::string& path : heldPaths_) store_.release(path);
}

TexturesPane::Row TexturesPane::materialRow(std::string_view title, std::int32_t stage) const {
  Row row;
  row.cells[0] = std::string(title);
  row.cells[1] = stageText(stage, stageNotChosen);
  return row;
}

TexturesPane::Row TexturesPane::slotRow(const TextureSlot& slot, std::string stage) const {
  Row row;
  row.cells[0] = slot.name;
  row.cells[1] = std::move(stage);
  if (const TextureStore::Entry* entry = store_.findByPath(slot.path)) {
    const LoadedTexture& texture = entry->texture;
    row.cells[2] = formatText("%i px", static_cast<int>(texture.width));
    row.cells[3] = formatText("%i px", static_cast<int>(texture.height));
    // Thousands of bytes, not 1024s.
    row.cells[4] = formatText("%.2f kB", texture.topLevelBytes * 0.001);
  }
  return row;
}

// Each slot holds one use of its texture: uses this pane already holds for a
// path are matched to the slots of that path first, new slots acquire one,
// and uses that no slot matches any more are given back.
void TexturesPane::holdSlotTextures() {
  std::vector<std::string> unmatched = std::move(heldPaths_);
  heldPaths_.clear();
  for (const TextureSlot& slot : effect_.textureStages.textures) {
    auto held = std::find(unmatched.begin(), unmatched.end(), slot.path);
    if (held != unmatched.end()) {
      unmatched.erase(held);
      heldPaths_.push_back(slot.path);
    } else {
      holdTexture(slot.path);
    }
  }
  for (const std::string& path : unmatched) store_.release(path);
}

// Not even the default texture may have loaded; then there is no use to give
// back later.
void TexturesPane::holdTexture(const std::string& path) {
  if (store_.acquire(path)) heldPaths_.push_back(path);
}

void TexturesPane::releaseHeldTexture(const std::string& path) {
  auto held = std::find(heldPaths_.begin(), heldPaths_.end(), path);
  if (held == heldPaths_.end()) return;
  heldPaths_.erase(held);
  store_.release(path);
}

void TexturesPane::shown() {
  rows_.resize(firstSlotRow);
  holdSlotTextures();
  for (const TextureSlot& slot : effect_.textureStages.textures) rows_.push_back(slotRow(slot, stageText(slot.stage, "")));
  pagesExist_ = true;
  pageVisible_ = true;
  page(selectedStage_).shown();
}

void TexturesPane::hidden() {
  pagesExist_ = false;
  stageChooserOpen_ = false;
}

bool TexturesPane::cellClicked(int row, int column) {
  if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return false;
  currentRow_ = row;
  if (row == separatorRow || column != stageColumn) return false;
  stageChooserOpen_ = true;
  return true;
}

std::int32_t* TexturesPane::stageOfRow(int row) {
  TextureStageTable& table = effect_.textureStages;
  switch (row) {
    case baseRow: return &table.baseStage;
    case bumpRow: return &table.bumpStage;
    case alphaRow: return &table.alphaStage;
    case separatorRow: return nullptr;
  }
  const size_t slot = static_cast<size_t>(row - firstSlotRow);
  return row > separatorRow && slot < table.textures.size() ? &table.textures[slot].stage : nullptr;
}

void TexturesPane::stageChosen(int selected) {
  stageChooserOpen_ = false;
  const std::vector<std::string> choices = stageChoices();
  if (selected < 0 || static_cast<size_t>(selected) >= choices.size()) return;
  std::int32_t* stage = stageOfRow(currentRow_);
  if (!stage) return;
  const std::string& chosen = choices[static_cast<size_t>(selected)];
  const bool clear = chosen == clearChoice;
  *stage = clear ? noStage : readLenientInt(chosen);
  rows_[static_cast<size_t>(currentRow_)].cells[stageColumn] = clear ? std::string() : chosen;
}

bool TexturesPane::rowRightClicked(int row) {
  if (row <= separatorRow || static_cast<size_t>(row) >= rows_.size()) return false;
  currentRow_ = row;
  return true;
}

void TexturesPane::textureFileChosen(const std::string& fullPath) {
  TextureSlot slot;
  slot.name = namePart(fullPath);
  slot.path = fullPath;
  effect_.textureStages.textures.push_back(slot);
  holdTexture(slot.path);
  rows_.push_back(slotRow(slot, std::string(stageNotChosen)));
  sceneInfoRefresh_ = true;
}

void TexturesPane::deleteTexture(int selectedRowCount) {
  if (selectedRowCount <= 0) return;
  if (selectedRowCount > 1) {
    log_.append("Error: Multiple Textures selected !");
    return;
  }
  if (currentRow_ >= baseRow && currentRow_ <= alphaRow) {
    log_.append("Texture not deleted - it is set by Material");
    return;
  }
  // The row stands for its own slot: with two slots of the same file name,
  // looking the slot up by name would remove the other one.
  auto& textures = effect_.textureStages.textures;
  const size_t slotIndex = static_cast<size_t>(currentRow_ - firstSlotRow);
  if (currentRow_ < firstSlotRow || slotIndex >= textures.size() ||
      static_cast<size_t>(currentRow_) >= rows_.size())
    return;
  const TextureSlot slot = textures[slotIndex];
  releaseHeldTexture(slot.path);
  textures.erase(textures.begin() + static_cast<std::ptrdiff_t>(slotIndex));
  rows_.erase(rows_.begin() + currentRow_);
  currentRow_ = -1;
  log_.append(formatText("Texture \"%s\" deleted ...", slot.name.c_str()));
  sceneInfoRefresh_ = true;
}

void TexturesPane::tabChanged(int stage) {
  if (stage < 0 || stage >= textureStageCount) return;
  selectedStage_ = stage;
  pageVisible_ = true;
  if (pagesExist_) page(stage).shown();
}

std::string TexturesPane::currentTexturePath() const {
  const size_t slot = static_cast<size_t>(currentRow_ - firstSlotRow);
  if (currentRow_ < firstSlotRow || slot >= effect_.textureStages.textures.size()) return {};
  return effect_.textureStages.textures[slot].path;
}

bool TexturesPane::takeSceneInfoRefresh() {
  const bool requested = sceneInfoRefresh_;
  sceneInfoRefresh_ = false;
  return requested;
}

}  // namespace veltrace
