#pragma once
// Owning types for the window system's handles: each closes its handle with
// the call that belongs to it when it goes out of scope, so no window, GDI
// object, menu or registry key is leaked on an early return.

#include <windows.h>

#include <utility>

namespace veltrace::ui {

template <typename Handle, typename Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }

  // Gives the handle up without closing it.
  Handle release() { return std::exchange(handle_, Handle{}); }

  void reset(Handle handle = Handle{}) {
    if (handle_ != Handle{}) Traits::close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_{};
};

struct WindowTraits { static void close(HWND window) { DestroyWindow(window); } };
struct GdiTraits { static void close(HGDIOBJ object) { DeleteObject(object); } };
struct MenuTraits { static void close(HMENU menu) { DestroyMenu(menu); } };
struct AcceleratorTraits { static void close(HACCEL table) { DestroyAcceleratorTable(table); } };
struct RegistryKeyTraits { static void close(HKEY key) { RegCloseKey(key); } };
struct LibraryTraits { static void close(HMODULE module) { FreeLibrary(module); } };
struct MemoryDcTraits { static void close(HDC dc) { DeleteDC(dc); } };

using WindowHandle = UniqueHandle<HWND, WindowTraits>;
using FontHandle = UniqueHandle<HFONT, GdiTraits>;
using BrushHandle = UniqueHandle<HBRUSH, GdiTraits>;
using PenHandle = UniqueHandle<HPEN, GdiTraits>;
using BitmapHandle = UniqueHandle<HBITMAP, GdiTraits>;
using MenuHandle = UniqueHandle<HMENU, MenuTraits>;
using AcceleratorHandle = UniqueHandle<HACCEL, AcceleratorTraits>;
using RegistryKey = UniqueHandle<HKEY, RegistryKeyTraits>;
using LibraryHandle = UniqueHandle<HMODULE, LibraryTraits>;
using MemoryDc = UniqueHandle<HDC, MemoryDcTraits>;

// A window's device context, borrowed with GetDC and given back with
// ReleaseDC, which needs the window as well as the context.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects a GDI object into a context for the scope and puts the old one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, previous_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// BeginPaint and EndPaint around a WM_PAINT handler.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
  ~PaintScope() { EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return dc_; }
  const RECT& area() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_ = nullptr;
};

}  // namespace veltrace::ui
