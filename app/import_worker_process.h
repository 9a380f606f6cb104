#pragma once
// The program's side of Import Model: veltrace-cli.exe, the import worker,
// started as a child process inside a job object that limits its memory and
// is ended at the time limit or on Cancel. A small window shows the import
// running with a Cancel button meanwhile. The program itself never loads a
// model, so nothing the import library does can harm the session.

#include <windows.h>

#include <string>

#include "app/model_import.h"

namespace veltrace {

struct ImportWorkerRequest {
  std::string workerPath;  // veltrace-cli.exe
  std::string modelPath;
  std::string scenePath;
  bool keepUnits = false;
};

// Runs the worker and waits for it, keeping the program's windows alive; on
// failure no scene file is left behind.
ImportResult runImportWorkerProcess(const ImportWorkerRequest& request, const ImportLimits& limits, HWND owner);

// Title of the progress window, and the caption of its button.
inline constexpr char importProgressTitle[] = "Import Model";
inline constexpr char importProgressCancel[] = "Cancel";

}  // namespace veltrace
