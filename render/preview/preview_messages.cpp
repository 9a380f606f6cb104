#include "render/preview/preview_messages.h"

#include <windowsx.h>

#include "render/preview/preview_input.h"

namespace veltrace::render {

bool applyPreviewMessage(PreviewState& state, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      if (auto key = previewKeyFromVirtualKey(static_cast<int>(wParam))) keyDown(state, *key);
      return true;
    case WM_KEYUP:
      if (auto key = previewKeyFromVirtualKey(static_cast<int>(wParam))) keyUp(state, *key);
      return true;
    case WM_MOUSEMOVE:
      mouseMove(state, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam),
                {(wParam & MK_LBUTTON) != 0, (wParam & MK_RBUTTON) != 0, (wParam & MK_MBUTTON) != 0});
      return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (buttonDown(state, message == WM_LBUTTONDOWN ? MouseButton::left : MouseButton::right) ==
          CaptureChange::capture)
        SetCapture(window);
      return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (buttonUp(state, message == WM_LBUTTONUP ? MouseButton::left : MouseButton::right) == CaptureChange::release &&
          GetCapture() == window)
        ReleaseCapture();
      return true;
    default:
      return false;
  }
}

}  // namespace veltrace::render
