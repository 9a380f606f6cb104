#pragma once
// The preview's window messages: held keys, the display toggle keys, and
// the mouse buttons and moves that turn object, world and light. Any window
// that shows the preview (the main view, a test host) hands its messages
// here first.

#include <windows.h>

#include "render/preview/preview_state.h"

namespace veltrace::render {

// Applies a key or mouse message to the preview state, taking or releasing
// the mouse capture of the window as the buttons require. True when the
// message was one of the preview's.
bool applyPreviewMessage(PreviewState& state, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace veltrace::render
