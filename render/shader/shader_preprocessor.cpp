#include "render/shader/shader_preprocessor.h"

#include <algorithm>
#include <cstring>

#include "base/files.h"
#include "base/text.h"
#include "render/shader/macro_table.h"
#include "render/shader/preprocessor_expression.h"
#include "render/shader/source_text.h"

namespace veltrace::shader {

std::optional<std::string> DiskIncludeReader::read(const std::string& corePath) const {
  return readWholeFile(corePath);
}

void PreprocessResult::mapToOrigin(Diagnostic& diagnostic) const {
  if (!rewritten || diagnostic.line < 1 || static_cast<size_t>(diagnostic.line) > origins.size()) return;
  const LineOrigin& origin = origins[static_cast<size_t>(diagnostic.line) - 1];
  diagnostic.line = origin.line;
  if (origin.fileIndex >= 0) {
    diagnostic.file = files[static_cast<size_t>(origin.fileIndex)];
    diagnostic.sourceLine = origin.sourceLine;
  }
  if (origin.rewritten) diagnostic.column = 0;
}

namespace {

using Code = DiagnosticCode;

bool hasDirective(std::string_view source) {
  if (std::memchr(source.data(), '#', source.size()) == nullptr) return false;
  DiagnosticList ignored;
  for (const std::string& line : linesWithoutComments(source, ignored)) {
    std::string_view statement = trim(line);
    if (!statement.empty() && statement.front() == '#') return true;
  }
  return false;
}

bool endsWithBackslash(std::string_view line) {
  line = trim(line);
  return !line.empty() && line.back() == '\\';
}

std::string withoutTrailingBackslash(std::string_view line) {
  line = trim(line);
  line.remove_suffix(1);
  return std::string(line);
}

bool isAbsolute(std::string_view path) {
  return (!path.empty() && path.front() == '\\') || (path.size() > 1 && path[1] == ':');
}

std::string withFolderSeparator(std::string folder) {
  for (char& c : folder)
    if (c == '/') c = '\\';
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

// One #if ... #endif group.
struct Conditional {
  int physicalLine = 0;  // of the #if
  // Where the #if was reported to be when it was read: a later #line must
  // not move an unclosed #if's error.
  int lineOffset = 0;
  int fileIndex = -1;
  bool parentActive = true;
  bool active = false;
  bool taken = false;  // some branch of the group was taken
  bool elseSeen = false;
};

// The file being read, as errors and origins name it.
struct FileFrame {
  std::string path;       // core path, for relative includes; empty for a text without file
  int fileIndex = -1;     // reported name; -1 = the source itself
  int lineOffset = 0;     // reported line = physical line + offset (#line)
  int sourceLine = 0;     // for included files: the line of the source's #include that led here
  int depth = 0;          // of #include nesting
};

class Preprocessor {
 public:
  explicit Preprocessor(const PreprocessOptions& options) : options_(options) {
    for (const auto& [name, body] : options.defines) macros_.define(name, body);
  }

  PreprocessResult run(std::string_view source) {
    FileFrame main;
    main.path = options_.sourcePath;
    processFile(source, main);
    result_.rewritten = true;
    result_.diagnostics = diagnostics_.take();
    return std::move(result_);
  }

 private:
  // --- Output -------------------------------------------------------------------------

  void emit(std::string_view text, const FileFrame& frame, int physicalLine, bool rewritten) {
    if (!result_.origins.empty()) result_.text += '\n';
    result_.text.append(text);
    int sourceLine = frame.depth == 0 ? physicalLine : frame.sourceLine;
    result_.origins.push_back({physicalLine + frame.lineOffset, frame.fileIndex, sourceLine, rewritten});
  }

  void emitEmpty(const FileFrame& frame, int firstPhysicalLine, int count) {
    for (int i = 0; i < count; ++i) emit({}, frame, firstPhysicalLine + i, false);
  }

  void report(const FileFrame& frame, int physicalLine, Code code, std::string text) {
    Diagnostic diagnostic;
    diagnostic.line = physicalLine + frame.lineOffset;
    diagnostic.code = code;
    diagnostic.text = std::move(text);
    if (frame.fileIndex >= 0) {
      diagnostic.file = result_.files[static_cast<size_t>(frame.fileIndex)];
      diagnostic.sourceLine = frame.depth == 0 ? physicalLine : frame.sourceLine;
    }
    diagnostics_.add(std::move(diagnostic));
  }

  // --- Files --------------------------------------------------------------------------

  void processFile(std::string_view text, FileFrame frame) {
    DiagnosticList commentErrors;
    std::vector<std::string> lines = linesWithoutComments(text, commentErrors);
    for (const Diagnostic& error : commentErrors.items()) report(frame, error.line, error.code, error.text);
    std::vector<Conditional> conditionals;

    for (size_t index = 0; index < lines.size() && !diagnostics_.full();) {
      int physicalLine = static_cast<int>(index) + 1;
      std::string line = lines[index];
      int consumed = 1;
      while (endsWithBackslash(line)) {
        line = withoutTrailingBackslash(line);
        if (index + static_cast<size_t>(consumed) >= lines.size()) break;
        line += lines[index + static_cast<size_t>(consumed)];
        ++consumed;
      }
      index += static_cast<size_t>(consumed);
      bool active = conditionals.empty() || conditionals.back().active;
      std::string_view statement = trim(line);

      if (!statement.empty() && statement.front() == '#') {
        directive(trim(statement.substr(1)), frame, physicalLine, consumed, active, conditionals);
        continue;
      }
      if (!active) {
        emitEmpty(frame, physicalLine, consumed);
        continue;
      }
      ExpansionResult expanded = macros_.expand(line);
      if (!expanded.error.empty()) {
        report(frame, physicalLine, Code::macroExpansion, expanded.error);
        emitEmpty(frame, physicalLine, consumed);
        continue;
      }
      emit(expanded.text, frame, physicalLine, consumed > 1 || expanded.text != line);
      emitEmpty(frame, physicalLine + 1, consumed - 1);
    }
    for (const Conditional& open : conditionals) {
      FileFrame atIf = frame;
      atIf.lineOffset = open.lineOffset;
      atIf.fileIndex = open.fileIndex;
      report(atIf, open.physicalLine, Code::conditional, "#if without #endif");
    }
  }

  // --- Directives ---------------------------------------------------------------------

  void directive(std::string_view text, FileFrame& frame, int physicalLine, int consumed, bool active,
                 std::vector<Conditional>& conditionals) {
    std::string_view name = leadingIdentifier(text);
    std::string_view rest = trim(text.substr(name.size()));
    auto fail = [&](Code code, std::string message) { report(frame, physicalLine, code, std::move(message)); };
    bool emitted = false;

    if (name == "if" || name == "ifdef" || name == "ifndef") {
      Conditional group;
      group.physicalLine = physicalLine;
      group.lineOffset = frame.lineOffset;
      group.fileIndex = frame.fileIndex;
      group.parentActive = active;
      if (active) {
        if (name == "if") {
          group.active = evaluate(rest, frame, physicalLine);
        } else if (std::string_view macro = leadingIdentifier(rest); macro.empty()) {
          fail(Code::conditional, formatText("#%s needs a macro name", std::string(name).c_str()));
        } else {
          group.active = macros_.isDefined(macro) == (name == "ifdef");
        }
      }
      group.taken = group.active;
      conditionals.push_back(group);
    } else if (name == "elif" || name == "else" || name == "endif") {
      std::string directiveName = "#" + std::string(name);
      if (conditionals.empty()) {
        fail(Code::conditional, directiveName + " without #if");
      } else if (name == "endif") {
        conditionals.pop_back();
      } else if (Conditional& group = conditionals.back(); group.elseSeen) {
        fail(Code::conditional, directiveName + " after #else");
      } else if (name == "else") {
        group.elseSeen = true;
        group.active = group.parentActive && !group.taken;
        group.taken = true;
      } else {
        group.active = group.parentActive && !group.taken && evaluate(rest, frame, physicalLine);
        group.taken = group.taken || group.active;
      }
    } else if (!active) {
      // Other directives count only where the source is read.
    } else if (name == "define") {
      if (auto error = macros_.define(rest)) fail(Code::directive, *error);
    } else if (name == "undef") {
      std::string_view macro = leadingIdentifier(rest);
      if (macro.empty()) fail(Code::directive, "#undef needs a macro name");
      else macros_.undefine(macro);
    } else if (name == "include") {
      emitted = include(rest, frame, physicalLine);
    } else if (name == "line") {
      lineDirective(rest, frame, physicalLine, consumed);
    } else if (name == "error") {
      fail(Code::errorDirective, rest.empty() ? "#error" : "#error " + std::string(rest));
    } else if (name == "pragma") {
      // No pragmas are known; like C, unknown ones are ignored.
    } else if (!name.empty() || !rest.empty()) {
      std::string word(name.empty() ? text.substr(0, 1) : name);
      fail(Code::directive, "unknown directive " + quote("#" + word));
    }
    emitEmpty(frame, physicalLine + (emitted ? 1 : 0), consumed - (emitted ? 1 : 0));
  }

  bool evaluate(std::string_view expression, const FileFrame& frame, int physicalLine) {
    ExpansionResult withDefined = replaceDefinedOperators(expression, macros_);
    std::string error = withDefined.error;
    ExpansionResult expanded;
    if (error.empty()) {
      expanded = macros_.expand(withDefined.text);
      error = expanded.error;
    }
    ExpressionResult value;
    if (error.empty()) {
      value = evaluatePreprocessorExpression(expanded.text);
      error = value.error;
    }
    if (!error.empty()) {
      report(frame, physicalLine, Code::conditional, error);
      return false;
    }
    return value.value != 0;
  }

  // Reads "file" or <file>; nothing (and a report) when it is neither.
  std::optional<std::pair<std::string, bool>> includeName(std::string_view text, const FileFrame& frame,
                                                          int physicalLine) {
    ExpansionResult expanded = macros_.expand(text);  // #include NAME with NAME a quoted file
    std::string_view name = trim(expanded.text);
    bool quoted = name.size() >= 2 && name.front() == '"' && name.back() == '"';
    bool angled = name.size() >= 2 && name.front() == '<' && name.back() == '>';
    if (!expanded.error.empty() || (!quoted && !angled) || name.size() == 2) {
      report(frame, physicalLine, Code::includeFile, "#include expects \"FILE\"");
      return std::nullopt;
    }
    std::string file(name.substr(1, name.size() - 2));
    for (char& c : file)
      if (c == '/') c = '\\';
    return std::make_pair(file, quoted);
  }

  // True when the included file's lines were emitted in place of the line.
  bool include(std::string_view text, const FileFrame& frame, int physicalLine) {
    auto name = includeName(text, frame, physicalLine);
    if (!name) return false;
    const auto& [file, quoted] = *name;
    if (frame.depth + 1 > includeDepthLimit) {
      report(frame, physicalLine, Code::includeFile,
             formatText("#include nested more than %d deep at %s", includeDepthLimit, quote(file).c_str()));
      return false;
    }
    std::vector<std::string> candidates;
    if (isAbsolute(file)) {
      candidates.push_back(file);
    } else {
      if (quoted && !frame.path.empty()) candidates.push_back(folderPart(frame.path) + file);
      for (const std::string& folder : options_.includeFolders) candidates.push_back(withFolderSeparator(folder) + file);
    }
    for (const std::string& path : candidates) {
      std::optional<std::string> content = options_.reader ? options_.reader->read(path) : std::nullopt;
      if (!content) continue;
      if (isBeingIncluded(path)) {
        report(frame, physicalLine, Code::includeFile, "recursive #include of " + quote(file));
        return false;
      }
      FileFrame included;
      included.path = path;
      included.fileIndex = static_cast<int>(result_.files.size());
      result_.files.push_back(path);
      included.sourceLine = frame.depth == 0 ? physicalLine : frame.sourceLine;
      included.depth = frame.depth + 1;
      includeStack_.push_back(path);
      processFile(*content, included);
      includeStack_.pop_back();
      return true;
    }
    report(frame, physicalLine, Code::includeFile, "cannot open include file " + quote(file));
    return false;
  }

  bool isBeingIncluded(const std::string& path) const {
    std::string key = toLowerAscii(path);  // Windows names ignore case
    if (!options_.sourcePath.empty() && toLowerAscii(options_.sourcePath) == key) return true;
    for (const std::string& open : includeStack_)
      if (toLowerAscii(open) == key) return true;
    return false;
  }

  void lineDirective(std::string_view text, FileFrame& frame, int physicalLine, int consumed) {
    size_t digits = 0;
    while (digits < text.size() && isDigit(text[digits])) ++digits;
    std::string_view fileText = trim(text.substr(digits));
    bool fileOk = fileText.empty() || (fileText.size() >= 2 && fileText.front() == '"' && fileText.back() == '"');
    if (digits == 0 || digits > 9 || !fileOk) {
      report(frame, physicalLine, Code::directive, "#line expects a line number and an optional \"FILE\"");
      return;
    }
    int number = readLenientInt(text.substr(0, digits));
    if (number < 1) {
      // Lines count from 1: a 0 would give errors a line before the first.
      report(frame, physicalLine, Code::directive, "#line numbers start at 1");
      return;
    }
    frame.lineOffset = number - (physicalLine + consumed);
    if (!fileText.empty()) {
      frame.fileIndex = static_cast<int>(result_.files.size());
      result_.files.emplace_back(fileText.substr(1, fileText.size() - 2));
    }
  }

  const PreprocessOptions& options_;
  MacroTable macros_;
  DiagnosticList diagnostics_;
  std::vector<std::string> includeStack_;
  PreprocessResult result_;
};

}  // namespace

PreprocessOptions effectShaderOptions(std::string_view sourcePath, const std::string& shaderFolder,
                                      const IncludeFileReader* reader) {
  PreprocessOptions options;
  options.sourcePath = sourcePath;
  if (!shaderFolder.empty()) options.includeFolders.push_back(shaderFolder);
  options.reader = reader;
  return options;
}

PreprocessResult preprocessShaderSource(std::string_view source, const PreprocessOptions& options) {
  if (options.defines.empty() && !hasDirective(source)) return {};
  return Preprocessor(options).run(source);
}

}  // namespace veltrace::shader
