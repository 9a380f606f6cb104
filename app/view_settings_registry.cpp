#include "app/view_settings_registry.h"

#include <windows.h>

namespace veltrace::app {

namespace {

// An open registry key, closed when it goes out of scope.
class OpenKey {
 public:
  explicit OpenKey(const char* path) {
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &key_, nullptr) != ERROR_SUCCESS)
      key_ = nullptr;
  }
  ~OpenKey() {
    if (key_) RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

std::optional<StoredValue> queryValue(HKEY key, const char* name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  StoredValue value;
  value.type = type;
  value.bytes.resize(size);
  if (size > 0 &&
      RegQueryValueExA(key, name, nullptr, &type, value.bytes.data(), &size) != ERROR_SUCCESS)
    return std::nullopt;
  value.bytes.resize(size);
  return value;
}

bool writeDword(HKEY key, const char* name, int value) {
  StoredValue stored = storedDword(static_cast<std::uint32_t>(value));
  return RegSetValueExA(key, name, 0, REG_DWORD, stored.bytes.data(), static_cast<DWORD>(stored.bytes.size())) ==
         ERROR_SUCCESS;
}

}  // namespace

ViewSize readViewSize(const char* keyPath) {
  OpenKey key(keyPath);
  if (!key.get()) return defaultViewSize;
  return viewSizeFromStored(queryValue(key.get(), viewWidthValueName), queryValue(key.get(), viewHeightValueName));
}

bool writeViewSize(ViewSize size, const char* keyPath) {
  if (!isUsableViewSide(size.width) || !isUsableViewSide(size.height)) return false;
  OpenKey key(keyPath);
  if (!key.get()) return false;
  bool widthWritten = writeDword(key.get(), viewWidthValueName, size.width);
  bool heightWritten = writeDword(key.get(), viewHeightValueName, size.height);
  return widthWritten && heightWritten;
}

}  // namespace veltrace::app
