#pragma once
// Libraries the setup program binds at run time, loaded only from the
// system folder. The program runs from download folders where anyone may
// drop a DLL named like a system one; nothing is ever looked up beside it.

#include <windows.h>

namespace veltrace::setup {

// Limits the search for every later load to the system folder (where the
// system has SetDefaultDllDirectories) and takes the current folder out of
// it. Call first thing, before anything is loaded by name.
void restrictDllSearch();

// The library of that file name from the system folder, by its full path;
// loaded once and kept for the run. Null when it does not exist there.
HMODULE systemLibrary(const char* fileName);

template <typename Function>
Function systemFunction(const char* fileName, const char* functionName) {
  HMODULE library = systemLibrary(fileName);
  if (!library) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, functionName)));
}

}  // namespace veltrace::setup
