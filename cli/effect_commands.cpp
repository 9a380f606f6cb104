// veltrace-cli effect: create, check and resave effect files the way the
// program loads and saves them.

#include <ostream>

#include "app/message_log.h"
#include "base/files.h"
#include "base/text.h"
#include "cli/command.h"
#include "cli/groups.h"
#include "effect/effect.h"
#include "effect/effect_factory.h"
#include "effect/effect_files.h"

namespace veltrace::cli {
namespace {

void printEffectUsage(std::ostream& out) {
  out << "usage: veltrace-cli [--program-folder DIR] effect COMMAND ...\n"
         "\n"
         "Commands:\n"
         "  new PATH.veff [--name NAME]  write a new effect with the defaults\n"
         "  check PATH.veff              load an effect, print the messages and a summary\n"
         "  resave IN.veff OUT.veff      load an effect and save it under another name\n"
         "\n"
         "The state catalogues are read from DIR\\prefs. Exit codes: 0 done, 1 failed, 2 bad usage.\n";
}

int usageError(const Context& context, const std::string& problem) {
  return cli::usageError(context, "effect", problem);
}

// The complaint about an argument that is not what the command takes.
std::string unexpected(const std::string& argument, const char* command) {
  if (isOption(argument)) return "unknown option '" + argument + "'";
  return "unexpected argument '" + argument + "' for " + command;
}

void printMessages(const Context& context, MessageLog& log) {
  for (const auto& line : log.takePending()) context.out << line << "\n";
}

bool endsWithVeff(const std::string& path) {
  const std::string extension = ".veff";
  return path.size() > extension.size() &&
         toLowerAscii(path.substr(path.size() - extension.size())) == extension;
}

// A new effect with the catalogues of the program folder. The catalogues
// report only problems, so any message means the state tables are not whole
// (usually a wrong --program-folder).
bool createWithCatalogues(const Context& context, Effect& effect, MessageLog& log) {
  effect = createEffect(context.programFolder, log);
  return log.pending().empty();
}

// Loads an effect as the program does, shader sources included (a missing
// shader file is reported but does not fail the load).
bool loadForCommand(const Context& context, const std::string& indexPath, Effect& effect, MessageLog& log) {
  if (!createWithCatalogues(context, effect, log)) return false;
  if (!loadEffect(effect, indexPath, context.programFolder, log)) return false;
  readShaderSources(effect, log);
  return true;
}

int countSetStates(const std::vector<StateEntry>& entries) {
  int count = 0;
  for (const auto& entry : entries) count += stateIsSet(entry) ? 1 : 0;
  return count;
}

std::string summaryOf(const Effect& effect) {
  int textureStates = 0;
  for (const auto& stage : effect.textureStages.stages) textureStates += countSetStates(stage.settings);
  return formatText(
      "Effect \"%s\": %d vectors, %d matrices, %d colors; vertex shader %s, pixel shader %s; "
      "%d render states and %d texture stage states set",
      effect.name.c_str(), static_cast<int>(effect.vectors.size()), static_cast<int>(effect.matrices.size()),
      static_cast<int>(effect.colors.size()),
      effect.vertexShader.present ? "present" : "none", effect.pixelShader.present ? "present" : "none",
      countSetStates(effect.renderStates), textureStates);
}

int runNew(const Context& context, const Arguments& arguments) {
  std::string path;
  std::string name = "New Effect";
  for (size_t at = 0; at < arguments.size(); ++at) {
    if (arguments[at] == "--name") {
      if (at + 1 >= arguments.size()) return usageError(context, "--name needs a name");
      name = arguments[++at];
    } else if (path.empty() && !isOption(arguments[at])) {
      path = arguments[at];
    } else {
      return usageError(context, unexpected(arguments[at], "new"));
    }
  }
  if (path.empty()) return usageError(context, "new needs the path of the index file");
  if (!endsWithVeff(path)) return usageError(context, "the index file's name must end in .veff");
  // The effect files separate fields by commas and records by lines.
  if (name.find_first_of(",\r\n") != std::string::npos)
    return usageError(context, "an effect name cannot contain a comma or a line break");

  std::string indexPath = corePathFromArgument(path);
  if (fileExists(indexPath)) {
    context.err << "veltrace-cli effect: '" << path << "' exists already; not replaced\n";
    return exitFailure;
  }
  MessageLog log;
  Effect effect;
  bool created = createWithCatalogues(context, effect, log);
  effect.name = name;
  bool saved = created && saveEffect(effect, indexPath, context.programFolder, log);
  printMessages(context, log);
  return saved ? exitSuccess : exitFailure;
}

int runCheck(const Context& context, const Arguments& arguments) {
  for (const auto& argument : arguments)
    if (isOption(argument)) return usageError(context, unexpected(argument, "check"));
  if (arguments.size() != 1) return usageError(context, "check needs exactly one index file");
  MessageLog log;
  Effect effect;
  bool loaded = loadForCommand(context, corePathFromArgument(arguments[0]), effect, log);
  printMessages(context, log);
  if (!loaded) return exitFailure;
  context.out << summaryOf(effect) << "\n";
  return exitSuccess;
}

int runResave(const Context& context, const Arguments& arguments) {
  for (const auto& argument : arguments)
    if (isOption(argument)) return usageError(context, unexpected(argument, "resave"));
  if (arguments.size() != 2) return usageError(context, "resave needs an input and an output index file");
  if (!endsWithVeff(arguments[1])) return usageError(context, "the output file's name must end in .veff");
  MessageLog log;
  Effect effect;
  bool done = loadForCommand(context, corePathFromArgument(arguments[0]), effect, log) &&
              saveEffect(effect, corePathFromArgument(arguments[1]), context.programFolder, log);
  printMessages(context, log);
  return done ? exitSuccess : exitFailure;
}

}  // namespace

int runEffectGroup(const Context& context, const Arguments& arguments) {
  if (arguments.empty()) return usageError(context, "no command given");
  const std::string& command = arguments[0];
  Arguments rest(arguments.begin() + 1, arguments.end());
  if (command == "help" || asksForHelp(arguments)) {
    printEffectUsage(context.out);
    return exitSuccess;
  }
  if (command == "new") return runNew(context, rest);
  if (command == "check") return runCheck(context, rest);
  if (command == "resave") return runResave(context, rest);
  return usageError(context, "unknown command '" + command + "'");
}

}  // namespace veltrace::cli
