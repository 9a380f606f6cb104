// Fuzzes the install script parser and its validation; writing back what
// was read must be stable.

#include <cstdint>
#include <string>

#include "setup/setup_script.h"
#include "tests/setup/fake_platform.h"

using namespace veltrace::setup;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string once = writeScriptDocuments(parseScriptDocuments(text));
  std::string twice = writeScriptDocuments(parseScriptDocuments(once));
  if (once != twice) __builtin_trap();

  test::FakePlatform platform;
  SetupScript script(platform);
  veltrace::MessageLog log;
  if (!script.loadScript(text, log)) return 0;
  if (script.text() != once) __builtin_trap();
  for (const auto& group : script.fileGroups()) {
    if (script.expand(group.installDir).size() > maxExpansionLength) __builtin_trap();
    for (const auto& file : group.files) {
      auto again = parseFileLine(formatFileLine(file.line));
      if (!again || again->source != file.line.source) __builtin_trap();
    }
  }
  for (const auto& link : script.shortcuts()) script.expand(link.path);
  return 0;
}
