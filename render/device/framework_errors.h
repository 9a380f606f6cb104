#pragma once
// The device framework's own error codes and the texts shown for them, and
// the three ways a message is shown.

#include <cstdint>
#include <string>

namespace veltrace::render {

enum FrameworkError : std::uint32_t {
  errorNoDirect3D = 0x82000001,
  errorNoCompatibleDevices = 0x82000003,
  errorNoWindowableDevices = 0x82000004,
  errorNoHardwareDevice = 0x82000005,
  errorHardwareLacksFunctions = 0x82000006,
  errorHardwareCannotRenderWindowed = 0x82000007,
  errorHardwareCannotRenderInDesktopMode = 0x82000008,
  errorHardwareLacksFunctionsInDesktopMode = 0x82000009,
  errorObjectsNotReleased = 0x8200000A,
  errorMediaMissing = 0x8200000B,
  errorResetFailed = 0x8200000C,
  errorNullReferenceDevice = 0x8200000D,
};

// Platform result codes with a text of their own.
inline constexpr std::uint32_t resultOutOfMemory = 0x8007000E;       // E_OUTOFMEMORY
inline constexpr std::uint32_t resultOutOfVideoMemory = 0x8876017C;  // D3DERR_OUTOFVIDEOMEMORY

enum class MessageKind {
  plain,                // the text alone, in an error box
  mustExit,             // the text, an error box, then the main window closes
  switchedToReference,  // the text, a warning box; rendering goes on slowly
};

// The text of a code, with the paragraph its kind adds.
std::string frameworkErrorText(std::uint32_t code, MessageKind kind);

// Whether the box is a warning rather than an error.
inline bool isWarning(MessageKind kind) { return kind == MessageKind::switchedToReference; }

}  // namespace veltrace::render
