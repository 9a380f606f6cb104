#pragma once
// The workspace tree model shown in a Win32 tree view (an ANSI window with
// TVS_EDITLABELS): TreeViewControl does what the model asks of the control,
// WorkspaceTreeEvents turns the tree view's notifications into the model's
// events and the context-menu commands. The window that owns the tree view
// passes its WM_NOTIFY messages to WorkspaceTreeEvents::onNotify.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "panes/workspace/workspace_commands.h"
#include "panes/workspace/workspace_tree.h"

namespace veltrace {

class TreeViewControl : public TreeControl {
 public:
  explicit TreeViewControl(HWND tree) : tree_(tree) {}

  bool insertItem(ItemId item, ItemId parent, const std::string& label, bool labelOnDemand) override;
  bool deleteItem(ItemId item) override;
  void setLabel(ItemId item, const std::string& label) override;
  void expand(ItemId item) override;
  void select(ItemId item) override;
  void editLabel(ItemId item, int maxLength) override;

  HWND tree() const { return tree_; }
  HTREEITEM handleOf(ItemId item) const;
  // The model's item a tree view item stands for (kept in its lParam).
  ItemId itemOf(HTREEITEM handle) const;

 private:
  void collectBelow(HTREEITEM handle, std::vector<ItemId>& ids) const;

  HWND tree_;
  std::unordered_map<ItemId, HTREEITEM> handles_;
};

class WorkspaceTreeEvents {
 public:
  WorkspaceTreeEvents(TreeViewControl& control, WorkspaceTree& tree, WorkspaceCommands& commands)
      : control_(control), tree_(tree), commands_(commands) {}

  // True when the notification came from the workspace tree view and was
  // answered; result is then what the window procedure returns.
  bool onNotify(const NMHDR& header, LRESULT& result);
  // The menu key or Shift+F10: the selected item's menu, under its label.
  void openContextMenuOfSelection();

 private:
  // The item under the mouse, when it has a node: selected, its menu shown
  // at the mouse, the chosen entry run.
  void openContextMenu();
  // The command chosen from the item's menu (0 = none).
  int chooseFromMenu(ItemId item, POINT screenPoint);

  TreeViewControl& control_;
  WorkspaceTree& tree_;
  WorkspaceCommands& commands_;
};

// Everything the Workspace bar needs for its tree view, put together: the
// model, its commands and the events. The bar creates the tree view (ANSI,
// TVS_EDITLABELS), makes this, calls build() and passes WM_NOTIFY on.
class WorkspaceTreeView {
 public:
  WorkspaceTreeView(HWND treeView, Workspace& workspace, WorkspaceUi& ui, PaneFactory& panes, MessageLog& log,
                    const std::string& programFolder)
      : control_(treeView),
        tree_(control_, panes),
        commands_(workspace, tree_, ui, log, programFolder),
        events_(control_, tree_, commands_),
        hooks_(treeHooks(tree_, programFolder, log)) {}

  bool build() { return tree_.build(); }
  bool onNotify(const NMHDR& header, LRESULT& result) { return events_.onNotify(header, result); }
  void openContextMenuOfSelection() { events_.openContextMenuOfSelection(); }

  WorkspaceTree& tree() { return tree_; }
  WorkspaceCommands& commands() { return commands_; }
  TreeViewControl& control() { return control_; }
  // For reading and clearing workspaces (the document's tree hooks).
  const WorkspaceHooks& hooks() const { return hooks_; }

 private:
  TreeViewControl control_;
  WorkspaceTree tree_;
  WorkspaceCommands commands_;
  WorkspaceTreeEvents events_;
  WorkspaceHooks hooks_;
};

}  // namespace veltrace
