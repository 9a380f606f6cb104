#include "base/files.h"

#include <fstream>
#include <system_error>

namespace veltrace {

std::filesystem::path nativePath(std::string_view corePath) {
#ifdef _WIN32
  return std::filesystem::path(std::string(corePath));
#else
  std::string mapped(corePath);
  for (char& c : mapped)
    if (c == '\\') c = '/';
  return std::filesystem::path(mapped);
#endif
}

std::string folderPart(std::string_view corePath) {
  size_t slash = corePath.rfind('\\');
  return slash == std::string_view::npos ? std::string() : std::string(corePath.substr(0, slash + 1));
}

std::string namePart(std::string_view corePath) {
  size_t slash = corePath.rfind('\\');
  return std::string(slash == std::string_view::npos ? corePath : corePath.substr(slash + 1));
}

std::string underProgramFolder(std::string_view storedPath, std::string_view programFolder) {
  bool belowProgramFolder = storedPath.size() >= 1 && storedPath[0] == '\\' &&
                            !(storedPath.size() > 1 && storedPath[1] == '\\');
  if (!belowProgramFolder) return std::string(storedPath);
  return std::string(programFolder) + std::string(storedPath);
}

std::optional<std::string> readWholeFile(std::string_view corePath) {
  std::ifstream in(nativePath(corePath), std::ios::binary);
  if (!in) return std::nullopt;
  // Read in large blocks: the size is not asked for up front, since files
  // can change underneath and special files report none.
  std::string content;
  char block[65536];
  while (in.read(block, sizeof block) || in.gcount() > 0) content.append(block, static_cast<size_t>(in.gcount()));
  if (in.bad()) return std::nullopt;
  return content;
}

bool fileExists(std::string_view corePath) {
  std::error_code error;
  return std::filesystem::is_regular_file(nativePath(corePath), error);
}

bool folderExists(std::string_view corePath) {
  std::error_code error;
  return std::filesystem::is_directory(nativePath(corePath), error);
}

FolderResult createFolder(std::string_view corePath) {
  std::error_code error;
  auto path = nativePath(corePath);
  if (std::filesystem::is_directory(path, error)) return FolderResult::alreadyExisted;
  if (std::filesystem::create_directory(path, error)) return FolderResult::created;
  return FolderResult::failed;
}

bool replaceFileWith(std::string_view corePath, std::string_view content) {
  auto target = nativePath(corePath);
  auto temporary = target;
  temporary += ".saving~";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, target, error);
  if (error) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return false;
  }
  return true;
}

}  // namespace veltrace
