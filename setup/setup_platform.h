#pragma once
// What symbol expansion needs from the running system: which platform bit it
// is, and the three kinds of outside values a reference can name (INI
// values, environment variables, registry values). The Windows build asks
// the real system (windows_platform.h); tests and the packager use
// stand-ins.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltrace::setup {

// Platform mask bits: one per running system, used by symbols and files.
constexpr std::uint8_t platformWindows95 = 0x01;
constexpr std::uint8_t platformWindows98 = 0x02;
constexpr std::uint8_t platformWindowsMe = 0x04;
constexpr std::uint8_t platformNone = 0x08;
constexpr std::uint8_t platformWindowsNT4 = 0x10;
constexpr std::uint8_t platformWindows2000 = 0x20;
constexpr std::uint8_t platformWindowsXP = 0x40;
constexpr std::uint8_t platformLaterNT = 0x80;

// The bit of a system with this version; 0 (no bit) for NT before 4.0.
// `build` is the low 16 bits of the build number.
std::uint8_t platformBitFor(bool ntFamily, unsigned major, unsigned minor, unsigned build);

enum class RegistryRoot { localMachine, currentUser, classesRoot, users };

// dword and binary matter only to the shared-file counts; expansion reads
// them as nothing, like every other type that is not text.
enum class RegistryValueType { string, expandableString, multiString, dword, binary, other };

struct RegistryValue {
  RegistryValueType type = RegistryValueType::other;
  std::string data;  // as stored; a multi-string keeps its NUL separators
};

class SetupPlatform {
 public:
  virtual ~SetupPlatform() = default;

  virtual std::uint8_t platformBit() const = 0;
  // Empty when the file, section or key does not exist.
  virtual std::string iniValue(std::string_view file, std::string_view section, std::string_view key) const = 0;
  virtual std::optional<std::string> environmentVariable(std::string_view name) const = 0;
  // Nothing when the key cannot be opened for reading or has no such value.
  // An empty value name reads the key's default value.
  virtual std::optional<RegistryValue> registryValue(RegistryRoot root, std::string_view key,
                                                     std::string_view valueName) const = 0;
  // Replaces "%NAME%" references the way the system does.
  virtual std::string expandEnvironmentStrings(std::string_view text) const = 0;
};

// A system that answers no reference: the packager checks a script with it.
class DetachedPlatform : public SetupPlatform {
 public:
  explicit DetachedPlatform(std::uint8_t bit) : bit_(bit) {}
  std::uint8_t platformBit() const override { return bit_; }
  std::string iniValue(std::string_view, std::string_view, std::string_view) const override { return {}; }
  std::optional<std::string> environmentVariable(std::string_view) const override { return std::nullopt; }
  std::optional<RegistryValue> registryValue(RegistryRoot, std::string_view, std::string_view) const override {
    return std::nullopt;
  }
  std::string expandEnvironmentStrings(std::string_view text) const override { return std::string(text); }

 private:
  std::uint8_t bit_;
};

}  // namespace veltrace::setup
