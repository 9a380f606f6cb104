#pragma once
// Makes the panes of this family for the workspace tree's pane factory: the
// variable editors, the Textures pane, the Render States pane and the Stream
// Mapping pane, each created hidden.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/message_log.h"
#include "panes/workspace/pane_factory.h"
#include "render/texture/texture_store.h"

namespace veltrace {

// What the panes need from the program; all of it must outlive the panes.
struct StatePaneServices {
  HWND owner = nullptr;
  TextureStore* textureStore = nullptr;  // the Textures pane holds its textures' uses here
  MessageLog* log = nullptr;
  std::string programFolder;
  std::function<void(const char* topic)> openHelp;
  std::function<void()> requestSceneInformation;
};

// The pane for the request, or nullptr for kinds of other families, for a
// request without its effect (or variable), when the Textures pane has no
// store or log, or when the window cannot be made.
std::unique_ptr<Pane> createStatePane(const PaneRequest& request, const StatePaneServices& services);

}  // namespace veltrace
