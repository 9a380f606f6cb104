#include "panes/workspace/workspace_commands.h"

#include <algorithm>

#include "base/files.h"
#include "base/text.h"
#include "effect/effect_factory.h"
#include "effect/effect_files.h"

namespace veltrace {

namespace {

const char* variableWord(VariableKind kind) {
  switch (kind) {
    case VariableKind::matrix:
      return "matrix";
    case VariableKind::color:
      return "color";
    default:
      return "vector";
  }
}

FileDialogRequest effectDialog(bool save, const std::string& programFolder) {
  FileDialogRequest request;
  request.save = save;
  request.filter = save ? "Veltrace Effect (*.veff)|*.veff||" : "Veltrace Effect (*.veff)|*.veff|All Files(*.*)|*.*||";
  request.defaultExtension = "veff";
  request.initialFolder = programFolder + "\\effects\\";
  return request;
}

}  // namespace

std::unique_ptr<Effect> openEffectFile(const std::string& indexPath, const std::string& programFolder,
                                       MessageLog& log) {
  auto effect = std::make_unique<Effect>(createEffect(programFolder, log));
  if (!loadEffect(*effect, indexPath, programFolder, log)) return nullptr;
  // A shader file that cannot be read is reported and does not fail the load.
  readShaderSources(*effect, log);
  return effect;
}

WorkspaceHooks treeHooks(WorkspaceTree& tree, const std::string& programFolder, MessageLog& log) {
  WorkspaceHooks hooks;
  hooks.openEffect = [programFolder, &log](const std::string& indexPath) {
    return openEffectFile(indexPath, programFolder, log);
  };
  hooks.addEffectToTree = [&tree](Effect& effect) { return tree.addEffect(effect); };
  // The reader frees an effect whose filling fails: its items go first.
  hooks.fillEffectTree = [&tree](Effect& effect) {
    if (tree.fillEffect(effect)) return true;
    tree.removeEffect(effect);
    return false;
  };
  hooks.eraseEffectTree = [&tree](Effect& effect) { return tree.removeEffect(effect); };
  return hooks;
}

WorkspaceCommands::WorkspaceCommands(Workspace& workspace, WorkspaceTree& tree, WorkspaceUi& ui, MessageLog& log,
                                     std::string programFolder)
    : workspace_(workspace), tree_(tree), ui_(ui), log_(log), programFolder_(std::move(programFolder)) {}

void WorkspaceCommands::runMenuCommand(ItemId item, int command) {
  const TreeNode* node = tree_.node(item);
  if (!node) return;
  Effect* effect = node->effect;
  switch (node->kind) {
    case NodeKind::scene:
      if (command == 1) loadScene();
      if (command == 2) deleteScene();
      break;
    case NodeKind::effectsFolder:
      if (command == 1) newEffect();
      if (command == 2) loadEffect();
      if (command == 3) deleteAllEffects();
      break;
    case NodeKind::effect:
      if (command == 1) saveEffect(*effect);
      if (command == 2) deleteEffect(*effect);
      if (command == 3) editLabel(item);
      break;
    case NodeKind::vectorsFolder:
    case NodeKind::matricesFolder:
    case NodeKind::colorsFolder:
      if (command == 1) newVariable(*effect, *variableKindOf(node->kind));
      break;
    case NodeKind::vector:
    case NodeKind::matrix:
    case NodeKind::color:
      if (command == 1) {
        // The list is searched by position; a stale item finds nothing there.
        const VariableKind kind = *variableKindOf(node->kind);
        deleteVariable(*effect, kind, tree_.variableIndexOf(item).value_or(variablesOfKind(*effect, kind).size()));
      }
      break;
    default:
      break;
  }
}

bool WorkspaceCommands::confirmed() { return ui_.confirm(deleteQuestion, deleteCaption); }

void WorkspaceCommands::eraseFromList(const Effect& effect) {
  auto& effects = workspace_.effects;
  effects.erase(std::remove_if(effects.begin(), effects.end(), [&](const auto& e) { return e.get() == &effect; }),
                effects.end());
}

// ---------------------------------------------------------------- effects

void WorkspaceCommands::newEffect() {
  workspace_.effects.push_back(std::make_unique<Effect>(createEffect(programFolder_, log_)));
  Effect& effect = *workspace_.effects.back();
  if (!tree_.addEffect(effect)) {
    log_.append("Error while creating new effect in workspace !");
    // An effect the tree cannot show could be neither edited nor deleted.
    workspace_.effects.pop_back();
    return;
  }
  log_.append("Created new effect...");
}

void WorkspaceCommands::loadEffect() {
  const std::optional<std::string> path = ui_.chooseFile(effectDialog(false, programFolder_));
  if (!path) return;
  const std::string fileName = namePart(*path);

  std::unique_ptr<Effect> effect = openEffectFile(*path, programFolder_, log_);
  bool shown = false;
  if (effect) {
    if (!tree_.addEffect(*effect)) {
      log_.append("Error while creating new effect in workspace !");
    } else if (!tree_.fillEffect(*effect)) {
      log_.append("Error while updating new effect in workspace !");
      tree_.removeEffect(*effect);
    } else {
      shown = true;
    }
  }
  if (!shown) {
    log_.append(formatText("Failed to load effect \"%s\" !", fileName.c_str()));
    return;
  }
  workspace_.effects.push_back(std::move(effect));
  log_.append(formatText("Effect \"%s\" loaded successfully ...", fileName.c_str()));
}

void WorkspaceCommands::deleteAllEffects() {
  if (!confirmed()) return;
  if (!workspace_.effects.empty()) ui_.beforeDiscard();
  while (!workspace_.effects.empty()) {
    Effect& effect = *workspace_.effects.front();
    forgetEffect(workspace_.scene, &effect);
    ui_.effectDeleting(effect);
    if (!tree_.removeEffect(effect)) {
      log_.append("Error while erasing effect tree items !");
      return;
    }
    log_.append(formatText("Deleted effect \"%s\"...", effect.name.c_str()));
    workspace_.effects.erase(workspace_.effects.begin());
  }
}

void WorkspaceCommands::saveEffect(Effect& effect) {
  const std::optional<std::string> path = ui_.chooseFile(effectDialog(true, programFolder_));
  if (!path) return;
  if (!veltrace::saveEffect(effect, *path, programFolder_, log_)) return;
  // The effect now lives where it was saved: the workspace refers to this
  // file, and the shader panes read the sources just written.
  const std::string name = namePart(*path);
  effect.folder = folderPart(*path) + name.substr(0, name.rfind('.')) + "\\";
}

void WorkspaceCommands::deleteEffect(Effect& effect) {
  if (!confirmed()) return;
  auto& effects = workspace_.effects;
  auto found = std::find_if(effects.begin(), effects.end(), [&](const auto& e) { return e.get() == &effect; });
  if (found == effects.end()) {
    log_.append("Error while deleting effect !");
    return;
  }
  ui_.beforeDiscard();
  forgetEffect(workspace_.scene, &effect);
  std::unique_ptr<Effect> deleted = std::move(*found);
  effects.erase(found);
  ui_.effectDeleting(*deleted);
  log_.append(formatText("Deleted effect \"%s\"...", deleted->name.c_str()));
  // The items (and the panes showing the effect) go before the effect itself.
  if (!tree_.removeEffect(*deleted)) log_.append("Error while erasing effect tree items !");
}

void WorkspaceCommands::editLabel(ItemId effectItem) { tree_.startLabelEdit(effectItem); }

// ---------------------------------------------------------------- variables

void WorkspaceCommands::newVariable(Effect& effect, VariableKind kind) {
  auto& list = variablesOfKind(effect, kind);
  list.push_back(createVariable(kind));
  if (!tree_.addVariableItem(effect, kind)) {
    log_.append(formatText("Error while creating new %s in workspace !", variableWord(kind)));
    // Items stand for the list by position: a variable without one would
    // shift every later item onto its neighbour.
    list.pop_back();
  }
}

void WorkspaceCommands::deleteVariable(Effect& effect, VariableKind kind, size_t index) {
  if (!confirmed()) return;
  auto& list = variablesOfKind(effect, kind);
  if (index >= list.size()) {
    log_.append(formatText("Error while deleting %s !", variableWord(kind)));
    return;
  }
  const EffectVariable& variable = list[index];
  if (variable.vsRegister >= 0)
    if (Pane* pane = tree_.existingPane(effect, NodeKind::vertexShader)) pane->clearBoundRows(variable.vsRegister);
  if (variable.psRegister >= 0)
    if (Pane* pane = tree_.existingPane(effect, NodeKind::pixelShader)) pane->clearBoundRows(variable.psRegister);
  // The item (with the variable's editor) goes first, while the variable exists.
  const bool itemRemoved = tree_.removeVariableItem(effect, kind, index);
  list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
  if (!itemRemoved) log_.append(formatText("Error while erasing %s tree item !", variableWord(kind)));
}

// ---------------------------------------------------------------- scene

void WorkspaceCommands::loadScene() {
  ui_.beforeDiscard();
  ui_.loadScene();
}

void WorkspaceCommands::deleteScene() {
  ui_.beforeDiscard();
  ui_.deleteScene();
}

}  // namespace veltrace
