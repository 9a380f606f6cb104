#pragma once
// The few file-system operations the package reader and the installer need
// beyond base/files.h: a file's FileInfo, its time and attributes, and
// deleting a file that may be read-only. On Windows they use the file's
// directory entry; elsewhere they map onto what the file system has (the
// read-only attribute onto the owner's write permission).

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>

#include "setup/file_info.h"

namespace veltrace::setup {

// Size (low 32 bits), last-write time, attributes and version words of the
// file at `corePath`; nothing when it does not exist or is not a file.
std::optional<FileInfo> fileInfoFromDisk(std::string_view corePath);

// Fills the version words of `info` from the file's version resource; a file
// without one leaves them as they are. Both forms of fileInfoFromDisk use it.
void readVersionWords(std::string_view corePath, FileInfo& info);

bool setLastWriteTime(std::string_view corePath, std::uint64_t fileTime);
bool setFileAttributes(std::string_view corePath, std::uint16_t attributes);

// std::fopen of the file at `corePath`. On Windows the path goes to the
// system as the ANSI text it is, like every other path of the setup program.
std::FILE* openFile(std::string_view corePath, const char* mode);

// Deletes the file, clearing a read-only attribute first. True when no file
// is left under that name (including when there was none).
bool deleteFileForcing(std::string_view corePath);

}  // namespace veltrace::setup
