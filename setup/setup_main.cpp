// setup.exe: installs Veltrace from the package appended to it, removes it
// again from the copy it leaves in the application folder, and registers
// deferred files after a restart. Everything between the command line and
// the exit code is the portable run (setup_run.h); this file sets up the
// process around it.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "setup/command_line.h"
#include "setup/setup_windows.h"
#include "setup/system_libraries.h"
#include "setup/windows_install_platform.h"

namespace {

// The progress bar's class, from the system folder's comctl32.
void initialiseCommonControls() {
  using Initialise = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  auto initialise = veltrace::setup::systemFunction<Initialise>("comctl32.dll", "InitCommonControlsEx");
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
  if (initialise) initialise(&controls);
}

std::string currentFolder() {
  char buffer[MAX_PATH + 1];
  DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
  return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace veltrace::setup;
  // Before anything is loaded by name: nothing from beside this program.
  restrictDllSearch();
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  if (FAILED(CoInitialize(nullptr))) return exitStartupFailed;
  initialiseCommonControls();

  int exitCode;
  {
    WindowsInstallPlatform platform;
    WindowsSetupWindows windows(instance, platform);
    SetupStart start;
    start.commandLine = GetCommandLineA();
    start.folders = windowsRuntimeFolders();
    start.currentFolder = currentFolder();
    exitCode = runSetup(platform, windows, start);
  }
  CoUninitialize();
  return exitCode;
}
