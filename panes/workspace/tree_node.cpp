#include "panes/workspace/tree_node.h"

namespace veltrace {

std::vector<MenuEntry> contextMenu(NodeKind kind) {
  switch (kind) {
    case NodeKind::scene:
      return {{"Load Scene", 1}, {"", 0}, {"Delete Scene", 2}};
    case NodeKind::effectsFolder:
      return {{"New Effect", 1}, {"Load Effect", 2}, {"", 0}, {"Delete all Effects", 3}};
    case NodeKind::effect:
      return {{"Save Effect", 1}, {"Delete Effect", 2}, {"", 0}, {"Edit Label", 3}};
    case NodeKind::vectorsFolder:
      return {{"New Vector", 1}};
    case NodeKind::matricesFolder:
      return {{"New Matrix", 1}};
    case NodeKind::colorsFolder:
      return {{"New Color", 1}};
    case NodeKind::vector:
      return {{"Delete Vector", 1}};
    case NodeKind::matrix:
      return {{"Delete Matrix", 1}};
    case NodeKind::color:
      return {{"Delete Color", 1}};
    default:
      return {};
  }
}

std::optional<PaneKind> paneKindOf(NodeKind kind) {
  switch (kind) {
    case NodeKind::vector:
    case NodeKind::matrix:
    case NodeKind::color:
      return PaneKind::variableEditor;
    case NodeKind::texturesStagesStates:
      return PaneKind::texturesStagesStates;
    case NodeKind::renderStates:
      return PaneKind::renderStates;
    case NodeKind::streamMapping:
      return PaneKind::streamMapping;
    case NodeKind::vertexShader:
      return PaneKind::vertexShader;
    case NodeKind::pixelShader:
      return PaneKind::pixelShader;
    case NodeKind::renderSettings:
      return PaneKind::renderSettings;
    default:
      return std::nullopt;
  }
}

NodeKind variableNodeKind(VariableKind kind) {
  switch (kind) {
    case VariableKind::matrix:
      return NodeKind::matrix;
    case VariableKind::color:
      return NodeKind::color;
    default:
      return NodeKind::vector;
  }
}

NodeKind variableFolderKind(VariableKind kind) {
  switch (kind) {
    case VariableKind::matrix:
      return NodeKind::matricesFolder;
    case VariableKind::color:
      return NodeKind::colorsFolder;
    default:
      return NodeKind::vectorsFolder;
  }
}

std::optional<VariableKind> variableKindOf(NodeKind kind) {
  switch (kind) {
    case NodeKind::vector:
    case NodeKind::vectorsFolder:
      return VariableKind::vector;
    case NodeKind::matrix:
    case NodeKind::matricesFolder:
      return VariableKind::matrix;
    case NodeKind::color:
    case NodeKind::colorsFolder:
      return VariableKind::color;
    default:
      return std::nullopt;
  }
}

const std::vector<PaneItem>& effectPaneItems() {
  static const std::vector<PaneItem> items = {
      {NodeKind::texturesStagesStates, "Textures/Stages/States"},
      {NodeKind::renderStates, "RenderStates"},
      {NodeKind::streamMapping, "StreamMapping"},
      {NodeKind::vertexShader, "Vertex Shader"},
      {NodeKind::pixelShader, "Pixel Shader"},
      {NodeKind::renderSettings, "Render Settings"},
  };
  return items;
}

std::optional<std::string> acceptedLabel(const std::string& typed) {
  if (typed.empty()) return std::nullopt;
  std::string label = typed;
  for (char& c : label)
    if (c == ',') c = '.';
  return label;
}

std::string paneTitle(PaneKind kind, const std::string& effectName, const std::string& variableName) {
  switch (kind) {
    case PaneKind::variableEditor:
      return effectName + " - " + variableName;
    case PaneKind::texturesStagesStates:
      return effectName + " - Textures/Stages/States";
    case PaneKind::renderStates:
      return effectName + " - RenderStates";
    case PaneKind::streamMapping:
      return effectName + " - StreamMapping";
    case PaneKind::vertexShader:
      return effectName + " - Vertex Shader";
    case PaneKind::pixelShader:
      return effectName + " - Pixel Shader";
    case PaneKind::renderSettings:
      return effectName + " - Render Settings";
  }
  return effectName;
}

}  // namespace veltrace
