#pragma once
// Where the program's compiled help file lives and which of its pages the
// panes open, and the message-log line for a help window that did not open.
// Portable: the Windows help system (help_system.h) only carries these out.

#include <optional>
#include <string>
#include <string_view>

namespace veltrace::app {

// Below the program folder; the suffix carries its own leading backslash.
inline constexpr std::string_view helpFileSuffix = "\\help\\veltrace.chm";

// Pages inside the help file, appended directly to its path when opened.
namespace help_topic {
inline constexpr const char* color = "::/html/color.htm";
inline constexpr const char* matrix = "::/html/matrix.htm";
inline constexpr const char* vector = "::/html/vector.htm";
inline constexpr const char* pixelShader = "::/html/pixel shader.htm";
inline constexpr const char* vertexShader = "::/html/vertex shader.htm";
inline constexpr const char* renderSettings = "::/html/render settings.htm";
inline constexpr const char* renderStates = "::/html/renderstates.htm";
inline constexpr const char* textureStageStates = "::/html/texturesstagesstates.htm";
inline constexpr const char* streamMapping = "::/html/streammapping.htm";
}  // namespace help_topic

std::string helpFilePath(std::string_view programFolder);

// The one line logged when the help window did not open. With the help
// system's own description it is "ERROR! " and that description. Some help
// systems give none; the line then names the file (and the topic, when one
// was asked for) so that the failure is never silent.
std::string helpFailureLine(const std::optional<std::string>& systemDescription,
                            std::string_view helpFile, std::string_view topic);

}  // namespace veltrace::app
