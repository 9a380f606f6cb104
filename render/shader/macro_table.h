#pragma once
// The macros of the shader preprocessor: object-like (#define LIGHT c4) and
// function-like (#define SCALE(r, s) mul r, r, s), and their expansion in a
// line of source.
//
// Expansion works on identifiers ([A-Za-z_][A-Za-z0-9_]*); numbers such as
// 1.5e3 or 0x1F are passed over whole. A macro is not expanded again inside
// its own expansion. The arguments of a function-like macro are expanded
// before they are put in; its invocation must stand on one (joined) line.
// There are no # and ## operators.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrace::shader {

struct Macro {
  bool functionLike = false;
  std::vector<std::string> parameters;
  std::string body;
};

struct ExpansionResult {
  std::string text;
  std::string error;  // empty when the expansion went through
};

class MacroTable {
 public:
  // The text after "#define": a name, for a function-like macro a
  // parenthesised parameter list right after it, then the body. Returns the
  // reason when it cannot be read; a macro defined again takes the new body.
  std::optional<std::string> define(std::string_view definition);
  // -D NAME=VALUE on the command line.
  void define(std::string name, std::string body) { macros_[std::move(name)] = Macro{false, {}, std::move(body)}; }
  void undefine(std::string_view name) { macros_.erase(std::string(name)); }
  bool isDefined(std::string_view name) const { return macros_.count(std::string(name)) != 0; }
  bool empty() const { return macros_.empty(); }

  ExpansionResult expand(std::string_view text) const;

 private:
  struct Expander;
  std::map<std::string, Macro, std::less<>> macros_;
};

inline bool isIdentifierStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
inline bool isIdentifierPart(char c) { return isIdentifierStart(c) || (c >= '0' && c <= '9'); }

// The identifier at the start of the text ("" when there is none).
std::string_view leadingIdentifier(std::string_view text);

}  // namespace veltrace::shader
