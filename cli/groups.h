#pragma once
// Entry points of the command groups listed in cli/main.cpp.

#include "cli/command.h"

namespace veltrace::cli {

int runEffectGroup(const Context& context, const Arguments& arguments);
int runPackageGroup(const Context& context, const Arguments& arguments);
int runAsmGroup(const Context& context, const Arguments& arguments);
int runDisasmGroup(const Context& context, const Arguments& arguments);
int runSceneGroup(const Context& context, const Arguments& arguments);
int runWorkspaceGroup(const Context& context, const Arguments& arguments);
int runRenderGroup(const Context& context, const Arguments& arguments);

}  // namespace veltrace::cli
