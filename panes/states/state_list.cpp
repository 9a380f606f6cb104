#include "panes/states/state_list.h"

#include "base/text.h"
#include "effect/float_reading.h"
#include "effect/state_values.h"

namespace veltrace {

std::string StateList::valueText(const StateEntry& entry) {
  switch (entry.valueType) {
    case StateValueType::enumeration:
    case StateValueType::boolean: {
      // Should a file select several, the renderer applies them in order and
      // the last one wins; that is the one to show.
      const StateEnumerant* shown = nullptr;
      for (const StateEnumerant& enumerant : entry.enumerants)
        if (enumerant.selected) shown = &enumerant;
      return shown ? shown->name : notSetText;
    }
    case StateValueType::real:
      return entry.isSet ? formatText("%.5f", entry.numericValue) : std::string();
    case StateValueType::integer:
      return entry.isSet ? formatText("%i", truncateToInt32(entry.numericValue)) : std::string();
    case StateValueType::mask:
    case StateValueType::colour:
      return entry.isSet ? entry.textValue : std::string();
    case StateValueType::unknown:  // a catalogue line of a type the reader does not know
      break;
  }
  return {};
}

void StateList::rebuild() {
  rows_.clear();
  openEditor_ = StateEditorKind::none;
  if (!table_) return;
  for (const StateEntry& entry : *table_) rows_.push_back({entry.name, valueText(entry)});
}

StateEntry* StateList::currentEntry() {
  if (!table_ || currentRow_ < 0 || static_cast<size_t>(currentRow_) >= table_->size() ||
      static_cast<size_t>(currentRow_) >= rows_.size())
    return nullptr;
  return &(*table_)[static_cast<size_t>(currentRow_)];
}

StateEditorKind StateList::cellClicked(int row, int column) {
  if (column != valueColumn || !table_ || row < 0 || static_cast<size_t>(row) >= rows_.size() ||
      static_cast<size_t>(row) >= table_->size())
    return StateEditorKind::none;
  currentRow_ = row;
  const StateEntry& entry = (*table_)[static_cast<size_t>(row)];
  if (choosesEnumerants(entry.valueType)) {
    dropDownEntries_ = {notSetText};
    for (const StateEnumerant& enumerant : entry.enumerants) dropDownEntries_.push_back(enumerant.name);
    openEditor_ = StateEditorKind::dropDown;
  } else if (holdsNumber(entry.valueType)) {
    // The stored value is offered even when the state is not set.
    fieldText_ = formatText("%.5f", entry.numericValue);
    openEditor_ = StateEditorKind::textField;
  } else if (holdsLiteral(entry.valueType)) {
    fieldText_ = entry.textValue;
    openEditor_ = StateEditorKind::textField;
  } else {
    openEditor_ = StateEditorKind::none;
  }
  return openEditor_;
}

void StateList::dropDownClosed(int selected) {
  if (openEditor_ != StateEditorKind::dropDown) return;
  openEditor_ = StateEditorKind::none;
  StateEntry* entry = currentEntry();
  if (!entry || selected < 0 || static_cast<size_t>(selected) >= dropDownEntries_.size()) return;
  const std::string& chosen = dropDownEntries_[static_cast<size_t>(selected)];
  // Position k stands for the k-th enumerant: the one chosen becomes
  // selected, every other one that was selected no longer is. "..." at
  // position 0 leaves none selected.
  int position = 1;
  for (StateEnumerant& enumerant : entry->enumerants) {
    if (enumerant.selected && position != selected)
      enumerant.selected = false;
    else if (!enumerant.selected && enumerant.name == chosen)
      enumerant.selected = true;
    ++position;
  }
  rows_[static_cast<size_t>(currentRow_)].value = chosen;
}

void StateList::enterPressed(const std::string& fieldText) {
  if (openEditor_ != StateEditorKind::textField) return;
  openEditor_ = StateEditorKind::none;
  StateEntry* entry = currentEntry();
  if (!entry) return;
  rows_[static_cast<size_t>(currentRow_)].value = fieldText;
  // An empty text removes the state from the effect.
  entry->isSet = !fieldText.empty();
  if (holdsNumber(entry->valueType))
    entry->numericValue = readLenientFloat(fieldText);
  else if (holdsLiteral(entry->valueType))
    entry->textValue = fieldText;
}

void StateList::textFieldLostFocus() {
  if (openEditor_ == StateEditorKind::textField) openEditor_ = StateEditorKind::none;
}

void StateList::escapePressed(int dropDownSelection) {
  if (openEditor_ == StateEditorKind::textField)
    openEditor_ = StateEditorKind::none;
  else if (openEditor_ == StateEditorKind::dropDown)
    dropDownClosed(dropDownSelection);
}

}  // namespace veltrace
