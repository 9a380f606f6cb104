#pragma once
// Reads a setup package: the 8-byte container header ("ovz1", flags), then
// one zlib stream whose inflated content is the record archive. Records lie
// back to back (40-byte FileInfo header, name, data) and the stream is read
// exactly once, front to back: the reader has a single forward position and
// can never return to a record behind it.
//
// The package file is read through a 4096-byte buffer; data is inflated
// straight into the caller's memory or into the target file, piece by piece.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/message_log.h"
#include "setup/file_info.h"

namespace veltrace::setup {

class SetupScript;

// "ovz1" read as a little-endian 32-bit word.
constexpr std::uint32_t containerMagic = 0x317A766Fu;
constexpr std::size_t containerHeaderSize = 8;
// The only container layout this reader knows; the packager writes it.
constexpr std::uint32_t containerFlagsVersion1 = 1;
constexpr std::size_t packageReadBufferSize = 4096;

// The name of the install script, always the archive's first record.
inline constexpr std::string_view scriptRecordName = "Setup.ini";

enum class RecordRead { record, endOfArchive, failed };

class PackageReader {
 public:
  using ProgressSink = std::function<void(std::uint32_t byteCount)>;

  PackageReader();
  ~PackageReader();
  PackageReader(const PackageReader&) = delete;
  PackageReader& operator=(const PackageReader&) = delete;

  // Opens the container that starts `offset` bytes into the file. Returns 0,
  // or -1 when the file cannot be read there, the header is short, the
  // magic or flags are wrong or inflate cannot start; the reader is then
  // closed.
  int open(std::string_view corePath, std::uint64_t offset);
  void close();
  bool isOpen() const;
  std::uint32_t flags() const;

  // Inflates the next record's header and name. endOfArchive when the
  // stream ends cleanly where a record would start; failed on a wrong
  // magic, a name longer than 260 bytes or an unsafe one (see
  // isSafeRecordName), a truncated or corrupt stream.
  RecordRead readHeader(FileInfo& info, std::string& name);

  // The data operations act on the record whose header was read last; each
  // fails when `info` is not that record's or its data was already taken.
  bool skipData(const FileInfo& info);
  std::optional<std::string> readToMemory(const FileInfo& info);
  // Replaces `targetCorePath` with the record's data and gives it the
  // record's time and its attributes masked with attributeApplyMask.
  // Reports the size of every piece written. On failure the file is closed
  // and whatever was written stays.
  bool extractToFile(const FileInfo& info, std::string_view targetCorePath, const ProgressSink& progress);

  // Moves forward to the record named `name` (ASCII case-insensitive),
  // skipping the data of every record on the way, and stops in front of its
  // data. Fails at the end of the archive: a record behind the current
  // position is never found.
  bool find(std::string_view name, FileInfo& info);

  // Reads "Setup.ini" from the start of the archive (reopening the package
  // when the reader has moved on) and parses it into `script`.
  bool loadScript(SetupScript& script, MessageLog& log);
  std::optional<std::string> loadScriptText();

  // Bytes inflated so far.
  std::uint64_t position() const;

 private:
  struct Stream;

  // Inflates up to `length` bytes into `out`; fewer means the stream ended
  // or failed (see failed()).
  std::size_t inflateInto(unsigned char* out, std::size_t length);
  bool consumeData(std::uint32_t length, const std::function<bool(const unsigned char*, std::size_t)>& sink);
  bool isCurrentRecord(const FileInfo& info) const;

  std::unique_ptr<Stream> stream_;
  std::string path_;
  std::uint64_t offset_ = 0;
  std::uint32_t flags_ = 0;
  std::uint32_t pendingData_ = 0;
  bool hasRecord_ = false;
};

}  // namespace veltrace::setup
