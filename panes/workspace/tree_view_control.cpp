#include "panes/workspace/tree_view_control.h"

namespace veltrace {

// ---------------------------------------------------------------- the control

bool TreeViewControl::insertItem(ItemId item, ItemId parent, const std::string& label, bool labelOnDemand) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent == noItem ? TVI_ROOT : handleOf(parent);
  if (!insert.hParent) return false;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = labelOnDemand ? LPSTR_TEXTCALLBACKA : const_cast<char*>(label.c_str());
  insert.item.lParam = static_cast<LPARAM>(item);
  auto handle = reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  if (!handle) return false;
  handles_[item] = handle;
  return true;
}

bool TreeViewControl::deleteItem(ItemId item) {
  HTREEITEM handle = handleOf(item);
  if (!handle) return false;
  // The ids of everything the deletion takes along, read while the items exist.
  std::vector<ItemId> gone{item};
  collectBelow(handle, gone);
  if (!TreeView_DeleteItem(tree_, handle)) return false;
  for (ItemId id : gone) handles_.erase(id);
  return true;
}

void TreeViewControl::collectBelow(HTREEITEM handle, std::vector<ItemId>& ids) const {
  for (HTREEITEM child = TreeView_GetChild(tree_, handle); child; child = TreeView_GetNextSibling(tree_, child)) {
    ids.push_back(itemOf(child));
    collectBelow(child, ids);
  }
}

void TreeViewControl::setLabel(ItemId item, const std::string& label) {
  TVITEMA update{};
  update.mask = TVIF_TEXT;
  update.hItem = handleOf(item);
  update.pszText = const_cast<char*>(label.c_str());
  if (update.hItem) SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&update));
}

void TreeViewControl::expand(ItemId item) {
  if (HTREEITEM handle = handleOf(item)) TreeView_Expand(tree_, handle, TVE_EXPAND);
}

void TreeViewControl::select(ItemId item) {
  if (HTREEITEM handle = handleOf(item)) TreeView_SelectItem(tree_, handle);
}

void TreeViewControl::editLabel(ItemId item, int maxLength) {
  HTREEITEM handle = handleOf(item);
  if (!handle) return;
  SetFocus(tree_);
  auto edit = reinterpret_cast<HWND>(SendMessageA(tree_, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(handle)));
  if (edit && maxLength > 0) SendMessageA(edit, EM_LIMITTEXT, static_cast<WPARAM>(maxLength), 0);
}

HTREEITEM TreeViewControl::handleOf(ItemId item) const {
  auto found = handles_.find(item);
  return found == handles_.end() ? nullptr : found->second;
}

ItemId TreeViewControl::itemOf(HTREEITEM handle) const {
  if (!handle) return noItem;
  TVITEMA query{};
  query.mask = TVIF_HANDLE | TVIF_PARAM;
  query.hItem = handle;
  if (!SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query))) return noItem;
  return static_cast<ItemId>(query.lParam);
}

// ---------------------------------------------------------------- the events

bool WorkspaceTreeEvents::onNotify(const NMHDR& header, LRESULT& result) {
  if (header.hwndFrom != control_.tree()) return false;
  switch (header.code) {
    case NM_DBLCLK:
      tree_.activate(control_.itemOf(TreeView_GetSelection(control_.tree())));
      result = 0;  // the tree view still opens or closes a folder
      return true;
    case NM_RETURN:
      // Enter opens what a double click opens.
      tree_.activate(control_.itemOf(TreeView_GetSelection(control_.tree())));
      result = 1;  // no beep for a key the tree view has no use for
      return true;
    case NM_RCLICK:
      openContextMenu();
      result = 1;  // handled: no WM_CONTEXTMENU
      return true;
    case TVN_BEGINLABELEDITA: {
      const auto& info = reinterpret_cast<const NMTVDISPINFOA&>(header);
      result = tree_.labelEditBegins(control_.itemOf(info.item.hItem)) ? FALSE : TRUE;
      return true;
    }
    case TVN_ENDLABELEDITA: {
      const auto& info = reinterpret_cast<const NMTVDISPINFOA&>(header);
      std::optional<std::string> typed;
      if (info.item.pszText) typed = std::string(info.item.pszText);
      // The model sets the accepted label itself (commas made full stops),
      // so the tree view must not take the typed text over.
      tree_.labelEditEnds(control_.itemOf(info.item.hItem), typed);
      result = FALSE;
      return true;
    }
    case TVN_GETDISPINFOA: {
      auto& info = const_cast<NMTVDISPINFOA&>(reinterpret_cast<const NMTVDISPINFOA&>(header));
      if ((info.item.mask & TVIF_TEXT) && info.item.pszText && info.item.cchTextMax > 0) {
        const std::string text = tree_.labelText(static_cast<ItemId>(info.item.lParam));
        lstrcpynA(info.item.pszText, text.c_str(), info.item.cchTextMax);
      }
      result = 0;
      return true;
    }
    default:
      return false;
  }
}

void WorkspaceTreeEvents::openContextMenu() {
  POINT screen{};
  GetCursorPos(&screen);
  TVHITTESTINFO hit{};
  hit.pt = screen;
  ScreenToClient(control_.tree(), &hit.pt);
  const ItemId item = control_.itemOf(TreeView_HitTest(control_.tree(), &hit));
  if (!tree_.node(item)) return;
  const int command = chooseFromMenu(item, screen);
  if (command != 0) commands_.runMenuCommand(item, command);
}

void WorkspaceTreeEvents::openContextMenuOfSelection() {
  HTREEITEM selected = TreeView_GetSelection(control_.tree());
  const ItemId item = control_.itemOf(selected);
  if (!selected || !tree_.node(item)) return;
  RECT label{};
  TreeView_GetItemRect(control_.tree(), selected, &label, TRUE);
  POINT screen{label.left, label.bottom};
  ClientToScreen(control_.tree(), &screen);
  const int command = chooseFromMenu(item, screen);
  if (command != 0) commands_.runMenuCommand(item, command);
}

int WorkspaceTreeEvents::chooseFromMenu(ItemId item, POINT screenPoint) {
  TreeView_SelectItem(control_.tree(), control_.handleOf(item));
  const std::vector<MenuEntry> entries = tree_.contextMenuOf(item);
  if (entries.empty()) return 0;
  HMENU menu = CreatePopupMenu();
  if (!menu) return 0;
  for (const MenuEntry& entry : entries) {
    if (entry.isSeparator())
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    else
      AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(entry.command), entry.text.c_str());
  }
  const int command = static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                      screenPoint.x, screenPoint.y, 0, GetParent(control_.tree()),
                                                      nullptr));
  DestroyMenu(menu);
  return command;
}

}  // namespace veltrace
