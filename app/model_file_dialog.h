#pragma once
// Import Model's open dialog: the common file dialog with one more control
// below it, the check box that keeps the model's own units.

#include <windows.h>

#include <optional>

#include "app/veltrace_doc.h"

namespace veltrace {

inline constexpr char keepUnitsCheckBoxText[] = "keep the model's units";

// The chosen model, or nothing when the dialog was cancelled.
std::optional<ModelChoice> chooseModelFile(HWND owner, const FileDialogSpec& spec);

}  // namespace veltrace
