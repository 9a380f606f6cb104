#include "panes/shader/constant_binding.h"

#include "base/text.h"

namespace veltrace {

namespace {

constexpr int matrixRowCount = 4;
constexpr VariableKind kindsInListOrder[] = {VariableKind::vector, VariableKind::matrix, VariableKind::color};

bool hasVariables(const Effect& effect) {
  return !effect.vectors.empty() || !effect.matrices.empty() || !effect.colors.empty();
}

const char* chooserPrefix(VariableKind kind) {
  switch (kind) {
    case VariableKind::matrix: return "Matrix-> %s";
    case VariableKind::color: return "Color-> %s";
    case VariableKind::vector: break;
  }
  return "Vector-> %s";
}

// "Vector", "Color" as the refusal messages start.
const char* kindWord(VariableKind kind) { return kind == VariableKind::color ? "Color" : "Vector"; }

}  // namespace

std::int32_t& boundRegister(EffectVariable& variable, ShaderPaneKind kind) {
  return kind == ShaderPaneKind::vertex ? variable.vsRegister : variable.psRegister;
}

std::int32_t boundRegister(const EffectVariable& variable, ShaderPaneKind kind) {
  return kind == ShaderPaneKind::vertex ? variable.vsRegister : variable.psRegister;
}

ConstantBinding::ConstantBinding(ShaderPaneKind kind, Effect& effect, MessageLog& log)
    : kind_(kind), effect_(effect), log_(log) {}

void ConstantBinding::resetRows() {
  rows_.assign(static_cast<std::size_t>(constantRegisterCount(kind_)), ConstantRow{});
  writeLabels();
}

void ConstantBinding::writeLabels() {
  for (std::size_t i = 0; i < rows_.size(); ++i) rows_[i].label = formatText("c[%i]", static_cast<int>(i));
}

void ConstantBinding::blankRows() {
  for (ConstantRow& row : rows_) row = ConstantRow{};
}

EffectVariable* ConstantBinding::variableOf(const std::optional<VariableRef>& ref) const {
  if (!ref) return nullptr;
  std::vector<EffectVariable>& variables = variablesOfKind(effect_, ref->kind);
  return ref->index < variables.size() ? &variables[ref->index] : nullptr;
}

void ConstantBinding::clearRow(int row) {
  if (!isRow(row)) return;
  std::string label = std::move(rows_[static_cast<std::size_t>(row)].label);
  rows_[static_cast<std::size_t>(row)] = ConstantRow{};
  rows_[static_cast<std::size_t>(row)].label = std::move(label);
}

void ConstantBinding::writeVariableRows(VariableRef ref, const EffectVariable& variable) {
  int first = boundRegister(variable, kind_);
  bool matrix = variable.kind == VariableKind::matrix;
  for (int i = 0; i < (matrix ? matrixRowCount : 1); ++i) {
    // A register stored in the effect files may lie beyond this kind's rows.
    if (!isRow(first + i)) continue;
    ConstantRow& row = rows_[static_cast<std::size_t>(first + i)];
    row.name = matrix ? formatText("%s[%d]", variable.name.c_str(), i) : variable.name;
    for (int component = 0; component < 4; ++component)
      row.values[component] = formatText("%.2f", variable.value[static_cast<std::size_t>(4 * i + component)]);
    row.variable = ref;
  }
}

void ConstantBinding::RefreshConstantsList() {
  if (!hasVariables(effect_)) return;
  for (VariableKind kind : kindsInListOrder) {
    const std::vector<EffectVariable>& variables = variablesOfKind(effect_, kind);
    for (std::size_t i = 0; i < variables.size(); ++i)
      if (boundRegister(variables[i], kind_) >= 0) writeVariableRows({kind, i}, variables[i]);
  }
}

bool ConstantBinding::ShowVariableChooser(int row, int column) {
  if (column != nameColumn) return false;
  currentRow_ = row;
  if (!hasVariables(effect_)) return false;
  if (row < 0 || row > highestConstantRegister(kind_)) return false;
  chooserEntries_.clear();
  chooserEntries_.push_back({"...", std::nullopt});
  for (VariableKind kind : kindsInListOrder) {
    const std::vector<EffectVariable>& variables = variablesOfKind(effect_, kind);
    for (std::size_t i = 0; i < variables.size(); ++i)
      chooserEntries_.push_back({formatText(chooserPrefix(kind), variables[i].name.c_str()), VariableRef{kind, i}});
  }
  chooserVisible_ = true;
  return true;
}

void ConstantBinding::unbindRow(int row) {
  EffectVariable* occupant = isRow(row) ? variableOf(rows_[static_cast<std::size_t>(row)].variable) : nullptr;
  if (occupant && occupant->kind == VariableKind::matrix) {
    int first = boundRegister(*occupant, kind_);
    for (int r = first; r < first + matrixRowCount; ++r) {
      if (!isRow(r)) continue;
      if (EffectVariable* held = variableOf(rows_[static_cast<std::size_t>(r)].variable))
        boundRegister(*held, kind_) = noRegister;
      clearRow(r);
    }
  } else if (occupant) {
    boundRegister(*occupant, kind_) = noRegister;
    clearRow(row);
  }
  effect_.shadersChanged = true;
}

bool ConstantBinding::refuseAlreadyBound(const EffectVariable& variable) {
  int bound = boundRegister(variable, kind_);
  if (bound < 0) return false;
  const char* name = variable.name.c_str();
  if (variable.kind == VariableKind::matrix)
    log_.append(formatText("Matrix \"%s\" already set from Register c[%d] to c[%d] !", name, bound, bound + 3));
  else
    log_.append(formatText("%s \"%s\" already set in Register c[%d] !", kindWord(variable.kind), name, bound));
  return true;
}

bool ConstantBinding::refuseMatrixPlace(const EffectVariable& matrix, int row) {
  if (row + matrixRowCount - 1 > highestConstantRegister(kind_)) {
    log_.append(formatText("Matrix \"%s\" could not be set - not enough registers free in constants list !",
                           matrix.name.c_str()));
    return true;
  }
  for (int k = 0; k < matrixRowCount; ++k) {
    if (!isRow(row + k)) continue;
    if (const EffectVariable* occupant = variableOf(rows_[static_cast<std::size_t>(row + k)].variable)) {
      log_.append(formatText("Matrix \"%s\" could not be set - Register c[%d] is already occupied by \"%s\" !",
                             matrix.name.c_str(), boundRegister(*occupant, kind_), occupant->name.c_str()));
      return true;
    }
  }
  return false;
}

void ConstantBinding::ApplyVariableChoice(std::optional<std::size_t> chosenEntry) {
  chooserVisible_ = false;
  int row = currentRow_;
  if (!chosenEntry || *chosenEntry >= chooserEntries_.size() || row < 0 || row > highestConstantRegister(kind_))
    return;
  const std::optional<VariableRef> chosenRef = chooserEntries_[*chosenEntry].variable;
  EffectVariable* chosen = variableOf(chosenRef);
  if (!chosenRef) {
    unbindRow(row);
    return;
  }
  if (!chosen) return;  // the variable went away since the chooser was filled
  if (refuseAlreadyBound(*chosen)) return;
  if (chosen->kind == VariableKind::matrix) {
    if (refuseMatrixPlace(*chosen, row)) return;
  } else if (const EffectVariable* occupant = isRow(row) ? variableOf(rows_[static_cast<std::size_t>(row)].variable) : nullptr) {
    log_.append(formatText("%s \"%s\" could not be set - Register c[%d] is already occupied by \"%s\" !",
                           kindWord(chosen->kind), chosen->name.c_str(), row, occupant->name.c_str()));
    return;
  }
  boundRegister(*chosen, kind_) = row;
  RefreshConstantsList();
  effect_.shadersChanged = true;
}

void ConstantBinding::ClearBoundRows(int registerNumber) {
  if (rows_.empty() || !isRow(registerNumber)) return;
  EffectVariable* variable = variableOf(rows_[static_cast<std::size_t>(registerNumber)].variable);
  if (!variable) return;
  int count = variable->kind == VariableKind::matrix ? matrixRowCount : 1;
  for (int r = registerNumber; r < registerNumber + count; ++r) clearRow(r);
}

void ConstantBinding::variableRemoved(VariableRef removed) {
  for (ConstantRow& row : rows_) {
    if (!row.variable || row.variable->kind != removed.kind) continue;
    if (row.variable->index == removed.index)
      row.variable.reset();
    else if (row.variable->index > removed.index)
      --row.variable->index;
  }
  // The entries name variables by place; an open chooser would offer the
  // wrong ones now.
  chooserEntries_.clear();
  chooserVisible_ = false;
}

}  // namespace veltrace
