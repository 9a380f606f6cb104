#pragma once
// The view in the "Workspace" bar: the workspace tree with its two roots,
// "Scene" and "Effects". Keys pressed in the tree, other than those of a
// label edit, reach the preview.

#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "ui/window.h"

namespace veltrace::panes {

class CVeltraceViewWorkspace : public ui::Window {
 public:
  bool create(HWND parent);
  HWND tree() const { return tree_; }
  HTREEITEM sceneRoot() const { return sceneRoot_; }
  HTREEITEM effectsRoot() const { return effectsRoot_; }

  // Where keys the tree does not use go (the preview view).
  std::function<void(UINT message, WPARAM key, LPARAM flags)> forwardKey;

 protected:
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static LRESULT CALLBACK treeProcedure(HWND tree, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR self);
  HWND tree_ = nullptr;
  HTREEITEM sceneRoot_ = nullptr;
  HTREEITEM effectsRoot_ = nullptr;
};

}  // namespace veltrace::panes
