#include "panes/workspace/workspace_tree.h"

#include <algorithm>

#include "scene/scene_info.h"

namespace veltrace {

namespace {

const std::vector<ItemId> noChildren;

constexpr VariableKind variableKinds[] = {VariableKind::vector, VariableKind::matrix, VariableKind::color};

const char* folderLabel(VariableKind kind) {
  switch (kind) {
    case VariableKind::matrix:
      return "Matrices";
    case VariableKind::color:
      return "Colors";
    default:
      return "Vectors";
  }
}

}  // namespace

WorkspaceTree::WorkspaceTree(TreeControl& control, PaneFactory& panes) : control_(control), panes_(panes) {}

// Panes go first, while every effect they show still exists.
WorkspaceTree::~WorkspaceTree() {
  for (auto& [id, item] : items_) item.node.reset();
}

bool WorkspaceTree::build() {
  if (sceneItem_ == noItem) sceneItem_ = insert(noItem, "Scene", makeNode(NodeKind::scene, nullptr));
  if (effectsItem_ == noItem) effectsItem_ = insert(noItem, "Effects", makeNode(NodeKind::effectsFolder, nullptr));
  return sceneItem_ != noItem && effectsItem_ != noItem;
}

ItemId WorkspaceTree::insert(ItemId parent, std::string label, std::unique_ptr<TreeNode> node, bool labelOnDemand) {
  const ItemId id = nextItem_;
  if (!control_.insertItem(id, parent, label, labelOnDemand)) return noItem;
  ++nextItem_;
  Item& item = items_[id];
  item.parent = parent;
  item.label = std::move(label);
  item.labelOnDemand = labelOnDemand;
  item.node = std::move(node);
  if (parent != noItem) items_[parent].children.push_back(id);
  return id;
}

std::unique_ptr<TreeNode> WorkspaceTree::makeNode(NodeKind kind, Effect* effect) const {
  auto node = std::make_unique<TreeNode>();
  node->kind = kind;
  node->effect = effect;
  return node;
}

// ---------------------------------------------------------------- effects

bool WorkspaceTree::addEffect(Effect& effect) {
  if (effectsItem_ == noItem || effectItems_.count(&effect) != 0) return false;
  const ItemId effectId = insert(effectsItem_, "New Effect", makeNode(NodeKind::effect, &effect));
  if (effectId == noItem) return false;
  effectItems_[&effect] = effectId;

  bool complete = true;
  const ItemId variables = insert(effectId, "Variables", nullptr);
  complete = variables != noItem;
  for (VariableKind kind : variableKinds) {
    if (!complete) break;
    complete = insert(variables, folderLabel(kind), makeNode(variableFolderKind(kind), &effect)) != noItem;
  }
  for (const PaneItem& pane : effectPaneItems()) {
    if (!complete) break;
    complete = insert(effectId, pane.label, makeNode(pane.kind, &effect)) != noItem;
  }
  if (!complete) {
    removeEffect(effect);
    return false;
  }
  control_.select(effectId);
  if (effect.name.empty()) control_.editLabel(effectId, newEffectLabelLimit);
  return true;
}

bool WorkspaceTree::fillEffect(Effect& effect) {
  const ItemId effectId = effectItem(effect);
  if (effectId == noItem) return false;
  Item& item = items_.at(effectId);
  if (!effect.name.empty() && effect.name != item.label) {
    item.label = effect.name;
    control_.setLabel(effectId, item.label);
  }
  for (VariableKind kind : variableKinds) {
    const ItemId folder = variableFolder(effect, kind);
    const size_t shown = childrenOf(folder).size();
    const size_t count = variablesOfKind(effect, kind).size();
    for (size_t i = shown; i < count; ++i)
      if (!addVariableItem(effect, kind)) return false;
    if (count > shown) control_.expand(folder);
  }
  return true;
}

bool WorkspaceTree::removeEffect(const Effect& effect) {
  auto found = effectItems_.find(&effect);
  if (found == effectItems_.end()) return false;
  const ItemId effectId = found->second;
  effectItems_.erase(found);
  return removeItem(effectId);
}

bool WorkspaceTree::addVariableItem(Effect& effect, VariableKind kind) {
  const ItemId folder = variableFolder(effect, kind);
  if (folder == noItem || childrenOf(folder).size() >= variablesOfKind(effect, kind).size()) return false;
  // The label is only a placeholder: the variable's name is asked for on
  // demand, so renames show at once.
  return insert(folder, "", makeNode(variableNodeKind(kind), &effect), true) != noItem;
}

bool WorkspaceTree::removeVariableItem(const Effect& effect, VariableKind kind, size_t index) {
  const ItemId folder = variableFolder(effect, kind);
  const auto& children = childrenOf(folder);
  if (index >= children.size()) return false;
  return removeItem(children[index]);
}

ItemId WorkspaceTree::effectItem(const Effect& effect) const {
  auto found = effectItems_.find(&effect);
  return found == effectItems_.end() ? noItem : found->second;
}

ItemId WorkspaceTree::variableFolder(const Effect& effect, VariableKind kind) const {
  const ItemId effectId = effectItem(effect);
  if (effectId == noItem) return noItem;
  const auto& children = childrenOf(effectId);
  if (children.empty()) return noItem;
  for (ItemId folder : childrenOf(children.front())) {
    const TreeNode* folderNode = node(folder);
    if (folderNode && folderNode->kind == variableFolderKind(kind)) return folder;
  }
  return noItem;
}

ItemId WorkspaceTree::paneItem(const Effect& effect, NodeKind kind) const {
  for (ItemId child : childrenOf(effectItem(effect))) {
    const TreeNode* childNode = node(child);
    if (childNode && childNode->kind == kind) return child;
  }
  return noItem;
}

Pane* WorkspaceTree::existingPane(const Effect& effect, NodeKind paneItemKind) const {
  const TreeNode* paneNode = node(paneItem(effect, paneItemKind));
  return paneNode ? paneNode->pane.get() : nullptr;
}

void WorkspaceTree::sceneReplaced() {
  for (const auto& [effect, item] : effectItems_)
    if (Pane* pane = existingPane(*effect, NodeKind::renderSettings)) pane->sceneReplaced();
}

// ---------------------------------------------------------------- removal

// Nodes (with their panes) go first, then the control's items; the model
// forgets the items whatever the control answers, so that nothing is left
// pointing at an effect or variable about to be freed.
bool WorkspaceTree::removeItem(ItemId item) {
  if (items_.count(item) == 0) return false;
  destroyNodes(item);
  const bool deleted = control_.deleteItem(item);
  const ItemId parent = items_.at(item).parent;
  if (parent != noItem) {
    auto& siblings = items_.at(parent).children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), item), siblings.end());
  }
  forget(item);
  return deleted;
}

void WorkspaceTree::destroyNodes(ItemId item) {
  Item& entry = items_.at(item);
  for (ItemId child : entry.children) destroyNodes(child);
  entry.node.reset();
}

void WorkspaceTree::forget(ItemId item) {
  auto found = items_.find(item);
  if (found == items_.end()) return;
  const std::vector<ItemId> children = std::move(found->second.children);
  items_.erase(found);
  for (ItemId child : children) forget(child);
}

// ---------------------------------------------------------------- scene information

void WorkspaceTree::removeSceneInformation() {
  if (sceneItem_ == noItem) return;
  const std::vector<ItemId> children = childrenOf(sceneItem_);
  for (ItemId child : children) removeItem(child);
  items_.at(sceneItem_).node = makeNode(NodeKind::scene, nullptr);
}

void WorkspaceTree::rebuildSceneInformation(const Scene& scene, const std::vector<std::string>& textureNames,
                                            SceneInformationRequest& request) {
  if (sceneItem_ == noItem) return;
  removeSceneInformation();
  // Each line hangs below the last line one level up.
  std::vector<ItemId> lastAtDepth{sceneItem_};
  for (const InfoLine& line : sceneInformation(scene, textureNames)) {
    const size_t depth = static_cast<size_t>(line.depth);
    if (depth >= lastAtDepth.size()) continue;  // a line without its parent
    lastAtDepth.resize(depth + 1);
    const ItemId added = insert(lastAtDepth[depth], line.text, nullptr);
    if (added == noItem) break;
    lastAtDepth.push_back(added);
  }
  control_.expand(sceneItem_);
  request.clear();
}

// ---------------------------------------------------------------- events

const TreeNode* WorkspaceTree::node(ItemId item) const {
  auto found = items_.find(item);
  return found == items_.end() ? nullptr : found->second.node.get();
}

std::vector<MenuEntry> WorkspaceTree::contextMenuOf(ItemId item) const {
  const TreeNode* itemNode = node(item);
  return itemNode ? contextMenu(itemNode->kind) : std::vector<MenuEntry>{};
}

void WorkspaceTree::activate(ItemId item) {
  auto found = items_.find(item);
  if (found == items_.end() || !found->second.node) return;
  TreeNode& itemNode = *found->second.node;
  const std::optional<PaneKind> kind = paneKindOf(itemNode.kind);
  if (!kind || !itemNode.effect) return;
  if (!itemNode.pane) {
    PaneRequest request;
    request.kind = *kind;
    request.effect = itemNode.effect;
    if (auto variableKind = variableKindOf(itemNode.kind)) {
      request.variableKind = *variableKind;
      request.variable = [this, item] { return variableOf(item); };
    }
    itemNode.pane = panes_.createPane(request);
    if (!itemNode.pane) return;
  }
  const EffectVariable* variable = variableOf(item);
  itemNode.pane->show(paneTitle(*kind, itemNode.effect->name, variable ? variable->name : std::string()));
}

bool WorkspaceTree::labelEditBegins(ItemId item) const {
  const TreeNode* itemNode = node(item);
  return itemNode && itemNode->labelEditable();
}

std::optional<std::string> WorkspaceTree::labelEditEnds(ItemId item, const std::optional<std::string>& typed) {
  if (!typed || !labelEditBegins(item)) return std::nullopt;
  std::optional<std::string> label = acceptedLabel(*typed);
  if (!label) return std::nullopt;
  Item& entry = items_.at(item);
  entry.label = *label;
  control_.setLabel(item, *label);
  entry.node->effect->name = *label;
  return label;
}

std::string WorkspaceTree::labelText(ItemId item) const {
  auto found = items_.find(item);
  if (found == items_.end()) return {};
  if (found->second.labelOnDemand) {
    const EffectVariable* variable = variableOf(item);
    return variable ? variable->name : std::string();
  }
  return found->second.label;
}

void WorkspaceTree::startLabelEdit(ItemId item) {
  if (labelEditBegins(item)) control_.editLabel(item, 0);
}

// ---------------------------------------------------------------- looking at the model

ItemId WorkspaceTree::parentOf(ItemId item) const {
  auto found = items_.find(item);
  return found == items_.end() ? noItem : found->second.parent;
}

const std::vector<ItemId>& WorkspaceTree::childrenOf(ItemId item) const {
  auto found = items_.find(item);
  return found == items_.end() ? noChildren : found->second.children;
}

Effect* WorkspaceTree::effectOf(ItemId item) const {
  const TreeNode* itemNode = node(item);
  return itemNode ? itemNode->effect : nullptr;
}

std::optional<size_t> WorkspaceTree::variableIndexOf(ItemId item) const {
  const TreeNode* itemNode = node(item);
  if (!itemNode || !itemNode->effect) return std::nullopt;
  const NodeKind kind = itemNode->kind;
  if (kind != NodeKind::vector && kind != NodeKind::matrix && kind != NodeKind::color) return std::nullopt;
  const auto& siblings = childrenOf(parentOf(item));
  auto position = std::find(siblings.begin(), siblings.end(), item);
  if (position == siblings.end()) return std::nullopt;
  return static_cast<size_t>(position - siblings.begin());
}

EffectVariable* WorkspaceTree::variableOf(ItemId item) const {
  const std::optional<size_t> index = variableIndexOf(item);
  if (!index) return nullptr;
  const TreeNode* itemNode = node(item);
  auto& list = variablesOfKind(*itemNode->effect, *variableKindOf(itemNode->kind));
  return *index < list.size() ? &list[*index] : nullptr;
}

}  // namespace veltrace
