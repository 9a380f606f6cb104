#pragma once
// Keyboard and mouse control of the preview: held movement keys, display
// toggles, and mouse drags that turn the object (left button), the world
// (right button) or the light (both), or pan the look-at point (middle).

#include <optional>

#include "render/preview/preview_state.h"

namespace veltrace::render {

enum class PreviewKey {
  left, right, up, down, pageUp, pageDown,  // held movement keys
  toggleStats, toggleLight, toggleNormals, toggleTangents, reset,
};

// Windows virtual-key codes of the keys above (documented, fixed values).
inline constexpr int virtualKeyPageUp = 0x21;    // VK_PRIOR
inline constexpr int virtualKeyPageDown = 0x22;  // VK_NEXT
inline constexpr int virtualKeyLeft = 0x25;
inline constexpr int virtualKeyUp = 0x26;
inline constexpr int virtualKeyRight = 0x27;
inline constexpr int virtualKeyDown = 0x28;

// The preview key a virtual-key code stands for; letters are their upper-case
// character codes ('F', 'L', 'N', 'T', 'R').
std::optional<PreviewKey> previewKeyFromVirtualKey(int virtualKey);

void keyDown(PreviewState& state, PreviewKey key);
void keyUp(PreviewState& state, PreviewKey key);

struct MouseButtons {
  bool left = false, right = false, middle = false;
};

// The button state of a mouse message, with at most one of these applied.
void mouseMove(PreviewState& state, int x, int y, MouseButtons buttons);

enum class MouseButton { left, right };

// What the window must do with the mouse capture after a button message.
enum class CaptureChange { none, capture, release };

CaptureChange buttonDown(PreviewState& state, MouseButton button);
CaptureChange buttonUp(PreviewState& state, MouseButton button);

}  // namespace veltrace::render
