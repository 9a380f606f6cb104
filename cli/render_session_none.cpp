// veltrace-cli render in a build without Direct3D.

#include <ostream>

#include "cli/render_options.h"

namespace veltrace::cli {

int runRender(const Context& context, const RenderOptions&) {
  context.err << "veltrace-cli render: this build has no Direct3D; use veltrace-cli.exe (the Windows build, "
                 "under Wine)\n";
  return exitFailure;
}

}  // namespace veltrace::cli
