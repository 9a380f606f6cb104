#include "ui/command_ui.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

namespace veltrace::ui {

MenuHandle buildMenuBar(const CommandTable& table) {
  MenuHandle bar(CreateMenu());
  for (const MenuColumn& column : table.menus()) {
    HMENU popup = CreatePopupMenu();
    for (int id : column.entries) {
      if (id == separatorEntry) {
        AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
      } else if (const Command* command = table.find(id)) {
        AppendMenuA(popup, MF_STRING, static_cast<UINT_PTR>(id), command->menuText.c_str());
      }
    }
    UINT flags = MF_POPUP | MF_STRING | (column.atRightEnd ? MF_RIGHTJUSTIFY : 0);
    AppendMenuA(bar.get(), flags, reinterpret_cast<UINT_PTR>(popup), column.title.c_str());
  }
  return bar;
}

AcceleratorHandle buildAccelerators(const CommandTable& table) {
  std::vector<ACCEL> entries;
  for (const Command& command : table.commands()) {
    for (const Accelerator& key : command.accelerators) {
      ACCEL entry{};
      entry.fVirt = FVIRTKEY | ((key.modifiers & controlKey) ? FCONTROL : 0) | ((key.modifiers & shiftKey) ? FSHIFT : 0) |
                    ((key.modifiers & altKey) ? FALT : 0);
      entry.key = static_cast<WORD>(key.virtualKey);
      entry.cmd = static_cast<WORD>(command.id);
      entries.push_back(entry);
    }
  }
  if (entries.empty()) return {};
  return AcceleratorHandle(CreateAcceleratorTableA(entries.data(), static_cast<int>(entries.size())));
}

void updateMenuStates(HMENU menu, const CommandTable& table) {
  int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    UINT id = GetMenuItemID(menu, position);
    if (id == 0 || id == static_cast<UINT>(-1) || !table.find(static_cast<int>(id))) continue;
    CheckMenuItem(menu, id, MF_BYCOMMAND | (table.isChecked(static_cast<int>(id)) ? MF_CHECKED : MF_UNCHECKED));
    EnableMenuItem(menu, id, MF_BYCOMMAND | (table.isEnabled(static_cast<int>(id)) ? MF_ENABLED : MF_GRAYED));
  }
}

namespace {

constexpr int imageWidth = 16;
constexpr int imageHeight = 15;
constexpr COLORREF transparentColour = RGB(255, 0, 255);

COLORREF paletteColour(char code) {
  switch (code) {
    case 'k': return RGB(0, 0, 0);
    case 'w': return RGB(255, 255, 255);
    case 'g': return RGB(128, 128, 128);
    case 'l': return RGB(192, 192, 192);
    case 'y': return RGB(255, 220, 80);
    case 'o': return RGB(200, 140, 20);
    case 'b': return RGB(40, 90, 200);
    case 'c': return RGB(90, 170, 240);
    case 'r': return RGB(210, 40, 40);
    case 'G': return RGB(30, 160, 60);
    case 'n': return RGB(0, 0, 128);
    default: return transparentColour;
  }
}

// Draws the images side by side into one bitmap, the toolbar's image strip.
HBITMAP drawImageStrip(const std::vector<ToolbarImage>& images) {
  WindowDc screen(nullptr);
  HBITMAP strip =
      CreateCompatibleBitmap(screen.get(), imageWidth * static_cast<int>(std::max<size_t>(images.size(), 1)), imageHeight);
  MemoryDc dc(CreateCompatibleDC(screen.get()));
  SelectedObject selected(dc.get(), strip);
  for (size_t index = 0; index < images.size(); ++index) {
    for (int y = 0; y < imageHeight; ++y) {
      const char* row = images[index].rows[y];
      size_t length = row ? std::strlen(row) : 0;
      for (int x = 0; x < imageWidth; ++x) {
        char code = static_cast<size_t>(x) < length ? row[x] : ' ';
        SetPixel(dc.get(), static_cast<int>(index) * imageWidth + x, y, paletteColour(code));
      }
    }
  }
  return strip;
}

}  // namespace

HWND createToolbar(HWND parent, int controlId, const CommandTable& table, const std::vector<ToolbarImage>& images) {
  HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                                 WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0, 0, 0, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), GetModuleHandleA(nullptr),
                                 nullptr);
  if (!toolbar) return nullptr;
  SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(imageWidth, imageHeight));
  HIMAGELIST list = ImageList_Create(imageWidth, imageHeight, ILC_COLOR24 | ILC_MASK, static_cast<int>(images.size()), 0);
  HBITMAP strip = drawImageStrip(images);
  ImageList_AddMasked(list, strip, transparentColour);
  DeleteObject(strip);
  // The toolbar does not own an image list: it lives as long as the process.
  SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
  std::vector<TBBUTTON> buttons;
  for (int id : table.toolbar()) {
    TBBUTTON button{};
    if (id == separatorEntry) {
      button.fsStyle = BTNS_SEP;
    } else {
      const Command* command = table.find(id);
      if (!command) continue;
      button.iBitmap = command->toolbarImage;
      button.idCommand = id;
      button.fsState = TBSTATE_ENABLED;
      button.fsStyle = BTNS_BUTTON;
    }
    buttons.push_back(button);
  }
  SendMessageA(toolbar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
  return toolbar;
}

void updateToolbarStates(HWND toolbar, const CommandTable& table) {
  for (int id : table.toolbar()) {
    if (id == separatorEntry) continue;
    SendMessageA(toolbar, TB_CHECKBUTTON, id, MAKELPARAM(table.isChecked(id), 0));
    SendMessageA(toolbar, TB_ENABLEBUTTON, id, MAKELPARAM(table.isEnabled(id), 0));
  }
}

}  // namespace veltrace::ui
