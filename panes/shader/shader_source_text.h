#pragma once
// The text the shader source editor holds: lines ended by CR LF, as a file
// becomes when it is loaded, and where the line around the caret lies.

#include <cstddef>
#include <string>
#include <string_view>

namespace veltrace {

// Every line of the file, the last one included, followed by CR LF. A file
// that is not text loads all the same: NUL bytes and other control
// characters the editor cannot show (all below 32 but tab) become '?'.
std::string editorTextFromFile(std::string_view fileContent);

struct TextLine {
  std::size_t start = 0;
  std::size_t length = 0;  // without its line break
  friend bool operator==(const TextLine&, const TextLine&) = default;
};

// The line that holds the position (a position past the end is taken as
// the end of the text).
TextLine lineAround(std::string_view text, std::size_t position);

}  // namespace veltrace
