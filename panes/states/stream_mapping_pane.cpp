#include "panes/states/stream_mapping_pane.h"

#include "base/text.h"
#include "effect/declaration.h"

namespace veltrace {

namespace {

std::string registerText(std::int32_t inputRegister) { return formatText("v%d", inputRegister); }

}  // namespace

std::array<StreamMappingPane::Column, 3> StreamMappingPane::columns(int listWidth) {
  return {{{"Vertice Data", listWidth / 4 + 10},
           {"Data Type", listWidth / 4 + 10},
           {"Map to Register", listWidth / 3 + 10}}};
}

std::vector<std::string> StreamMappingPane::registerChoices() {
  std::vector<std::string> choices;
  for (int inputRegister = 0; inputRegister < registerCount; ++inputRegister)
    choices.push_back(registerText(inputRegister));
  return choices;
}

void StreamMappingPane::rebuildRows() {
  rows_.clear();
  for (const StreamMappingEntry& entry : effect_.streamMapping.entries)
    rows_.push_back({entry.dataName, entry.dataType, registerText(entry.inputRegister)});
}

bool StreamMappingPane::cellClicked(int row, int column) {
  if (column != registerColumn || row < 0 || static_cast<size_t>(row) >= rows_.size()) return false;
  currentRow_ = row;
  chooserOpen_ = true;
  return true;
}

void StreamMappingPane::chooserClosed(int selected) {
  chooserOpen_ = false;
  auto& entries = effect_.streamMapping.entries;
  if (selected < 0 || selected >= registerCount) return;
  if (currentRow_ < 0 || static_cast<size_t>(currentRow_) >= entries.size() ||
      static_cast<size_t>(currentRow_) >= rows_.size())
    return;
  StreamMappingEntry& entry = entries[static_cast<size_t>(currentRow_)];
  entry.inputRegister = selected;
  rows_[static_cast<size_t>(currentRow_)].registerText = registerText(selected);
  apply();
}

void StreamMappingPane::apply() {
  buildDeclaration(effect_.streamMapping);
  effect_.shadersChanged = true;
}

void StreamMappingPane::ok() { apply(); }

}  // namespace veltrace
