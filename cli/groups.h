#pragma once
// Entry points of the command groups listed in cli/main.cpp.

#include "cli/command.h"

namespace veltrace::cli {

int runEffectGroup(const Context& context, const Arguments& arguments);

}  // namespace veltrace::cli
