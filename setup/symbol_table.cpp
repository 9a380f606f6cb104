#include "setup/symbol_table.h"

#include <cctype>

#include "setup/script_document.h"

namespace veltrace::setup {

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (prefix.size() > text.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (lowerAscii(text[i]) != lowerAscii(prefix[i])) return false;
  return true;
}

bool isWhiteSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// "<" starts a reference only when a character other than white space
// follows it.
bool startsReference(std::string_view text, size_t at) {
  return text[at] == '<' && at + 1 < text.size() && !isWhiteSpace(text[at + 1]);
}

// Text bounded to maxExpansionLength characters; what does not fit is cut.
class BoundedText {
 public:
  void append(std::string_view piece) {
    size_t room = maxExpansionLength - text_.size();
    text_.append(piece.substr(0, room));
  }
  void append(char c) {
    if (!full()) text_ += c;
  }
  bool full() const { return text_.size() >= maxExpansionLength; }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
};

class Expander {
 public:
  Expander(const SymbolTable& symbols, const SetupPlatform& platform) : symbols_(symbols), platform_(platform) {}

  void expand(std::string_view text, int depth, BoundedText& out) {
    if (depth >= maxExpansionDepth) {
      out.append(text);
      return;
    }
    size_t at = 0;
    while (at < text.size() && !out.full()) {
      if (!startsReference(text, at)) {
        out.append(text[at++]);
        continue;
      }
      size_t close = matchingClose(text, at);
      size_t innerEnd = close == std::string_view::npos ? text.size() : close;
      out.append(evaluateReference(text.substr(at + 1, innerEnd - at - 1), depth));
      at = close == std::string_view::npos ? text.size() : close + 1;
    }
  }

 private:
  // The ">" that closes the reference opened at `open`; npos when the text
  // ends first (the reference then runs to the end).
  static size_t matchingClose(std::string_view text, size_t open) {
    int level = 1;
    for (size_t at = open + 1; at < text.size(); ++at) {
      if (startsReference(text, at)) {
        ++level;
      } else if (text[at] == '>' && --level == 0) {
        return at;
      }
    }
    return std::string_view::npos;
  }

  std::string evaluateReference(std::string_view inner, int depth) {
    // Alternatives are separated by "=" outside nested references; once one
    // has yielded text the rest are only scanned past.
    size_t start = 0;
    int level = 0;
    for (size_t at = 0; at <= inner.size(); ++at) {
      bool endOfAlternative = at == inner.size() || (level == 0 && inner[at] == '=');
      if (!endOfAlternative) {
        if (startsReference(inner, at))
          ++level;
        else if (inner[at] == '>' && level > 0)
          --level;
        continue;
      }
      std::string result = evaluateAlternative(inner.substr(start, at - start), depth);
      if (!result.empty()) return result;
      start = at + 1;
    }
    return {};
  }

  std::string evaluateAlternative(std::string_view alternative, int depth) {
    if (++referencesEvaluated_ > maxExpansionReferences) return {};
    BoundedText expandedText;
    expand(alternative, depth + 1, expandedText);
    std::string expanded = expandedText.take();
    if (expanded.empty()) return {};
    std::string_view rest = std::string_view(expanded).substr(1);
    switch (expanded.front()) {
      case '!':
        return std::string(rest);
      case '#':
        return iniValue(rest);
      case '%':
        return platform_.environmentVariable(rest).value_or(std::string());
      case '@':
        return registryValue(rest);
      default: {
        const Symbol* symbol = symbols_.byName(expanded);
        if (!symbol) return {};
        BoundedText value;
        expand(symbol->value, depth + 1, value);
        return value.take();
      }
    }
  }

  // "file?section?key": all three parts are needed.
  std::string iniValue(std::string_view text) const {
    size_t first = text.find('?');
    if (first == std::string_view::npos) return {};
    size_t second = text.find('?', first + 1);
    if (second == std::string_view::npos) return {};
    std::string_view file = text.substr(0, first);
    std::string_view section = text.substr(first + 1, second - first - 1);
    std::string_view key = text.substr(second + 1);
    if (file.empty() || section.empty() || key.empty()) return {};
    return platform_.iniValue(file, section, key);
  }

  // Root name, optional "\", key path, "\", value name: the value name is
  // what follows the last "\" or "/".
  std::string registryValue(std::string_view text) const {
    auto root = registryRootPrefix(text);
    if (!root) return {};
    std::string_view rest = text.substr(root->second);
    if (!rest.empty() && rest.front() == '\\') rest.remove_prefix(1);
    size_t last = rest.find_last_of("\\/");
    std::string_view key = last == std::string_view::npos ? std::string_view() : rest.substr(0, last);
    std::string_view valueName = last == std::string_view::npos ? rest : rest.substr(last + 1);
    auto value = platform_.registryValue(root->first, key, valueName);
    if (!value) return {};
    switch (value->type) {
      case RegistryValueType::string:
        return cutAtNul(value->data);
      case RegistryValueType::expandableString:
        return platform_.expandEnvironmentStrings(cutAtNul(value->data));
      case RegistryValueType::multiString:
        return cutAtNul(value->data);  // the first of the strings
      case RegistryValueType::dword:
      case RegistryValueType::binary:
      case RegistryValueType::other:
        break;
    }
    return {};
  }

  static std::string cutAtNul(std::string_view data) { return std::string(data.substr(0, data.find('\0'))); }

  const SymbolTable& symbols_;
  const SetupPlatform& platform_;
  std::size_t referencesEvaluated_ = 0;
};

}  // namespace

const Symbol* SymbolTable::byName(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (const Symbol& symbol : symbols_)
    if (startsWithIgnoringCase(symbol.name, name)) return &symbol;
  return nullptr;
}

const Symbol* SymbolTable::byId(std::int32_t id) const {
  for (const Symbol& symbol : symbols_)
    if (symbol.id == id) return &symbol;
  return nullptr;
}

void SymbolTable::set(std::int32_t id, std::string_view value) {
  for (Symbol& symbol : symbols_) {
    if (symbol.id == id) {
      symbol.value = std::string(value);
      return;
    }
  }
  symbols_.push_back(Symbol{"", id, std::string(value)});
}

std::string expandSymbols(std::string_view text, const SymbolTable& symbols, const SetupPlatform& platform) {
  BoundedText out;
  Expander(symbols, platform).expand(text, 0, out);
  return out.take();
}

std::optional<std::pair<RegistryRoot, std::size_t>> registryRootPrefix(std::string_view text) {
  static constexpr std::pair<std::string_view, RegistryRoot> roots[] = {
      {"HKEY_LOCAL_MACHINE", RegistryRoot::localMachine},
      {"HKEY_CURRENT_USER", RegistryRoot::currentUser},
      {"HKEY_CLASSES_ROOT", RegistryRoot::classesRoot},
      {"HKEY_USERS", RegistryRoot::users},
      {"HKLM", RegistryRoot::localMachine},
      {"HKCU", RegistryRoot::currentUser},
      {"HKCR", RegistryRoot::classesRoot},
      {"HKU", RegistryRoot::users},
  };
  for (const auto& [name, root] : roots)
    if (startsWithIgnoringCase(text, name)) return std::make_pair(root, name.size());
  return std::nullopt;
}

std::uint8_t platformBitFor(bool ntFamily, unsigned major, unsigned minor, unsigned build) {
  if (!ntFamily) {
    if (major != 4) return 0;
    if (minor < 10) return platformWindows95;
    if (minor < 90) return build == 3000 ? platformWindowsMe : platformWindows98;
    return platformWindowsMe;
  }
  if (major < 4) return 0;
  if (major == 4) return platformWindowsNT4;
  if (major == 5 && minor == 0) return platformWindows2000;
  if (major == 5 && minor == 1) return platformWindowsXP;
  return platformLaterNT;
}

}  // namespace veltrace::setup
