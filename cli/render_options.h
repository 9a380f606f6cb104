#pragma once
// The command line of veltrace-cli render, read into what the offscreen
// renderer needs.

#include <optional>
#include <string>

#include "cli/command.h"

namespace veltrace::cli {

struct RenderOptions {
  std::string workspace;  // core form
  std::string output;     // core form
  int width = 640;
  int height = 480;
  int frames = 1;
  std::optional<double> time;  // fixed application time; running clock when absent
  float objectYaw = 0, objectPitch = 0;  // radians
  bool showNormals = false, showTangents = false, showLight = false, showStats = false;
};

inline constexpr int smallestFrameSide = 16;
inline constexpr int largestFrameSide = 4096;
inline constexpr int mostFrames = 100000;

// The options, or nothing with `problem` saying what is wrong.
std::optional<RenderOptions> parseRenderOptions(const Arguments& arguments, std::string& problem);

// Renders the workspace and writes the PNG; prints the message-log lines.
// Defined by the Windows build (render_session_d3d.cpp); natively it only
// explains that it is not there.
int runRender(const Context& context, const RenderOptions& options);

}  // namespace veltrace::cli
