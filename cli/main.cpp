// veltrace-cli: the command-line companion of Veltrace. It exposes the
// portable core: effects, scenes, workspaces, shaders, setup packages.

#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <direct.h>
#else
#include <unistd.h>
#endif

#include "cli/command.h"
#include "cli/groups.h"

namespace veltrace::cli {

const std::vector<CommandGroup>& commandGroups() {
  static const std::vector<CommandGroup> groups = {
      {"effect", "create, check and resave effect files", runEffectGroup},
      {"package", "build, attach, list and extract setup packages", runPackageGroup},
      {"asm", "assemble a vertex or pixel shader source to tokens", runAsmGroup},
      {"disasm", "print the source of a shader token file", runDisasmGroup},
      {"scene", "show scene files, import models, write the sample media", runSceneGroup},
      {"workspace", "check workspace files with their scene and effects", runWorkspaceGroup},
      {"render", "draw a workspace's scene with its effects into a PNG (Windows build)", runRenderGroup},
  };
  return groups;
}

std::string inProgramFolder(const Context& context, const std::string& suffix) {
  return context.programFolder + suffix;
}

std::string corePathFromArgument(const std::string& argument) {
  // Natively the file layer maps the core's backslashes back to slashes, so
  // a POSIX path is carried with backslashes inside the core too.
  std::string path = argument;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

int usageError(const Context& context, const std::string& group, const std::string& problem) {
  context.err << "veltrace-cli " << group << ": " << problem << " (see 'veltrace-cli " << group << " --help')\n";
  return exitUsage;
}

bool isHelpOption(const std::string& argument) { return argument == "--help" || argument == "-h"; }

bool asksForHelp(const Arguments& arguments) {
  for (const auto& argument : arguments)
    if (isHelpOption(argument)) return true;
  return false;
}

bool isOption(const std::string& argument) { return argument.size() > 1 && argument[0] == '-'; }

namespace {

// The top level's usage errors, in the groups' form.
int topUsageError(const std::string& problem) {
  std::cerr << "veltrace-cli: " << problem << " (see 'veltrace-cli --help')\n";
  return exitUsage;
}

void printUsage(std::ostream& out) {
  out << "usage: veltrace-cli [--program-folder DIR] GROUP COMMAND [ARGS...]\n"
         "\n"
         "Options:\n"
         "  --program-folder DIR  folder holding prefs, effects, media, ... (default: current folder)\n"
         "  --help                this text; 'veltrace-cli GROUP --help' for a group\n"
         "\n"
         "Groups:\n";
  for (const auto& group : commandGroups()) {
    std::string name = group.name;
    name.resize(12, ' ');
    out << "  " << name << group.summary << "\n";
  }
}

// The working folder in the form the file layer takes: on Windows the ANSI
// text of the system (std::filesystem would give UTF-8, which names another
// folder once it holds a character outside ASCII).
std::string currentFolder() {
  std::vector<char> buffer(4096);
#ifdef _WIN32
  if (_getcwd(buffer.data(), static_cast<int>(buffer.size()))) return buffer.data();
#else
  if (getcwd(buffer.data(), buffer.size())) return buffer.data();
#endif
  return ".";
}

}  // namespace

int runMain(int argc, char** argv) {
  Arguments arguments(argv + 1, argv + argc);
  std::string programFolder = currentFolder();

  size_t at = 0;
  while (at < arguments.size() && isOption(arguments[at])) {
    if (isHelpOption(arguments[at])) {
      printUsage(std::cout);
      return exitSuccess;
    }
    if (arguments[at] == "--program-folder") {
      if (at + 1 >= arguments.size() || arguments[at + 1].empty())
        return topUsageError("--program-folder needs a folder");
      programFolder = arguments[at + 1];
      at += 2;
      continue;
    }
    return topUsageError("unknown option '" + arguments[at] + "'");
  }
  if (at >= arguments.size()) return topUsageError("no command group given");

  std::string folder = corePathFromArgument(programFolder);
  while (folder.size() > 1 && folder.back() == '\\') folder.pop_back();
  Context context{folder, std::cout, std::cerr};

  const std::string& groupName = arguments[at];
  for (const auto& group : commandGroups()) {
    if (groupName == group.name)
      return group.run(context, Arguments(arguments.begin() + static_cast<long>(at) + 1, arguments.end()));
  }
  return topUsageError("unknown command group '" + groupName + "'");
}

}  // namespace veltrace::cli

int main(int argc, char** argv) { return veltrace::cli::runMain(argc, argv); }
