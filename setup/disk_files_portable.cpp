// The file operations on systems without Windows file attributes: only the
// read-only bit has a counterpart (the owner's write permission).
#include <chrono>
#include <filesystem>

#include "base/files.h"
#include "setup/disk_files.h"

namespace veltrace::setup {

namespace {

namespace fs = std::filesystem;

// Seconds between 1601-01-01 (FILETIME) and 1970-01-01 (Unix time).
constexpr std::int64_t fileTimeEpochOffsetSeconds = 11644473600LL;
constexpr std::int64_t ticksPerSecond = 10'000'000;

std::uint64_t toFileTime(fs::file_time_type time) {
  auto system = std::chrono::file_clock::to_sys(time);
  auto ticks = std::chrono::duration_cast<std::chrono::duration<std::int64_t, std::ratio<1, ticksPerSecond>>>(
                   system.time_since_epoch())
                   .count();
  std::int64_t fileTime = ticks + fileTimeEpochOffsetSeconds * ticksPerSecond;
  return fileTime < 0 ? 0 : static_cast<std::uint64_t>(fileTime);
}

// The file clock covers only a few centuries (nanoseconds in 64 bits), so
// times far from today, such as the 0 of the script's record, are clamped
// to 1900 and 2400.
fs::file_time_type fromFileTime(std::uint64_t fileTime) {
  constexpr std::int64_t earliestUnixSeconds = -2208988800LL;  // 1900-01-01
  constexpr std::int64_t latestUnixSeconds = 13569465600LL;    // 2400-01-01
  std::int64_t seconds = static_cast<std::int64_t>(fileTime / ticksPerSecond) - fileTimeEpochOffsetSeconds;
  std::int64_t ticks = static_cast<std::int64_t>(fileTime % ticksPerSecond);
  if (seconds < earliestUnixSeconds) {
    seconds = earliestUnixSeconds;
    ticks = 0;
  } else if (seconds > latestUnixSeconds) {
    seconds = latestUnixSeconds;
    ticks = 0;
  }
  auto since = std::chrono::seconds(seconds) + std::chrono::nanoseconds(ticks * 100);
  std::chrono::sys_time<std::chrono::nanoseconds> system(since);
  return std::chrono::file_clock::from_sys(system);
}

}  // namespace

std::optional<FileInfo> fileInfoFromDisk(std::string_view corePath) {
  auto path = nativePath(corePath);
  std::error_code error;
  auto status = fs::status(path, error);
  if (error || !fs::is_regular_file(status)) return std::nullopt;
  FileInfo info;
  info.size = static_cast<std::uint32_t>(fs::file_size(path, error));
  if (error) return std::nullopt;
  auto time = fs::last_write_time(path, error);
  if (!error) info.lastWriteTime = toFileTime(time);
  bool writable = (status.permissions() & fs::perms::owner_write) != fs::perms::none;
  info.attributes = writable ? attributeNormal : attributeReadOnly;
  readVersionWords(corePath, info);
  return info;
}

bool setLastWriteTime(std::string_view corePath, std::uint64_t fileTime) {
  std::error_code error;
  fs::last_write_time(nativePath(corePath), fromFileTime(fileTime), error);
  return !error;
}

bool setFileAttributes(std::string_view corePath, std::uint16_t attributes) {
  constexpr auto writeBits = fs::perms::owner_write;
  std::error_code error;
  bool readOnly = (attributes & attributeReadOnly) != 0;
  fs::permissions(nativePath(corePath), writeBits, readOnly ? fs::perm_options::remove : fs::perm_options::add,
                  error);
  return !error;
}

std::FILE* openFile(std::string_view corePath, const char* mode) {
  return std::fopen(nativePath(corePath).string().c_str(), mode);
}

bool deleteFileForcing(std::string_view corePath) {
  auto path = nativePath(corePath);
  std::error_code error;
  auto status = fs::symlink_status(path, error);
  if (!fs::exists(status)) return true;
  if (fs::is_directory(status)) return false;
  // A link is removed as it is: changing its permissions would change those
  // of the file it points at, which may lie anywhere.
  if (!fs::is_symlink(status)) fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, error);
  fs::remove(path, error);
  return !error;
}

}  // namespace veltrace::setup
