#pragma once
// The whole text of a scene file in memory. Where the system allows it the
// file is mapped rather than copied: scene files run to hundreds of
// megabytes, and a copy would double the memory a load needs.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace veltrace {

struct FileText {
  std::shared_ptr<const void> storage;  // keeps the text alive
  std::string_view text;
};

// Nothing when the file cannot be opened or read, or is not a plain file.
std::optional<FileText> readFileText(std::string_view corePath);

// Text already in memory, taken over.
FileText ownedText(std::string text);

}  // namespace veltrace
