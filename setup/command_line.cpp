#include "setup/command_line.h"

#include "base/text.h"
#include "setup/file_line.h"
#include "setup/script_document.h"

namespace veltrace::setup {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isQuote(char c) { return c == '"' || c == '\'' || c == '`'; }
char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool startsWithWord(std::string_view text, std::string_view word) {
  return text.size() >= word.size() && equalsIgnoringCase(text.substr(0, word.size()), word);
}

// "B" and "Q" read the number right behind the letter; "no number" is 0.
int numberAfterLetter(std::string_view option) { return readScriptInt(option.substr(1)); }

bool hasNumberAfterLetter(std::string_view option) {
  if (option.size() < 2) return false;
  char c = option[1];
  return (c >= '0' && c <= '9') || c == '-' || c == '+';
}

void applyOption(std::string_view option, CommandLine& parsed) {
  if (option.empty()) return;
  switch (upperAscii(option[0])) {
    case 'Q':
      parsed.quietLevel = hasNumberAfterLetter(option) ? numberAfterLetter(option) : 1;
      return;
    case 'B':
      parsed.restartLevel = numberAfterLetter(option);
      return;
    case 'U': {
      parsed.removalOption = numberAfterLetter(option);
      size_t colon = option.find(':');
      if (colon != std::string_view::npos) {
        parsed.hasUninstallPrevious = true;
        parsed.uninstallPrevious = std::string(option.substr(colon + 1));
      }
      return;
    }
    case 'X':
      parsed.removePartialWithoutAsking = true;
      return;
    default:
      break;
  }
  if (startsWithWord(option, "install")) {
    parsed.mode = RunMode::install;
    std::string_view rest = option.substr(7);
    if (!rest.empty() && rest.front() == ':') parsed.installFolder = std::string(rest.substr(1));
  } else if (equalsIgnoringCase(option, "remove")) {
    parsed.mode = RunMode::remove;
  } else if (equalsIgnoringCase(option, "register")) {
    parsed.mode = RunMode::registerServers;
  }
}

}  // namespace

std::vector<std::string> splitCommandLine(std::string_view line) {
  std::vector<std::string> tokens;
  size_t at = 0;
  while (tokens.size() < maxCommandLineTokens) {
    while (at < line.size() && isBlank(line[at])) ++at;
    if (at >= line.size()) break;
    std::string token;
    if (isQuote(line[at])) {
      char quote = line[at++];
      size_t end = line.find(quote, at);
      if (end == std::string_view::npos) end = line.size();
      token = std::string(line.substr(at, end - at));
      at = end < line.size() ? end + 1 : end;
    } else {
      size_t end = at;
      while (end < line.size() && !isBlank(line[end])) ++end;
      token = std::string(line.substr(at, end - at));
      at = end;
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

CommandLine parseCommandLine(std::string_view line) {
  CommandLine parsed;
  auto tokens = splitCommandLine(line);
  for (size_t i = 1; i < tokens.size(); ++i) {
    std::string_view token = tokens[i];
    if (!token.empty() && (token[0] == '/' || token[0] == '-'))
      applyOption(token.substr(1), parsed);
    else
      parsed.packagePath = std::string(token);
  }
  return parsed;
}

RunMode effectiveMode(const CommandLine& commandLine, bool scriptHasTimestamp) {
  if (commandLine.mode != RunMode::unset) return commandLine.mode;
  return scriptHasTimestamp ? RunMode::remove : RunMode::install;
}

}  // namespace veltrace::setup
