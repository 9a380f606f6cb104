#include "panes/workspace/render_settings_pane.h"

#include "panes/workspace/render_settings_pane_rc.h"

namespace veltrace {

namespace {

// Posted after a click: the tree view flips a box only after it has told us
// about the click, so the boxes are set from the model once it has.
constexpr UINT showTicksMessage = WM_APP + 1;

PaneRect rectOf(HWND control, HWND dialog) {
  RECT bounds{};
  GetWindowRect(control, &bounds);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&bounds), 2);
  return {bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top};
}

void place(HWND control, const PaneRect& rect) {
  MoveWindow(control, rect.left, rect.top, rect.width, rect.height, TRUE);
}

HTREEITEM addItem(HWND tree, HTREEITEM parent, const std::string& label) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = const_cast<char*>(label.c_str());
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void setTick(HWND tree, HTREEITEM item, bool ticked) {
  TVITEMA state{};
  state.mask = TVIF_STATE;
  state.hItem = item;
  state.stateMask = TVIS_STATEIMAGEMASK;
  state.state = INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1);
  SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&state));
}

}  // namespace

int RenderSettingsPane::renderSettingsDialogId() { return renderSettingsDialog; }
int RenderSettingsPane::treeId() { return renderSettingsTree; }

void RenderSettingsPane::show(const std::string& title) {
  setTitle(title);
  fill();
  Dialog::show();
}

void RenderSettingsPane::setTitle(const std::string& title) { SetWindowTextA(handle(), title.c_str()); }

void RenderSettingsPane::fill() {
  HWND view = tree();
  TreeView_DeleteAllItems(view);
  meshItems_.clear();
  subsetItems_.clear();
  model_.fill();
  for (const MeshRow& mesh : model_.meshes()) {
    HTREEITEM meshItem = addItem(view, TVI_ROOT, mesh.label);
    meshItems_.push_back(meshItem);
    subsetItems_.emplace_back();
    for (const SubsetRow& subset : mesh.subsets) subsetItems_.back().push_back(addItem(view, meshItem, subset.label));
  }
  showTicks();
  if (auto last = model_.expandedMesh()) TreeView_Expand(view, meshItems_[*last], TVE_EXPAND);
}

void RenderSettingsPane::showTicks() {
  HWND view = tree();
  for (size_t i = 0; i < meshItems_.size() && i < model_.meshes().size(); ++i) {
    const MeshRow& mesh = model_.meshes()[i];
    setTick(view, meshItems_[i], mesh.ticked);
    for (size_t j = 0; j < subsetItems_[i].size() && j < mesh.subsets.size(); ++j)
      setTick(view, subsetItems_[i][j], mesh.subsets[j].ticked);
  }
}

void RenderSettingsPane::boxClicked(HTREEITEM item) {
  for (size_t i = 0; i < meshItems_.size(); ++i) {
    if (meshItems_[i] == item) {
      model_.clickMesh(i);
      break;
    }
    for (size_t j = 0; j < subsetItems_[i].size(); ++j)
      if (subsetItems_[i][j] == item) model_.clickSubset(i, j);
  }
  PostMessageA(handle(), showTicksMessage, 0, 0);
}

void RenderSettingsPane::resize(int width, int height) {
  if (!resizeRenderSettings(layout_, width, height)) return;
  place(tree(), layout_.tree);
  place(item(IDOK), layout_.ok);
  place(item(renderSettingsHelpButton), layout_.help);
}

INT_PTR RenderSettingsPane::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      // Check boxes given after creation: a tree view made with them can
      // reset every box at its first paint (as Wine's does).
      SetWindowLongPtrA(tree(), GWL_STYLE, GetWindowLongPtrA(tree(), GWL_STYLE) | TVS_CHECKBOXES);
      RECT client{};
      GetClientRect(handle(), &client);
      layout_.width = client.right;
      layout_.height = client.bottom;
      layout_.tree = rectOf(tree(), handle());
      layout_.ok = rectOf(item(IDOK), handle());
      layout_.help = rectOf(item(renderSettingsHelpButton), handle());
      return TRUE;
    }
    case WM_SIZE:
      resize(LOWORD(lParam), HIWORD(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        hide();
        return TRUE;
      }
      if (LOWORD(wParam) == renderSettingsHelpButton) {
        if (openHelp) openHelp(renderSettingsHelpTopic);
        return TRUE;
      }
      return FALSE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom != tree()) return FALSE;
      if (header->code == NM_CLICK) {
        // Only a click on a box counts; clicks elsewhere in the tree do nothing.
        TVHITTESTINFO hit{};
        GetCursorPos(&hit.pt);
        ScreenToClient(tree(), &hit.pt);
        HTREEITEM item = TreeView_HitTest(tree(), &hit);
        if (item && (hit.flags & TVHT_ONITEMSTATEICON)) boxClicked(item);
      } else if (header->code == TVN_KEYDOWN &&
                 reinterpret_cast<const NMTVKEYDOWN*>(lParam)->wVKey == VK_SPACE) {
        // The space bar flips the selected item's box like a click.
        if (HTREEITEM item = TreeView_GetSelection(tree())) boxClicked(item);
      }
      return FALSE;
    }
    case showTicksMessage:
      showTicks();
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace veltrace
