#include "panes/shader/live_check_text.h"

#include "base/text.h"

namespace veltrace {

std::string checkErrorText(const shader::CheckError& error) {
  return formatText("Line %d: %s", error.line, error.text.c_str());
}

std::string budgetText(const shader::ShaderBudget& budget) {
  std::string text = budget.version.name() + ": ";
  if (!budget.version.isPixel()) {
    text += formatText("%d of %d instruction slots", budget.instructionSlots.used, budget.instructionSlots.limit);
  } else {
    for (size_t i = 0; i < budget.phases.size(); ++i) {
      const shader::PhaseSlots& phase = budget.phases[i];
      if (budget.phases.size() > 1) text += formatText("%sphase %d: ", i > 0 ? "; " : "", static_cast<int>(i) + 1);
      text += formatText("%d of %d arithmetic, %d of %d texture slots", phase.arithmetic.used, phase.arithmetic.limit,
                         phase.texture.used, phase.texture.limit);
    }
    text += ";";
  }
  text += formatText("%s %d of %d temporary registers, %d of %d constant registers", budget.version.isPixel() ? "" : ",",
                     budget.temporaryRegisters.used, budget.temporaryRegisters.limit, budget.constantRegisters.used,
                     budget.constantRegisters.limit);
  return text;
}

}  // namespace veltrace
