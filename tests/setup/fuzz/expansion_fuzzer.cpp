// Fuzzes symbol expansion: every line but the last defines a symbol
// ("name=value"), the last line is expanded.

#include <cstdint>
#include <string>

#include "setup/symbol_table.h"
#include "tests/setup/fake_platform.h"

using namespace veltrace::setup;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  test::FakePlatform platform;
  platform.environment["PATH"] = "C:\\WINDOWS";
  platform.ini[{"a.ini", "s", "k"}] = "ini value";
  platform.registry[{RegistryRoot::localMachine, "Key", "Value"}] = {RegistryValueType::expandableString,
                                                                     "%PATH%\\x"};
  platform.registry[{RegistryRoot::currentUser, "Key", ""}] = {RegistryValueType::multiString,
                                                               std::string("a\0b\0", 4)};
  SymbolTable symbols;
  std::size_t start = 0;
  for (std::size_t end = input.find('\n'); end != std::string_view::npos; end = input.find('\n', start)) {
    std::string_view line = input.substr(start, end - start);
    std::size_t equals = line.find('=');
    symbols.add(Symbol{std::string(line.substr(0, equals)),
                       noSymbolId, equals == std::string_view::npos ? "" : std::string(line.substr(equals + 1))});
    start = end + 1;
  }
  std::string result = expandSymbols(input.substr(start), symbols, platform);
  if (result.size() > maxExpansionLength) __builtin_trap();
  return 0;
}
