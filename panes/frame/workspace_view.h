#pragma once
// The view in the "Workspace" bar: the workspace tree (the scene and the
// effects with their variables and panes), its context menus and commands.
// Keys pressed in the tree, other than those of a label edit, also reach
// the preview.

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>

#include "panes/workspace/tree_view_control.h"
#include "ui/window.h"

namespace veltrace::panes {

class CVeltraceViewWorkspace : public ui::Window {
 public:
  bool create(HWND parent);
  // Puts the tree model on the tree view: the two roots and the commands.
  bool attach(Workspace& workspace, WorkspaceUi& ui, PaneFactory& factory, MessageLog& log,
              const std::string& programFolder);

  HWND tree() const { return tree_; }
  WorkspaceTreeView* treeView() { return treeView_.get(); }

  // Where keys the tree does not use go (the preview view).
  std::function<void(UINT message, WPARAM key, LPARAM flags)> forwardKey;

 protected:
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static LRESULT CALLBACK treeProcedure(HWND tree, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR self);
  HWND tree_ = nullptr;
  std::unique_ptr<WorkspaceTreeView> treeView_;
};

}  // namespace veltrace::panes
