#pragma once
// The workspace tree as a model: the "Scene" and "Effects" roots, one item
// per effect with its variable folders and six pane items, and the scene
// information below "Scene". The model keeps its own item identities and
// tells a TreeControl (the tree view in the Workspace bar, or a recorder in
// the tests) what to show; the control's events come back as the calls under
// "Events".

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "effect/effect.h"
#include "panes/workspace/pane_factory.h"
#include "panes/workspace/tree_node.h"
#include "scene/scene_model.h"

namespace veltrace {

using ItemId = std::uint32_t;
inline constexpr ItemId noItem = 0;

// Longest effect name typed when a new effect's label is edited at once.
inline constexpr int newEffectLabelLimit = 30;

// What the tree view does for the model. Items are added at the end of their
// parent's children.
class TreeControl {
 public:
  virtual ~TreeControl() = default;
  // parent noItem adds a root. An item whose label is supplied on demand asks
  // WorkspaceTree::labelText each time it is drawn.
  virtual bool insertItem(ItemId item, ItemId parent, const std::string& label, bool labelOnDemand) = 0;
  // Deletes the item and everything below it.
  virtual bool deleteItem(ItemId item) = 0;
  virtual void setLabel(ItemId item, const std::string& label) = 0;
  virtual void expand(ItemId item) = 0;
  virtual void select(ItemId item) = 0;
  // Starts in-place editing of the label; maxLength 0 keeps the control's limit.
  virtual void editLabel(ItemId item, int maxLength) = 0;
};

// The program-wide request to rebuild the scene information: set after a
// scene load, a texture load or delete and every assignment change; the
// frame loop rebuilds after the next frame and clears it.
class SceneInformationRequest {
 public:
  void set() { pending_ = true; }
  bool pending() const { return pending_; }
  void clear() { pending_ = false; }

 private:
  bool pending_ = false;
};

class WorkspaceTree {
 public:
  WorkspaceTree(TreeControl& control, PaneFactory& panes);
  ~WorkspaceTree();  // destroys every node, and so every pane
  WorkspaceTree(const WorkspaceTree&) = delete;
  WorkspaceTree& operator=(const WorkspaceTree&) = delete;

  // Adds the two roots, "Scene" and "Effects".
  bool build();
  ItemId sceneItem() const { return sceneItem_; }
  ItemId effectsItem() const { return effectsItem_; }

  // --- Effects
  // The effect's item ("New Effect"), its variable folders and pane items;
  // selects it, and edits its label at once when the effect has no name.
  // False when the control refused an item (nothing of the effect stays).
  bool addEffect(Effect& effect);
  // After a load: the label takes the effect's name, and each variable the
  // tree does not show yet gets its item; folders that got items are
  // expanded.
  bool fillEffect(Effect& effect);
  // Deletes the effect's items, closing its panes. The model forgets them even
  // when the control fails (the effect is about to be freed); false then.
  bool removeEffect(const Effect& effect);
  // The item of the last variable of that kind, just appended to its list.
  bool addVariableItem(Effect& effect, VariableKind kind);
  // Before the variable at index is erased from its list: closes its editor
  // and deletes its item. The model forgets it even when the control fails.
  bool removeVariableItem(const Effect& effect, VariableKind kind, size_t index);

  ItemId effectItem(const Effect& effect) const;
  // The pane of one of the effect's pane items, when it has been made.
  Pane* existingPane(const Effect& effect, NodeKind paneItemKind) const;
  // Every effect's render settings pane that exists fills again.
  void sceneReplaced();

  // --- Scene information
  // Replaces the children of "Scene" with the scene information (meshes,
  // materials, the texture store's textures), expands "Scene" and clears the
  // request. Effect items are not touched.
  void rebuildSceneInformation(const Scene& scene, const std::vector<std::string>& textureNames,
                               SceneInformationRequest& request);
  void removeSceneInformation();

  // --- Events of the tree view
  const TreeNode* node(ItemId item) const;
  std::vector<MenuEntry> contextMenuOf(ItemId item) const;
  // Opens (making it on first use) and shows the item's pane; nothing for
  // items without one or when the factory has none of that kind.
  void activate(ItemId item);
  // Whether an in-place edit of this item's label may begin.
  bool labelEditBegins(ItemId item) const;
  // The edit ended with this text (none = cancelled). An accepted text has
  // its commas turned into full stops, becomes the label and the effect's
  // name, and is returned; the tree view should not take over the typed text
  // itself, since setLabel gives it the accepted one.
  std::optional<std::string> labelEditEnds(ItemId item, const std::optional<std::string>& typed);
  // The text shown for the item: a variable's current name, else its label.
  std::string labelText(ItemId item) const;
  // "Edit Label" on an effect item.
  void startLabelEdit(ItemId item);

  // --- Looking at the model
  ItemId parentOf(ItemId item) const;
  const std::vector<ItemId>& childrenOf(ItemId item) const;
  Effect* effectOf(ItemId item) const;
  // Position of a variable item in its list (the same as in its folder).
  std::optional<size_t> variableIndexOf(ItemId item) const;
  ItemId variableFolder(const Effect& effect, VariableKind kind) const;
  size_t itemCount() const { return items_.size(); }

 private:
  struct Item {
    ItemId parent = noItem;
    std::vector<ItemId> children;
    std::string label;
    bool labelOnDemand = false;
    std::unique_ptr<TreeNode> node;
  };

  ItemId insert(ItemId parent, std::string label, std::unique_ptr<TreeNode> node, bool labelOnDemand = false);
  std::unique_ptr<TreeNode> makeNode(NodeKind kind, Effect* effect) const;
  bool removeItem(ItemId item);
  void destroyNodes(ItemId item);
  void forget(ItemId item);
  ItemId paneItem(const Effect& effect, NodeKind kind) const;
  EffectVariable* variableOf(ItemId item) const;

  TreeControl& control_;
  PaneFactory& panes_;
  std::unordered_map<ItemId, Item> items_;
  std::unordered_map<const Effect*, ItemId> effectItems_;
  ItemId nextItem_ = 1;
  ItemId sceneItem_ = noItem;
  ItemId effectsItem_ = noItem;
};

}  // namespace veltrace
