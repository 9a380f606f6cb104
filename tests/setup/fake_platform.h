#pragma once
// A stand-in system for expansion tests: maps filled in by each test.

#include <map>
#include <string>
#include <tuple>

#include "setup/setup_platform.h"

namespace veltrace::setup::test {

class FakePlatform : public SetupPlatform {
 public:
  explicit FakePlatform(std::uint8_t bit = platformWindowsXP) : bit(bit) {}

  std::uint8_t platformBit() const override { return bit; }
  std::string iniValue(std::string_view file, std::string_view section, std::string_view key) const override {
    auto found = ini.find({std::string(file), std::string(section), std::string(key)});
    return found == ini.end() ? std::string() : found->second;
  }
  std::optional<std::string> environmentVariable(std::string_view name) const override {
    auto found = environment.find(std::string(name));
    if (found == environment.end()) return std::nullopt;
    return found->second;
  }
  std::optional<RegistryValue> registryValue(RegistryRoot root, std::string_view key,
                                             std::string_view valueName) const override {
    lastRegistryKey = std::string(key);
    lastRegistryValueName = std::string(valueName);
    auto found = registry.find({root, std::string(key), std::string(valueName)});
    if (found == registry.end()) return std::nullopt;
    return found->second;
  }
  // "%NAME%" replaced from the environment map, as the system would.
  std::string expandEnvironmentStrings(std::string_view text) const override {
    std::string out;
    for (size_t at = 0; at < text.size();) {
      size_t open = text.find('%', at);
      size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
      if (close == std::string_view::npos) {
        out += text.substr(at);
        break;
      }
      out += text.substr(at, open - at);
      auto value = environmentVariable(text.substr(open + 1, close - open - 1));
      out += value ? *value : std::string(text.substr(open, close - open + 1));
      at = close + 1;
    }
    return out;
  }

  std::uint8_t bit;
  std::map<std::tuple<std::string, std::string, std::string>, std::string> ini;
  std::map<std::string, std::string> environment;
  std::map<std::tuple<RegistryRoot, std::string, std::string>, RegistryValue> registry;
  mutable std::string lastRegistryKey;
  mutable std::string lastRegistryValueName;
};

}  // namespace veltrace::setup::test
