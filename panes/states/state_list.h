#pragma once
// The editing scheme shared by the render state pane and the texture stage
// pages: a two-column list with one row per state of a state table (name and
// value) and an editor placed over the Value cell: a drop-down of the named
// values for enumerated and boolean states, a one-line text field for
// numbers, masks and colours. Every change goes into the table at once.

#include <string>
#include <vector>

#include "effect/effect.h"

namespace veltrace {

enum class StateEditorKind { none, dropDown, textField };

class StateList {
 public:
  static constexpr int nameColumn = 0;
  static constexpr int valueColumn = 1;
  // The first drop-down entry: no value, the state is not set.
  static constexpr const char* notSetText = "...";

  struct Row {
    std::string name;
    std::string value;
  };

  // table may be null (a pane without a table shows nothing).
  explicit StateList(std::vector<StateEntry>* table) : table_(table) {}

  // The value cell of a state as the list shows it.
  static std::string valueText(const StateEntry& entry);

  // Removes every row and adds one per entry of the table.
  void rebuild();

  // A click on a cell opens the editor of that row's value, except in the
  // name column. Returns the editor it opened; none when it opened nothing.
  StateEditorKind cellClicked(int row, int column);

  // The drop-down closed with entry `selected` chosen: -1 = none, 0 = "...",
  // k = the k-th enumerant.
  void dropDownClosed(int selected);
  // Enter: commits the text field when it is open; ignored otherwise. Never
  // closes the window.
  void enterPressed(const std::string& fieldText);
  // The text field lost the focus: it hides without committing.
  void textFieldLostFocus();
  // Escape: the text field hides without committing; an open drop-down
  // closes and its selection at that moment is applied. Never closes the
  // window.
  void escapePressed(int dropDownSelection);

  const std::vector<Row>& rows() const { return rows_; }
  StateEditorKind openEditor() const { return openEditor_; }
  int currentRow() const { return currentRow_; }
  // What the open editor offers: the drop-down's entries, or the text field's
  // text.
  const std::vector<std::string>& dropDownEntries() const { return dropDownEntries_; }
  const std::string& fieldText() const { return fieldText_; }

 private:
  StateEntry* currentEntry();

  std::vector<StateEntry>* table_;
  std::vector<Row> rows_;
  int currentRow_ = -1;
  StateEditorKind openEditor_ = StateEditorKind::none;
  std::vector<std::string> dropDownEntries_;
  std::string fieldText_;
};

}  // namespace veltrace
