#pragma once
// What an item of the workspace tree stands for: its kind decides the context
// menu, whether its label can be edited and which pane it opens.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "effect/effect.h"
#include "panes/workspace/pane_factory.h"

namespace veltrace {

enum class NodeKind {
  scene,
  effectsFolder,
  effect,
  vectorsFolder,
  matricesFolder,
  colorsFolder,
  vector,
  matrix,
  color,
  texturesStagesStates,
  renderStates,
  streamMapping,
  vertexShader,
  pixelShader,
  renderSettings,
};

// One entry of a context menu. Entries run one of the node's five menu
// commands, numbered 1 to 5; command 0 is a separator.
struct MenuEntry {
  std::string text;
  int command = 0;

  bool isSeparator() const { return command == 0; }
  bool operator==(const MenuEntry&) const = default;
};

inline constexpr int menuCommandCount = 5;

// The data attached to a tree item that has a node ("Variables" and the scene
// information items have none). The pane, once made, belongs to the node and
// goes with it.
struct TreeNode {
  NodeKind kind = NodeKind::scene;
  Effect* effect = nullptr;  // none for "Scene" and "Effects"
  std::unique_ptr<Pane> pane;

  bool labelEditable() const { return kind == NodeKind::effect; }
};

// The context menu of a kind, entries in order; empty for kinds without one.
std::vector<MenuEntry> contextMenu(NodeKind kind);

// The pane an item of this kind opens; none for folders, the scene and effects.
std::optional<PaneKind> paneKindOf(NodeKind kind);

// Variable kinds and their items.
NodeKind variableNodeKind(VariableKind kind);
NodeKind variableFolderKind(VariableKind kind);
std::optional<VariableKind> variableKindOf(NodeKind kind);  // of a variable or its folder

// The six pane items below an effect, in tree order, with their labels.
struct PaneItem {
  NodeKind kind;
  const char* label;
};
const std::vector<PaneItem>& effectPaneItems();

// What a label edit makes of the typed text: every comma becomes a full
// stop (names are stored in comma-separated files); none when it is empty.
std::optional<std::string> acceptedLabel(const std::string& typed);

}  // namespace veltrace
