// Fuzzes the setup program's command line: never more than 63 tokens, and
// the parse of what the splitter gives back is the parse of the line.

#include <cstdint>
#include <string>

#include "setup/command_line.h"
#include "setup/install_paths.h"

using namespace veltrace::setup;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view line(reinterpret_cast<const char*>(data), size);
  auto tokens = splitCommandLine(line);
  if (tokens.size() > maxCommandLineTokens) __builtin_trap();
  CommandLine parsed = parseCommandLine(line);
  if (parsed.mode == RunMode::install && parsed.installFolder.size() > size) __builtin_trap();
  // The shortcut path rules never grow a path and keep it free of the
  // characters they replace.
  std::string valid = validShortcutPath(line);
  if (valid.size() > size || valid.find_first_of("\"|<>*?") != std::string::npos) __builtin_trap();
  matchesWildcard(line.substr(0, size / 2), line.substr(size / 2));
  return 0;
}
