// veltrace-cli workspace: read a workspace file as the program opens it and
// show what it holds.

#include <ostream>

#include "app/message_log.h"
#include "base/text.h"
#include "cli/command.h"
#include "cli/groups.h"
#include "effect/workspace_file.h"

namespace veltrace::cli {
namespace {

void printWorkspaceUsage(std::ostream& out) {
  out << "usage: veltrace-cli [--program-folder DIR] workspace COMMAND ...\n"
         "\n"
         "Commands:\n"
         "  check FILE.vwork   read a workspace with its scene and effects, print the messages\n"
         "                     and the effect each mesh and subset uses\n"
         "\n"
         "Paths starting with a backslash are read below DIR, and the state catalogues from\n"
         "DIR\\prefs. Exit codes: 0 done, 1 failed, 2 bad usage.\n";
}

int usageError(const Context& context, const std::string& problem) {
  return cli::usageError(context, "workspace", problem);
}

std::string effectLabel(const Effect* effect) { return effect ? "\"" + effect->name + "\"" : "none"; }

int runCheck(const Context& context, const Arguments& arguments) {
  if (arguments.size() != 1) return usageError(context, "check needs exactly one workspace file");
  Workspace workspace;
  MessageLog log;
  bool read = readWorkspace(corePathFromArgument(arguments[0]), workspace, context.programFolder, WorkspaceHooks{}, log);
  for (const auto& line : log.takePending()) context.out << line << "\n";
  // Nothing read, nothing to show: the messages above say why.
  if (!read && !workspace.sceneLoaded && workspace.effects.empty()) return exitFailure;

  context.out << formatText("%d effects", static_cast<int>(workspace.effects.size()));
  if (workspace.sceneLoaded) context.out << ", scene \"" << workspace.scene.name << "\"";
  context.out << "\n";
  for (size_t i = 0; i < workspace.effects.size(); ++i)
    context.out << formatText("Effect #%d (%s)\n", static_cast<int>(i + 1), workspace.effects[i]->name.c_str());
  for (size_t i = 0; i < workspace.scene.meshes.size(); ++i) {
    const SceneMesh& mesh = workspace.scene.meshes[i];
    context.out << formatText("Mesh #%d (%s): ", static_cast<int>(i + 1), mesh.name.c_str()) << effectLabel(mesh.effect)
                << "\n";
    for (size_t j = 0; j < mesh.subsets.size(); ++j)
      context.out << formatText("  Subset #%d: ", static_cast<int>(j + 1)) << effectLabel(mesh.subsets[j].effect)
                  << "\n";
  }
  return read ? exitSuccess : exitFailure;
}

}  // namespace

int runWorkspaceGroup(const Context& context, const Arguments& arguments) {
  if (arguments.empty()) return usageError(context, "no command given");
  const std::string& command = arguments[0];
  if (command == "help" || asksForHelp(arguments)) {
    printWorkspaceUsage(context.out);
    return exitSuccess;
  }
  for (size_t at = 1; at < arguments.size(); ++at)
    if (isOption(arguments[at])) return usageError(context, "unknown option '" + arguments[at] + "'");
  if (command == "check") return runCheck(context, Arguments(arguments.begin() + 1, arguments.end()));
  return usageError(context, "unknown command '" + command + "'");
}

}  // namespace veltrace::cli
