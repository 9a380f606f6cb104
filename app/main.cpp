// veltrace.exe: the shader effect workbench.
#include <windows.h>

#include "app/veltrace_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int showCommand) {
  veltrace::CVeltraceApp application;
  if (!application.initInstance(commandLine ? commandLine : "", showCommand)) {
    MessageBoxA(nullptr, "The main window could not be created.", "Veltrace", MB_OK | MB_ICONERROR);
    return 1;
  }
  return application.run();
}
