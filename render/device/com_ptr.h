#pragma once
// An owning pointer to a COM interface: releases what it holds when it is
// reset, reassigned or destroyed, so device objects are never leaked on an
// early return. Move-only; a copy would need an AddRef nobody would see.

#include <utility>

namespace veltrace::render {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already holds.
  explicit ComPtr(T* owned) : pointer_(owned) {}
  ~ComPtr() { reset(); }

  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }

  T* get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  // Releases the held reference; returns the count Release reported (0 when
  // nothing was held), which tells whether the object is really gone.
  unsigned long reset() {
    unsigned long remaining = 0;
    if (pointer_) remaining = pointer_->Release();
    pointer_ = nullptr;
    return remaining;
  }

  // For creation calls that write an interface pointer: releases what is
  // held and hands out the slot.
  T** put() {
    reset();
    return &pointer_;
  }

 private:
  T* pointer_ = nullptr;
};

}  // namespace veltrace::render
