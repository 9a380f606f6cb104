#include "app/help_file.h"

namespace veltrace::app {

std::string helpFilePath(std::string_view programFolder) {
  std::string path(programFolder);
  path += helpFileSuffix;
  return path;
}

std::string helpFailureLine(const std::optional<std::string>& systemDescription,
                            std::string_view helpFile, std::string_view topic) {
  std::string line = "ERROR! ";
  if (systemDescription && !systemDescription->empty()) return line + *systemDescription;
  if (topic.empty()) {
    line += "The help file \"";
    line += helpFile;
    line += "\" could not be opened.";
  } else {
    line += "The help topic \"";
    line += topic;
    line += "\" could not be opened in the help file \"";
    line += helpFile;
    line += "\".";
  }
  return line;
}

}  // namespace veltrace::app
