#pragma once
// Turns a command table into the window system's menu bar, accelerator
// table and toolbar, and keeps check marks, enabled states and status
// prompts in step with it.

#include <windows.h>

#include <string>
#include <vector>

#include "ui/command_table.h"
#include "ui/handles.h"

namespace veltrace::ui {

MenuHandle buildMenuBar(const CommandTable& table);
AcceleratorHandle buildAccelerators(const CommandTable& table);

// Sets every entry of a menu that is about to open to its command's checked
// and enabled state.
void updateMenuStates(HMENU menu, const CommandTable& table);

// A 16 x 15 toolbar image as rows of characters; each character names a
// colour of the palette the image strip is drawn with (' ' is transparent).
struct ToolbarImage {
  const char* rows[15];
};

// A flat toolbar with tooltips whose buttons are the table's toolbar list.
// Tooltip texts are the commands' prompts.
HWND createToolbar(HWND parent, int controlId, const CommandTable& table, const std::vector<ToolbarImage>& images);
void updateToolbarStates(HWND toolbar, const CommandTable& table);

}  // namespace veltrace::ui
