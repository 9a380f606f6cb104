#include "ui/window.h"

#include <set>
#include <vector>

namespace veltrace::ui {

namespace {

// Classes this process registered already; registering twice fails quietly
// on Windows but would hide a changed style, so each name is done once.
std::set<std::string>& registeredClasses() {
  static std::set<std::string> names;
  return names;
}

}  // namespace

HINSTANCE programInstance() { return GetModuleHandleA(nullptr); }

Window::~Window() {
  if (window_) {
    // The procedure must not reach this object while it dies.
    SetWindowLongPtrA(window_.get(), GWLP_USERDATA, 0);
  }
}

bool Window::create(const char* className, const std::string& title, const WindowPlacement& placement,
                    const WindowClassStyle& classStyle) {
  if (!registeredClasses().count(className)) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = classStyle.style;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = programInstance();
    windowClass.hCursor = classStyle.cursor ? classStyle.cursor : LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = classStyle.background;
    windowClass.hIcon = classStyle.icon;
    windowClass.hIconSm = classStyle.smallIcon;
    windowClass.lpszClassName = className;
    if (!RegisterClassExA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    registeredClasses().insert(className);
  }
  HWND made = CreateWindowExA(placement.extendedStyle, className, title.c_str(), placement.style, placement.x,
                              placement.y, placement.width, placement.height, placement.parent, placement.menuOrId,
                              programInstance(), this);
  return made != nullptr;
}

void Window::moveTo(const RECT& bounds, bool repaint) const {
  MoveWindow(handle(), bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
             repaint ? TRUE : FALSE);
}

RECT Window::clientArea() const {
  RECT area{};
  if (handle()) GetClientRect(handle(), &area);
  return area;
}

std::string Window::title() const {
  int length = GetWindowTextLengthA(handle());
  std::vector<char> text(static_cast<size_t>(length) + 1);
  GetWindowTextA(handle(), text.data(), length + 1);
  return text.data();
}

Window* Window::fromHandle(HWND window) {
  return reinterpret_cast<Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT Window::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return defaultHandling(message, wParam, lParam);
}

LRESULT CALLBACK Window::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->window_.reset(window);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  Window* self = fromHandle(window);
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  LRESULT result = 0;
  try {
    result = self->handleMessage(message, wParam, lParam);
  } catch (...) {
    result = DefWindowProcA(window, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->window_.release();
    self->windowDestroyed();
  }
  return result;
}

}  // namespace veltrace::ui
