#pragma once
// What every veltrace-cli command group receives, and the exit codes they
// return: 0 success, 1 the operation failed, 2 the command line was wrong.

#include <iosfwd>
#include <string>
#include <vector>

namespace veltrace::cli {

enum ExitCode { exitSuccess = 0, exitFailure = 1, exitUsage = 2 };

struct Context {
  std::string programFolder;  // core form (backslashes), no trailing backslash
  std::ostream& out;
  std::ostream& err;
};

using Arguments = std::vector<std::string>;

// One command group ("effect", "scene", ...): runs the arguments after the
// group's name.
struct CommandGroup {
  const char* name;
  const char* summary;
  int (*run)(const Context& context, const Arguments& arguments);
};

// Defined in cli/main.cpp: the table of every group.
const std::vector<CommandGroup>& commandGroups();

// The program folder's path joined with a suffix such as "\\prefs".
std::string inProgramFolder(const Context& context, const std::string& suffix);

// Turns a path given on the command line into the core's form.
std::string corePathFromArgument(const std::string& argument);

// Says what is wrong with the command line in one line that points to the
// group's help ("veltrace-cli GROUP: PROBLEM (see 'veltrace-cli GROUP
// --help')") and returns exitUsage.
int usageError(const Context& context, const std::string& group, const std::string& problem);

// True when "--help" or "-h" is among the arguments.
bool asksForHelp(const Arguments& arguments);
bool isHelpOption(const std::string& argument);

// True for "-x" and "--xyz"; a lone "-" is a name.
bool isOption(const std::string& argument);

}  // namespace veltrace::cli
