#include "panes/frame/workspace_view.h"

#include <commctrl.h>

namespace veltrace::panes {

namespace {

constexpr int treeControlId = 1;

}  // namespace

bool CVeltraceViewWorkspace::create(HWND parent) {
  ui::WindowPlacement placement;
  placement.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
  placement.x = placement.y = 0;
  placement.width = placement.height = 100;
  placement.parent = parent;
  if (!Window::create("VeltraceWorkspaceView", "Workspace", placement)) return false;
  tree_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                              TVS_SHOWSELALWAYS | TVS_EDITLABELS,
                          0, 0, 100, 100, handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(treeControlId)),
                          ui::programInstance(), nullptr);
  if (!tree_) return false;
  SetWindowSubclass(tree_, treeProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
  return true;
}

bool CVeltraceViewWorkspace::attach(Workspace& workspace, WorkspaceUi& ui, PaneFactory& factory, MessageLog& log,
                                    const std::string& programFolder) {
  treeView_ = std::make_unique<WorkspaceTreeView>(tree_, workspace, ui, factory, log, programFolder);
  return treeView_->build();
}

LRESULT CVeltraceViewWorkspace::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (tree_) MoveWindow(tree_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_SETFOCUS:
      if (tree_) SetFocus(tree_);
      return 0;
    case WM_CONTEXTMENU:
      // From the keyboard (no mouse position): the selected item's menu.
      if (treeView_ && reinterpret_cast<HWND>(wParam) == tree_ && lParam == -1) {
        treeView_->openContextMenuOfSelection();
        return 0;
      }
      break;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (treeView_ && treeView_->onNotify(*reinterpret_cast<NMHDR*>(lParam), result)) return result;
      break;
    }
  }
  return Window::handleMessage(message, wParam, lParam);
}

LRESULT CALLBACK CVeltraceViewWorkspace::treeProcedure(HWND tree, UINT message, WPARAM wParam, LPARAM lParam,
                                                       UINT_PTR, DWORD_PTR self) {
  auto* view = reinterpret_cast<CVeltraceViewWorkspace*>(self);
  if ((message == WM_KEYDOWN || message == WM_KEYUP) && view->forwardKey) {
    // The preview moves with the arrow keys too; the tree keeps its own
    // handling of them.
    view->forwardKey(message, wParam, lParam);
  }
  return DefSubclassProc(tree, message, wParam, lParam);
}

}  // namespace veltrace::panes
