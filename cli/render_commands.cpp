// veltrace-cli render: the program's main job without its window. The
// workspace is loaded with its scene and effects into the same renderer,
// a few frames are drawn behind a hidden window, and the last one is written
// as a PNG.

#include <cmath>
#include <ostream>

#include "base/text.h"
#include "cli/command.h"
#include "cli/groups.h"
#include "cli/render_options.h"

namespace veltrace::cli {
namespace {

void printRenderUsage(std::ostream& out) {
  out << "usage: veltrace-cli [--program-folder DIR] render WORKSPACE.vwork -o OUT.png [options]\n"
         "\n"
         "Loads the workspace with its scene and effects, draws it with the preview's\n"
         "renderer behind a hidden window and writes the frame as a PNG. The message-log\n"
         "lines are printed.\n"
         "\n"
         "Options:\n"
         "  --size WxH            frame size in pixels (default 640x480, 16..4096 each)\n"
         "  --frames N            frames drawn before the one written (default 1)\n"
         "  --time SECONDS        fixed application time, for reproducible frames\n"
         "  --object-yaw R        object rotation about the vertical axis, radians\n"
         "  --object-pitch R      object rotation about the horizontal axis, radians\n"
         "  --show WHAT           normals, tangents, light or stats; may be repeated\n"
         "\n"
#ifndef _WIN32
         "This build has no Direct3D: rendering needs veltrace-cli.exe (the Windows\n"
         "build, which runs under Wine).\n"
         "\n"
#endif
         "Exit codes: 0 done, 1 failed, 2 bad usage.\n";
}

// A whole-text number in range; nothing for anything else.
std::optional<double> readNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<int> readCount(const std::string& text, int lowest, int highest) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < lowest || value > highest) return std::nullopt;
  return value;
}

bool readSize(const std::string& text, RenderOptions& options) {
  std::size_t cross = text.find_first_of("xX");
  if (cross == std::string::npos) return false;
  auto width = readCount(text.substr(0, cross), smallestFrameSide, largestFrameSide);
  auto height = readCount(text.substr(cross + 1), smallestFrameSide, largestFrameSide);
  if (!width || !height) return false;
  options.width = *width;
  options.height = *height;
  return true;
}

bool endsWith(const std::string& text, const std::string& ending) {
  return text.size() >= ending.size() && toLowerAscii(text.substr(text.size() - ending.size())) == ending;
}

}  // namespace

std::optional<RenderOptions> parseRenderOptions(const Arguments& arguments, std::string& problem) {
  RenderOptions options;
  for (std::size_t at = 0; at < arguments.size(); ++at) {
    const std::string& argument = arguments[at];
    bool takesValue = argument == "-o" || argument == "--size" || argument == "--frames" || argument == "--time" ||
                      argument == "--object-yaw" || argument == "--object-pitch" || argument == "--show";
    if (!takesValue) {
      if (argument.rfind("-", 0) == 0) {
        problem = "unknown option '" + argument + "'";
        return std::nullopt;
      }
      if (!options.workspace.empty()) {
        problem = "more than one workspace given";
        return std::nullopt;
      }
      options.workspace = corePathFromArgument(argument);
      continue;
    }
    if (at + 1 >= arguments.size()) {
      problem = argument + " needs a value";
      return std::nullopt;
    }
    const std::string& value = arguments[++at];
    if (argument == "-o") {
      options.output = corePathFromArgument(value);
    } else if (argument == "--size") {
      if (!readSize(value, options)) {
        problem = formatText("--size wants WxH with both between %d and %d, not '%s'", smallestFrameSide,
                             largestFrameSide, value.c_str());
        return std::nullopt;
      }
    } else if (argument == "--frames") {
      auto frames = readCount(value, 1, mostFrames);
      if (!frames) {
        problem = formatText("--frames wants a whole number from 1 to %d, not '%s'", mostFrames, value.c_str());
        return std::nullopt;
      }
      options.frames = *frames;
    } else if (argument == "--show") {
      if (value == "normals") options.showNormals = true;
      else if (value == "tangents") options.showTangents = true;
      else if (value == "light") options.showLight = true;
      else if (value == "stats") options.showStats = true;
      else {
        problem = "--show wants normals, tangents, light or stats, not '" + value + "'";
        return std::nullopt;
      }
    } else {
      auto number = readNumber(value);
      if (!number || std::fabs(*number) > 1e6) {
        problem = argument + " wants a number, not '" + value + "'";
        return std::nullopt;
      }
      if (argument == "--time") {
        if (*number < 0) {
          problem = "--time cannot be negative";
          return std::nullopt;
        }
        options.time = *number;
      } else if (argument == "--object-yaw") {
        options.objectYaw = static_cast<float>(*number);
      } else {
        options.objectPitch = static_cast<float>(*number);
      }
    }
  }
  if (options.workspace.empty()) {
    problem = "no workspace given";
    return std::nullopt;
  }
  if (options.output.empty()) {
    problem = "no output file given: add -o OUT.png";
    return std::nullopt;
  }
  if (!endsWith(options.output, ".png")) {
    problem = "the output file must end in .png";
    return std::nullopt;
  }
  return options;
}

int runRenderGroup(const Context& context, const Arguments& arguments) {
  if (asksForHelp(arguments)) {
    printRenderUsage(context.out);
    return exitSuccess;
  }
  std::string problem;
  auto options = parseRenderOptions(arguments, problem);
  if (!options) return usageError(context, "render", problem);
  return runRender(context, *options);
}

}  // namespace veltrace::cli
