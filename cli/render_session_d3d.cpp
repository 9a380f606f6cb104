// veltrace-cli render on Direct3D 8: the workspace into the offscreen view,
// frames drawn, the last one read back and written.

#include <windows.h>

#include <ostream>

#include "app/message_log.h"
#include "base/text.h"
#include "cli/render_options.h"
#include "effect/effect_files.h"
#include "effect/workspace_file.h"
#include "render/frame/offscreen_view.h"
#include "render/preview/preview_state.h"

namespace veltrace::cli {

namespace {

void printLines(const Context& context, MessageLog& log) {
  for (const auto& line : log.takePending()) context.out << line << "\n";
}

void applyPose(const RenderOptions& options, render::PreviewState& preview) {
  preview.objectYaw = options.objectYaw;
  preview.objectPitch = options.objectPitch;
  preview.showLight = options.showLight;
  preview.showStats = options.showStats;
  // The frame move turns these toggles into the vector display bits; the
  // renderer draws only the normals when both are asked for.
  preview.showNormals = options.showNormals;
  preview.showTangents = options.showTangents;
}

}  // namespace

int runRender(const Context& context, const RenderOptions& options) {
  MessageLog log;
  // Declared before the view: the view's renderer draws the workspace's
  // scene until the view is gone.
  Workspace workspace;
  bool read = readWorkspace(options.workspace, workspace, context.programFolder, {}, log);
  printLines(context, log);
  if (!read) {
    context.err << "veltrace-cli render: the workspace '" << options.workspace << "' could not be read\n";
    return exitFailure;
  }
  // The shader panes read each present shader's source when they open.
  for (auto& effect : workspace.effects) readShaderSources(*effect, log);
  printLines(context, log);

  render::OffscreenView view(log);
  view.renderer.textures().setProgramFolder(context.programFolder);
  view.renderer.textures().setFolder(context.programFolder + "\\media\\textures\\");
  view.renderer.afterFrame = [&] { printLines(context, log); };
  std::string error;
  if (!view.start(options.width, options.height, error)) {
    printLines(context, log);
    context.err << "veltrace-cli render: " << error << "\n";
    return exitFailure;
  }
  view.renderer.setScene(&workspace.scene);
  applyPose(options, view.preview);

  DWORD started = GetTickCount();
  LARGE_INTEGER first{}, last{}, frequency{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&first);
  for (int frame = 0; frame < options.frames; ++frame) {
    double time = options.time ? *options.time : (GetTickCount() - started) / 1000.0;
    view.drawFrame(static_cast<float>(time));
  }
  QueryPerformanceCounter(&last);
  render::RgbaImage image;
  bool captured = view.capture(image, error);
  view.renderer.setScene(nullptr);
  printLines(context, log);
  if (!captured) {
    context.err << "veltrace-cli render: " << error << "\n";
    return exitFailure;
  }
  if (!render::writePng(image, options.output, error)) {
    context.err << "veltrace-cli render: " << error << "\n";
    return exitFailure;
  }
  context.out << formatText("Frame %dx%d written to \"%s\"", image.width, image.height, options.output.c_str())
              << "\n";
  if (options.frames > 1) {
    // Benchmarks compare this rate with the program's own.
    double seconds = static_cast<double>(last.QuadPart - first.QuadPart) / static_cast<double>(frequency.QuadPart);
    context.out << formatText("%d frames in %.3f s: %.2f frames per second", options.frames, seconds,
                              seconds > 0 ? options.frames / seconds : 0.0)
                << "\n";
  }
  return exitSuccess;
}

}  // namespace veltrace::cli
