#pragma once
// What the program's command line asks it to open: a workspace (.vwork) or
// a scene (.vase). One argument, quoted or not; the extension decides,
// without regard to case.

#include <string>

namespace veltrace {

struct StartRequest {
  std::string workspace;
  std::string scene;
  std::string unknown;  // named a file that is neither: logged, nothing opened
};

StartRequest parseCommandLine(const std::string& arguments);

}  // namespace veltrace
