#include "render/device/framework_errors.h"

namespace veltrace::render {

namespace {

const char* baseText(std::uint32_t code) {
  switch (code) {
    case errorNoDirect3D:
      return "Could not initialize Direct3D. You may\nwant to check that the latest version of\n"
             "DirectX is correctly installed on your\nsystem.  Also make sure that this program\n"
             "was compiled with header files that match\nthe installed DirectX DLLs.";
    case errorNoCompatibleDevices:
      return "Could not find any compatible Direct3D\ndevices.";
    case errorNoWindowableDevices:
      return "This sample cannot run in a desktop\nwindow with the current display settings.\n"
             "Please change your desktop settings to a\n16- or 32-bit display mode and re-run this\nsample.";
    case errorNoHardwareDevice:
      return "No hardware-accelerated Direct3D devices\nwere found.";
    case errorHardwareLacksFunctions:
      return "This sample requires functionality that is\nnot available on your Direct3D hardware\naccelerator.";
    case errorHardwareCannotRenderWindowed:
      return "Your Direct3D hardware accelerator cannot\nrender into a window.\n"
             "Press F2 while the app is running to see a\nlist of available devices and modes.";
    case errorHardwareCannotRenderInDesktopMode:
      return "Your Direct3D hardware accelerator cannot\nrender into a window with the current\n"
             "desktop display settings.\n"
             "Press F2 while the app is running to see a\nlist of available devices and modes.";
    case errorHardwareLacksFunctionsInDesktopMode:
      return "This sample requires functionality that is\nnot available on your Direct3D hardware\n"
             "accelerator with the current desktop display\nsettings.\n"
             "Press F2 while the app is running to see a\nlist of available devices and modes.";
    case errorObjectsNotReleased:
      return "A D3D object has a non-zero reference\ncount (meaning things were not properly\ncleaned up).";
    case errorMediaMissing:
      return "Could not load required media.";
    case errorResetFailed:
      return "Could not reset the Direct3D device.";
    case errorNullReferenceDevice:
      return "Warning: Nothing will be rendered.\nThe reference rendering device was selected, but your\n"
             "computer only has a reduced-functionality reference device\ninstalled.  Install the "
             "DirectX SDK to get the full\nreference device.\n";
    case resultOutOfMemory:
      return "Not enough memory.";
    case resultOutOfVideoMemory:
      return "Not enough video memory.";
    default:
      return "Generic application error. Enable\ndebug output for detailed information.";
  }
}

}  // namespace

std::string frameworkErrorText(std::uint32_t code, MessageKind kind) {
  std::string text = baseText(code);
  switch (kind) {
    case MessageKind::plain: break;
    case MessageKind::mustExit: text += "\n\nThis sample will now exit."; break;
    case MessageKind::switchedToReference:
      text += "\n\nSwitching to the reference rasterizer,\na software device that implements the entire\n"
              "Direct3D feature set, but runs very slowly.";
      break;
  }
  return text;
}

}  // namespace veltrace::render
