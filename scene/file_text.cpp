#include "scene/file_text.h"

#include <fstream>
#include <new>

#include "base/files.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace veltrace {

namespace {

std::optional<FileText> copyFile(std::string_view corePath) {
  std::ifstream in(nativePath(corePath), std::ios::binary | std::ios::ate);
  if (!in) return std::nullopt;
  std::streamoff length = in.tellg();
  if (length < 0) return std::nullopt;
  std::string text;
  try {
    text.resize(static_cast<size_t>(length));
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  in.seekg(0);
  in.read(text.data(), length);
  if (in.gcount() != length) return std::nullopt;
  return ownedText(std::move(text));
}

#ifndef _WIN32
// A read-only private mapping; nothing when mapping is not possible, and
// the caller copies instead.
std::optional<FileText> mapFile(std::string_view corePath, bool& notAFile) {
  int descriptor = open(nativePath(corePath).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (descriptor < 0) return std::nullopt;
  struct stat status {};
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    notAFile = true;
    close(descriptor);
    return std::nullopt;
  }
  const size_t length = static_cast<size_t>(status.st_size);
  if (length == 0) {
    close(descriptor);
    return ownedText({});
  }
  void* address = mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_POPULATE, descriptor, 0);
  close(descriptor);
  if (address == MAP_FAILED) return std::nullopt;
  FileText mapped;
  mapped.storage = std::shared_ptr<const void>(address, [length](const void* start) {
    munmap(const_cast<void*>(start), length);
  });
  mapped.text = std::string_view(static_cast<const char*>(address), length);
  return mapped;
}
#endif

}  // namespace

FileText ownedText(std::string text) {
  auto owned = std::make_shared<const std::string>(std::move(text));
  FileText result;
  result.text = *owned;
  result.storage = std::move(owned);
  return result;
}

std::optional<FileText> readFileText(std::string_view corePath) {
#ifndef _WIN32
  bool notAFile = false;
  if (auto mapped = mapFile(corePath, notAFile)) return mapped;
  if (notAFile) return std::nullopt;
#endif
  return copyFile(corePath);
}

}  // namespace veltrace
