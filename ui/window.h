#pragma once
// The base of every window the program makes itself. It owns its HWND,
// registers its window class once, binds `this` to the window at
// WM_NCCREATE and hands every message to the virtual handler; what the
// handler leaves alone goes to DefWindowProc. No exception ever leaves the
// window procedure: one that reaches it is swallowed and the message
// treated as unhandled.

#include <windows.h>

#include <string>

#include "ui/handles.h"

namespace veltrace::ui {

struct WindowClassStyle {
  UINT style = CS_DBLCLKS;
  HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  HCURSOR cursor = nullptr;  // the arrow when null
  HICON icon = nullptr;
  HICON smallIcon = nullptr;
};

struct WindowPlacement {
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD extendedStyle = 0;
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
  int width = CW_USEDEFAULT, height = CW_USEDEFAULT;
  HWND parent = nullptr;
  HMENU menuOrId = nullptr;  // a child window's control id goes here
};

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Registers the class (once per class name) and creates the window. False
  // when the system refuses either.
  bool create(const char* className, const std::string& title, const WindowPlacement& placement,
              const WindowClassStyle& classStyle = {});

  HWND handle() const { return window_.get(); }
  explicit operator bool() const { return static_cast<bool>(window_); }

  void show(int command = SW_SHOW) const { ShowWindow(handle(), command); }
  void hide() const { ShowWindow(handle(), SW_HIDE); }
  bool visible() const { return handle() && IsWindowVisible(handle()); }
  void moveTo(const RECT& bounds, bool repaint = true) const;
  void redraw() const { InvalidateRect(handle(), nullptr, TRUE); }
  RECT clientArea() const;
  void setTitle(const std::string& title) const { SetWindowTextA(handle(), title.c_str()); }
  std::string title() const;

  // The Window object bound to a window handle, or null for windows not made
  // through this class.
  static Window* fromHandle(HWND window);

 protected:
  // Every message after WM_NCCREATE. Return the result; unhandled messages
  // go to defaultHandling().
  virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT defaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(handle(), message, wParam, lParam);
  }
  // Called once the window is destroyed (after WM_NCDESTROY); the handle is
  // already given up by then.
  virtual void windowDestroyed() {}

 private:
  static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  WindowHandle window_;
};

// The module the program runs as: resources, classes and dialogs live there.
HINSTANCE programInstance();

}  // namespace veltrace::ui
