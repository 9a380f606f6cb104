#include "render/shader/macro_table.h"

#include <algorithm>

#include "render/shader/source_text.h"

namespace veltrace::shader {

namespace {

// Bounds that keep a self-multiplying set of macros from eating the memory:
// no shader line comes anywhere near them.
constexpr size_t expansionLengthLimit = 64 * 1024;
constexpr int expansionDepthLimit = 64;

bool isNumberPart(char c) { return isIdentifierPart(c) || c == '.'; }

// The arguments of an invocation: text is what follows the macro name,
// starting at '('. Returns the arguments and how much text they took, or
// nothing when the closing parenthesis is missing.
std::optional<std::pair<std::vector<std::string_view>, size_t>> readArguments(std::string_view text) {
  std::vector<std::string_view> arguments;
  int depth = 0;
  size_t start = 1;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (--depth == 0) {
        arguments.push_back(trim(text.substr(start, i - start)));
        return std::make_pair(arguments, i + 1);
      }
    } else if (c == ',' && depth == 1) {
      arguments.push_back(trim(text.substr(start, i - start)));
      start = i + 1;
    }
  }
  return std::nullopt;
}

}  // namespace

std::string_view leadingIdentifier(std::string_view text) {
  if (text.empty() || !isIdentifierStart(text.front())) return {};
  size_t end = 1;
  while (end < text.size() && isIdentifierPart(text[end])) ++end;
  return text.substr(0, end);
}

std::optional<std::string> MacroTable::define(std::string_view definition) {
  definition = trim(definition);
  std::string_view name = leadingIdentifier(definition);
  if (name.empty()) return std::string("#define needs a macro name");
  Macro macro;
  std::string_view rest = definition.substr(name.size());
  if (!rest.empty() && rest.front() == '(') {
    size_t close = rest.find(')');
    if (close == std::string_view::npos) return "the parameter list of macro " + quote(name) + " is not closed";
    macro.functionLike = true;
    std::string_view list = trim(rest.substr(1, close - 1));
    if (!list.empty()) {
      for (std::string_view parameter : splitOperands(list)) {
        if (leadingIdentifier(parameter).size() != parameter.size() || parameter.empty())
          return "bad parameter " + quote(parameter) + " of macro " + quote(name);
        if (std::find(macro.parameters.begin(), macro.parameters.end(), parameter) != macro.parameters.end())
          return "parameter " + quote(parameter) + " of macro " + quote(name) + " is given twice";
        macro.parameters.emplace_back(parameter);
      }
    }
    rest = rest.substr(close + 1);
  } else if (!rest.empty() && !isSpace(rest.front())) {
    return "a blank must follow the macro name " + quote(name);
  }
  macro.body = std::string(trim(rest));
  macros_[std::string(name)] = std::move(macro);
  return std::nullopt;
}

struct MacroTable::Expander {
  const MacroTable& table;
  std::string error;
  std::vector<std::string_view> active;  // macros being expanded

  bool isActive(std::string_view name) const {
    return std::find(active.begin(), active.end(), name) != active.end();
  }

  bool fail(std::string message) {
    if (error.empty()) error = std::move(message);
    return false;
  }

  bool expandInto(std::string_view text, std::string& out) {
    if (static_cast<int>(active.size()) > expansionDepthLimit) return fail("macros nested too deeply");
    size_t i = 0;
    while (i < text.size()) {
      if (out.size() > expansionLengthLimit) return fail("macro expansion too long");
      char c = text[i];
      bool numberStart = (c >= '0' && c <= '9') || (c == '.' && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9');
      if (numberStart) {
        size_t end = i + 1;
        while (end < text.size() && isNumberPart(text[end])) ++end;
        out.append(text.substr(i, end - i));
        i = end;
        continue;
      }
      std::string_view name = leadingIdentifier(text.substr(i));
      if (name.empty()) {
        out += c;
        ++i;
        continue;
      }
      i += name.size();
      auto found = table.macros_.find(name);
      if (found == table.macros_.end() || isActive(name)) {
        out.append(name);
        continue;
      }
      const Macro& macro = found->second;
      if (!macro.functionLike) {
        active.push_back(found->first);
        bool ok = expandInto(macro.body, out);
        active.pop_back();
        if (!ok) return false;
        continue;
      }
      size_t open = i;
      while (open < text.size() && isSpace(text[open])) ++open;
      if (open >= text.size() || text[open] != '(') {  // the name alone is no invocation
        out.append(name);
        continue;
      }
      auto arguments = readArguments(text.substr(open));
      if (!arguments) return fail("the arguments of macro " + quote(name) + " are not closed on the line");
      i = open + arguments->second;
      if (!invoke(found->first, macro, arguments->first, out)) return false;
    }
    return true;
  }

  bool invoke(std::string_view name, const Macro& macro, std::vector<std::string_view> arguments, std::string& out) {
    if (macro.parameters.empty() && arguments.size() == 1 && arguments[0].empty()) arguments.clear();
    if (arguments.size() != macro.parameters.size())
      return fail("macro " + quote(name) + " takes " + std::to_string(macro.parameters.size()) + " argument" +
                  (macro.parameters.size() == 1 ? "" : "s") + ", found " + std::to_string(arguments.size()));
    std::vector<std::string> expanded(arguments.size());
    for (size_t a = 0; a < arguments.size(); ++a)
      if (!expandInto(arguments[a], expanded[a])) return false;
    std::string substituted;
    std::string_view body = macro.body;
    for (size_t i = 0; i < body.size();) {
      std::string_view word = leadingIdentifier(body.substr(i));
      bool afterIdentifier = i > 0 && isIdentifierPart(body[i - 1]);
      if (word.empty() || afterIdentifier) {
        substituted += body[i++];
        continue;
      }
      auto parameter = std::find(macro.parameters.begin(), macro.parameters.end(), word);
      if (parameter != macro.parameters.end())
        substituted += expanded[static_cast<size_t>(parameter - macro.parameters.begin())];
      else
        substituted.append(word);
      i += word.size();
    }
    active.push_back(name);
    bool ok = expandInto(substituted, out);
    active.pop_back();
    return ok;
  }
};

ExpansionResult MacroTable::expand(std::string_view text) const {
  ExpansionResult result;
  if (macros_.empty()) {
    result.text = std::string(text);
    return result;
  }
  Expander expander{*this, {}, {}};
  if (!expander.expandInto(text, result.text)) result.error = expander.error;
  return result;
}

}  // namespace veltrace::shader
