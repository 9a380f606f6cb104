#pragma once
// The view size under the current user's registry key. Reading opens the key
// (creating it when missing) and keeps the default for anything absent or
// unusable; writing stores both sides as REG_DWORD values.

#include "app/view_settings.h"

namespace veltrace::app {

// keyPath: below HKEY_CURRENT_USER; tests pass a key of their own.
ViewSize readViewSize(const char* keyPath = viewSettingsKeyPath);

// Stores the size unless it is no usable size (the client area of a
// minimised window is 0 x 0): the last usable size then stays. Returns
// whether both values were written.
bool writeViewSize(ViewSize size, const char* keyPath = viewSettingsKeyPath);

}  // namespace veltrace::app
