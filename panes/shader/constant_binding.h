#pragma once
// Binding an effect's variables to the constant registers of one shader
// kind, as the constants list of a shader pane shows and edits it.
//
// The binding itself lives only in each variable's vsRegister or psRegister.
// The rows are a view of it: each row shows the variable occupying its
// register (a matrix occupies four rows, one per matrix row) and refers to
// that variable. Refusals go to the message log; nothing here opens a
// dialog. The dialog maps rows and chooser entries to its controls and
// forwards clicks and choices.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/message_log.h"
#include "effect/effect.h"
#include "panes/shader/shader_pane_kind.h"

namespace veltrace {

// A variable of the effect, by its list and its place in the list.
struct VariableRef {
  VariableKind kind = VariableKind::vector;
  std::size_t index = 0;
  friend bool operator==(const VariableRef&, const VariableRef&) = default;
};

// The columns of the constants list.
enum ConstantsColumn : int { constantColumn = 0, nameColumn = 1, xColumn, yColumn, zColumn, wColumn };
inline constexpr const char* constantsColumnTitles[] = {"Constant", "Name", "X", "Y", "Z", "W"};

struct ConstantRow {
  std::string label;  // "c[%i]"
  std::string name;
  std::string values[4];  // X, Y, Z, W
  std::optional<VariableRef> variable;
  friend bool operator==(const ConstantRow&, const ConstantRow&) = default;
};

struct ChooserEntry {
  std::string text;                     // "...", "Vector-> %s", "Matrix-> %s", "Color-> %s"
  std::optional<VariableRef> variable;  // none for "..."
};

// The register field a pane of this kind binds.
std::int32_t& boundRegister(EffectVariable& variable, ShaderPaneKind kind);
std::int32_t boundRegister(const EffectVariable& variable, ShaderPaneKind kind);

class ConstantBinding {
 public:
  ConstantBinding(ShaderPaneKind kind, Effect& effect, MessageLog& log);

  ShaderPaneKind kind() const { return kind_; }
  const std::vector<ConstantRow>& rows() const { return rows_; }
  const std::vector<ChooserEntry>& chooserEntries() const { return chooserEntries_; }
  bool chooserVisible() const { return chooserVisible_; }
  int currentRow() const { return currentRow_; }

  // One row per register with its label and nothing else (the pane does this
  // every time it is shown or hidden).
  void resetRows();
  // Writes the labels again, leaving the other cells.
  void writeLabels();
  // Empties every cell, labels included, and drops every row's variable; the
  // variables keep their registers (the pane's shader is switched off).
  void blankRows();

  // Writes the rows of every bound variable: vectors, then matrices, then
  // colours. Rows of unbound variables are left as they are.
  void RefreshConstantsList();

  // A click (either button) on a cell. Only the Name column counts: the row
  // becomes the current row and, when the effect has variables and the row
  // is a register of this kind, the chooser is filled and shown. True when it
  // was shown.
  bool ShowVariableChooser(int row, int column);

  // The chooser closed with this entry picked, or with none. Binds, unbinds
  // or logs why not; hides the chooser in every case.
  void ApplyVariableChoice(std::optional<std::size_t> chosenEntry);

  // Blanks the rows a variable about to be deleted occupies from this
  // register (four for a matrix). Its register fields stay as they are.
  void ClearBoundRows(int registerNumber);

  // After a variable was removed from the effect: rows referring to it lose
  // the reference, later variables of its kind move up by one, an open
  // chooser closes.
  void variableRemoved(VariableRef removed);

 private:
  EffectVariable* variableOf(const std::optional<VariableRef>& ref) const;
  bool isRow(int row) const { return row >= 0 && static_cast<std::size_t>(row) < rows_.size(); }
  void clearRow(int row);
  void writeVariableRows(VariableRef ref, const EffectVariable& variable);
  // Steps of a choice; each returns whether it refused (and logged why).
  bool refuseAlreadyBound(const EffectVariable& variable);
  bool refuseMatrixPlace(const EffectVariable& matrix, int row);
  void unbindRow(int row);

  ShaderPaneKind kind_;
  Effect& effect_;
  MessageLog& log_;
  std::vector<ConstantRow> rows_;
  std::vector<ChooserEntry> chooserEntries_;
  bool chooserVisible_ = false;
  int currentRow_ = -1;
};

}  // namespace veltrace
