#pragma once
// The script's symbols: name, id and unexpanded value, in script order, and
// the expansion that turns text such as "<ProgramFiles>\<AppTitle>" into a
// path.
//
// A reference is "<" followed by a character that is not white space, up to
// the matching ">". Inside, alternatives are separated by "="; each is
// expanded first and then read by its first character: "!" literal text,
// "#" INI value (file?section?key), "%" environment variable, "@" registry
// value, anything else a symbol name. The first alternative that yields
// text wins.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/setup_platform.h"

namespace veltrace::setup {

// Longest expansion result (the result buffer is 2048 bytes).
constexpr std::size_t maxExpansionLength = 2047;
// Deeper than this, text is copied as it is.
constexpr int maxExpansionDepth = 16;
// References evaluated in one expansion at most. Nested references can
// multiply without producing text (a value of many references to a symbol
// that is itself many references ...); the bound keeps such a script from
// hanging the program. Past it, references yield nothing.
constexpr std::size_t maxExpansionReferences = 20000;

constexpr std::int32_t noSymbolId = -1;

struct Symbol {
  std::string name;
  std::int32_t id = noSymbolId;
  std::string value;
};

class SymbolTable {
 public:
  void clear() { symbols_.clear(); }
  void add(Symbol symbol) { symbols_.push_back(std::move(symbol)); }

  // The first symbol whose name begins with `name`, ASCII case-insensitive;
  // an empty name finds nothing.
  const Symbol* byName(std::string_view name) const;
  const Symbol* byId(std::int32_t id) const;
  // Replaces the value of the first symbol with that id, or appends a
  // nameless one.
  void set(std::int32_t id, std::string_view value);

  const std::vector<Symbol>& all() const { return symbols_; }

 private:
  std::vector<Symbol> symbols_;
};

std::string expandSymbols(std::string_view text, const SymbolTable& symbols, const SetupPlatform& platform);

// The registry root named at the start of `text` ("HKEY_LOCAL_MACHINE",
// ..., "HKLM", ...; ASCII case-insensitive prefix) and the length of its
// name; nothing when none matches.
std::optional<std::pair<RegistryRoot, std::size_t>> registryRootPrefix(std::string_view text);

}  // namespace veltrace::setup
