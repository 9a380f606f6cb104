#pragma once
// The preprocessor in front of the shader assembler, as C has it and shader
// authors know it: #define (object-like and function-like), #undef,
// #include "file", #if/#ifdef/#ifndef/#elif/#else/#endif with integer
// expressions and defined, #line, #error, and a backslash at the end of a
// line joining it with the next.
//
// Comments are taken out before directives are looked for, so a directive
// inside a comment is none. The output keeps one line per line of the
// source (directive lines and skipped lines stay as empty lines; an included
// file's lines stand in for its #include line), and every output line knows
// the file and line it came from, so that errors name the original place.
//
// A source without directives, assembled without predefined macros, is not
// touched at all.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "render/shader/shader_diagnostics.h"

namespace veltrace::shader {

// Reads the files #include names; a seam so that tests need no files.
class IncludeFileReader {
 public:
  virtual ~IncludeFileReader() = default;
  // The whole file at the core path, or nothing when it cannot be read.
  virtual std::optional<std::string> read(const std::string& corePath) const = 0;
};

// Reads from the file system.
class DiskIncludeReader : public IncludeFileReader {
 public:
  std::optional<std::string> read(const std::string& corePath) const override;
};

constexpr int includeDepthLimit = 16;

struct PreprocessOptions {
  // Core path of the source, whose folder an #include searches first; empty
  // for a text that is no file (the editor's).
  std::string sourcePath;
  // Searched next, in order (the program's shader folder, -I folders).
  std::vector<std::string> includeFolders;
  // Macros defined before the first line (-D NAME=VALUE): name and body.
  std::vector<std::pair<std::string, std::string>> defines;
  // Without a reader every #include is refused.
  const IncludeFileReader* reader = nullptr;
};

// Where a line of the output came from.
struct LineOrigin {
  int line = 0;           // in its file, after any #line
  int fileIndex = -1;     // into PreprocessResult::files; -1 = the source itself
  int sourceLine = 0;     // the line of the source it stems from (an included file's: the #include line)
  bool rewritten = false; // macros expanded or lines joined: its columns are not the file's
};

struct PreprocessResult {
  // False when there was nothing to do: assemble the source as it is.
  bool rewritten = false;
  std::string text;
  std::vector<LineOrigin> origins;  // one per line of text
  std::vector<std::string> files;   // included files and #line names, as reported
  std::vector<Diagnostic> diagnostics;  // already at their original place

  // Moves a diagnostic about a line of text to the file and line it came from.
  void mapToOrigin(Diagnostic& diagnostic) const;
};

PreprocessResult preprocessShaderSource(std::string_view source, const PreprocessOptions& options);

// How the program preprocesses an effect's shader, in its panes and in the
// renderer alike: #include looks beside the file the source came from (none
// when empty), then in the program's shader folder (none when empty).
PreprocessOptions effectShaderOptions(std::string_view sourcePath, const std::string& shaderFolder,
                                      const IncludeFileReader* reader);

}  // namespace veltrace::shader
