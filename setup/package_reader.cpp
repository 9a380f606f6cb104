#include "setup/package_reader.h"

#include <zlib.h>

#include <array>
#include <cstdio>
#include <limits>
#include <new>
#include <stdexcept>

#include "base/files.h"
#include "base/text.h"
#include "setup/disk_files.h"
#include "setup/script_document.h"
#include "setup/setup_script.h"

namespace veltrace::setup {

namespace {

// Data is inflated in pieces of this size: large enough to keep inflate
// efficient, small enough that progress moves during a large file.
constexpr std::size_t dataPieceSize = 64 * 1024;

std::uint32_t wordAt(const unsigned char* bytes) {
  return std::uint32_t(bytes[0]) | (std::uint32_t(bytes[1]) << 8) | (std::uint32_t(bytes[2]) << 16) |
         (std::uint32_t(bytes[3]) << 24);
}

}  // namespace

// The open package file and the one inflate state running over it.
struct PackageReader::Stream {
  std::FILE* file = nullptr;
  z_stream zlib{};
  std::array<unsigned char, packageReadBufferSize> input{};
  // Where data is inflated on its way to a file, to memory or nowhere;
  // allocated once, left uninitialised.
  std::unique_ptr<unsigned char[]> piece{new unsigned char[dataPieceSize]};
  std::uint64_t position = 0;
  bool ended = false;   // the zlib stream ended cleanly (Adler-32 checked)
  bool failed = false;  // corrupt or truncated; nothing more can be read

  ~Stream() {
    inflateEnd(&zlib);
    if (file) std::fclose(file);
  }

  bool refill() {
    std::size_t got = std::fread(input.data(), 1, input.size(), file);
    zlib.next_in = input.data();
    zlib.avail_in = static_cast<uInt>(got);
    return got > 0;
  }
};

PackageReader::PackageReader() = default;
PackageReader::~PackageReader() = default;

int PackageReader::open(std::string_view corePath, std::uint64_t offset) {
  close();
  auto stream = std::make_unique<Stream>();
  stream->file = openFile(corePath, "rb");
  if (!stream->file) return -1;
  // Reads go through our own buffer; a second one inside stdio would only
  // copy every byte twice.
  std::setvbuf(stream->file, nullptr, _IONBF, 0);
  if (offset > static_cast<std::uint64_t>(std::numeric_limits<long>::max()) ||
      std::fseek(stream->file, static_cast<long>(offset), SEEK_SET) != 0)
    return -1;
  unsigned char header[containerHeaderSize];
  if (std::fread(header, 1, sizeof header, stream->file) != sizeof header) return -1;
  if (wordAt(header) != containerMagic) return -1;
  std::uint32_t flags = wordAt(header + 4);
  if (flags != containerFlagsVersion1) return -1;
  if (inflateInit(&stream->zlib) != Z_OK) return -1;

  stream_ = std::move(stream);
  path_ = std::string(corePath);
  offset_ = offset;
  flags_ = flags;
  return 0;
}

void PackageReader::close() {
  stream_.reset();
  flags_ = 0;
  pendingData_ = 0;
  hasRecord_ = false;
}

bool PackageReader::isOpen() const { return stream_ != nullptr; }
std::uint32_t PackageReader::flags() const { return flags_; }
std::uint64_t PackageReader::position() const { return stream_ ? stream_->position : 0; }

std::size_t PackageReader::inflateInto(unsigned char* out, std::size_t length) {
  if (!stream_ || stream_->ended || stream_->failed || length == 0) return 0;
  z_stream& zlib = stream_->zlib;
  zlib.next_out = out;
  zlib.avail_out = static_cast<uInt>(length);
  while (zlib.avail_out > 0) {
    if (zlib.avail_in == 0 && !stream_->refill()) {
      stream_->failed = true;  // the file ended inside the stream
      break;
    }
    int result = inflate(&zlib, Z_NO_FLUSH);
    if (result == Z_STREAM_END) {
      stream_->ended = true;
      break;
    }
    if (result != Z_OK) {
      stream_->failed = true;
      break;
    }
  }
  std::size_t produced = length - zlib.avail_out;
  stream_->position += produced;
  return produced;
}

RecordRead PackageReader::readHeader(FileInfo& info, std::string& name) {
  hasRecord_ = false;
  pendingData_ = 0;
  if (!stream_) return RecordRead::failed;
  RecordHeaderBytes header;
  std::size_t got = inflateInto(header.data(), header.size());
  if (got == 0 && stream_->ended) return RecordRead::endOfArchive;
  if (got != header.size()) return RecordRead::failed;
  FileInfo read = decodeFileInfo(header);
  if (read.magic != recordMagic || read.nameLength > maxRecordNameLength) return RecordRead::failed;
  std::string readName(read.nameLength, '\0');
  if (inflateInto(reinterpret_cast<unsigned char*>(readName.data()), readName.size()) != readName.size())
    return RecordRead::failed;
  if (!isSafeRecordName(readName)) return RecordRead::failed;
  info = read;
  name = std::move(readName);
  pendingData_ = info.size;
  hasRecord_ = true;
  return RecordRead::record;
}

bool PackageReader::isCurrentRecord(const FileInfo& info) const {
  return stream_ && hasRecord_ && info.size == pendingData_;
}

bool PackageReader::consumeData(std::uint32_t length,
                                const std::function<bool(const unsigned char*, std::size_t)>& sink) {
  unsigned char* piece = stream_->piece.get();
  while (length > 0) {
    std::size_t want = length < dataPieceSize ? length : dataPieceSize;
    std::size_t got = inflateInto(piece, want);
    pendingData_ -= static_cast<std::uint32_t>(got);
    length -= static_cast<std::uint32_t>(got);
    if (got > 0 && sink && !sink(piece, got)) return false;
    if (got != want) return false;
  }
  hasRecord_ = false;
  return true;
}

bool PackageReader::skipData(const FileInfo& info) {
  if (!isCurrentRecord(info)) return false;
  return consumeData(pendingData_, nullptr);
}

std::optional<std::string> PackageReader::readToMemory(const FileInfo& info) {
  if (!isCurrentRecord(info)) return std::nullopt;
  // Grown as the data arrives rather than reserved from the header's size,
  // so a corrupt size cannot ask for gigabytes up front.
  // A record of up to 4 GB can be more than the process can hold: running
  // out of memory is a failed read, never an exception out of the reader.
  std::string data;
  bool complete = consumeData(pendingData_, [&data](const unsigned char* bytes, std::size_t length) {
    try {
      data.append(reinterpret_cast<const char*>(bytes), length);
    } catch (const std::bad_alloc&) {
      return false;
    } catch (const std::length_error&) {
      return false;
    }
    return true;
  });
  if (!complete) return std::nullopt;
  return data;
}

bool PackageReader::extractToFile(const FileInfo& info, std::string_view targetCorePath,
                                  const ProgressSink& progress) {
  if (!isCurrentRecord(info)) return false;
  if (!deleteFileForcing(targetCorePath)) return false;
  std::FILE* out = openFile(targetCorePath, "wb");
  if (!out) return false;
  bool written = consumeData(pendingData_, [&](const unsigned char* bytes, std::size_t length) {
    if (std::fwrite(bytes, 1, length, out) != length) return false;
    if (progress) progress(static_cast<std::uint32_t>(length));
    return true;
  });
  if (std::fclose(out) != 0) written = false;
  if (!written) return false;
  if (!setLastWriteTime(targetCorePath, info.lastWriteTime)) return false;
  return setFileAttributes(targetCorePath, info.attributes & attributeApplyMask);
}

bool PackageReader::find(std::string_view name, FileInfo& info) {
  if (!stream_) return false;
  if (hasRecord_ && pendingData_ > 0 && !consumeData(pendingData_, nullptr)) return false;
  for (;;) {
    FileInfo candidate;
    std::string candidateName;
    if (readHeader(candidate, candidateName) != RecordRead::record) return false;
    if (equalsIgnoringCase(candidateName, name)) {
      info = candidate;
      return true;
    }
    if (!consumeData(pendingData_, nullptr)) return false;
  }
}

std::optional<std::string> PackageReader::loadScriptText() {
  if (!stream_) return std::nullopt;
  if (stream_->position != 0) {
    std::string path = path_;
    if (open(path, offset_) != 0) return std::nullopt;
  }
  FileInfo info;
  if (!find(scriptRecordName, info)) return std::nullopt;
  return readToMemory(info);
}

bool PackageReader::loadScript(SetupScript& script, MessageLog& log) {
  auto text = loadScriptText();
  if (!text) {
    log.append(formatText("The package holds no readable \"%.*s\".", int(scriptRecordName.size()),
                          scriptRecordName.data()));
    return false;
  }
  return script.loadScript(*text, log);
}

}  // namespace veltrace::setup
