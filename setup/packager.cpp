#include "setup/packager.h"

#include <zlib.h>

#include <ctime>
#include <vector>


#include "base/files.h"
#include "base/text.h"
#include "setup/disk_files.h"
#include "setup/package_locator.h"
#include "setup/package_reader.h"
#include "setup/setup_script.h"

namespace veltrace::setup {

namespace {

constexpr std::size_t copyPieceSize = 64 * 1024;

// The packed script's root "Timestamp": when the package was made (UTC).
std::string packagingTime() {
  std::time_t now = std::time(nullptr);
  std::tm parts{};
#ifdef _WIN32
  gmtime_s(&parts, &now);
#else
  gmtime_r(&now, &parts);
#endif
  return formatText("%04d-%02d-%02d %02d:%02d:%02d", parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                    parts.tm_hour, parts.tm_min, parts.tm_sec);
}

// A path as the user's system writes it, for messages. On Windows that is
// the core path itself, in the ANSI code page the console shows.
std::string shown(std::string_view corePath) {
#ifdef _WIN32
  return std::string(corePath);
#else
  return nativePath(corePath).string();
#endif
}

void appendWord(std::string& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>(value >> (8 * i));
}

}  // namespace

struct ContainerWriter::Deflater {
  z_stream zlib{};
  std::string output;
  bool finished = false;
  bool failed = false;
  ~Deflater() { deflateEnd(&zlib); }
};

ContainerWriter::ContainerWriter() : deflater_(std::make_unique<Deflater>()) {
  appendWord(deflater_->output, containerMagic);
  appendWord(deflater_->output, containerFlagsVersion1);
  if (deflateInit(&deflater_->zlib, Z_BEST_COMPRESSION) != Z_OK) deflater_->failed = true;
}

ContainerWriter::~ContainerWriter() = default;

bool ContainerWriter::deflateBytes(const void* bytes, std::size_t length) {
  Deflater& d = *deflater_;
  if (d.failed || d.finished) return false;
  d.zlib.next_in = static_cast<Bytef*>(const_cast<void*>(bytes));
  d.zlib.avail_in = static_cast<uInt>(length);
  unsigned char piece[copyPieceSize];
  while (d.zlib.avail_in > 0) {
    d.zlib.next_out = piece;
    d.zlib.avail_out = sizeof piece;
    if (deflate(&d.zlib, Z_NO_FLUSH) == Z_STREAM_ERROR) {
      d.failed = true;
      return false;
    }
    d.output.append(reinterpret_cast<char*>(piece), sizeof piece - d.zlib.avail_out);
  }
  return true;
}

bool ContainerWriter::beginRecord(FileInfo info, std::string_view name) {
  if (name.size() > maxRecordNameLength || !isSafeRecordName(name)) return false;
  info.magic = recordMagic;
  info.nameLength = static_cast<std::uint16_t>(name.size());
  auto header = encodeFileInfo(info);
  return deflateBytes(header.data(), header.size()) && deflateBytes(name.data(), name.size());
}

bool ContainerWriter::addRecord(FileInfo info, std::string_view name, std::string_view data) {
  if (data.size() > UINT32_MAX) return false;
  info.size = static_cast<std::uint32_t>(data.size());
  return beginRecord(info, name) && deflateBytes(data.data(), data.size());
}

std::optional<std::string> ContainerWriter::finish() {
  Deflater& d = *deflater_;
  if (d.failed || d.finished) return std::nullopt;
  d.zlib.next_in = nullptr;
  d.zlib.avail_in = 0;
  unsigned char piece[copyPieceSize];
  for (;;) {
    d.zlib.next_out = piece;
    d.zlib.avail_out = sizeof piece;
    int result = deflate(&d.zlib, Z_FINISH);
    d.output.append(reinterpret_cast<char*>(piece), sizeof piece - d.zlib.avail_out);
    if (result == Z_STREAM_END) break;
    if (result != Z_OK && result != Z_BUF_ERROR) return std::nullopt;
  }
  d.finished = true;
  return std::move(d.output);
}

std::optional<std::string> buildPackage(std::string_view scriptPath, std::string_view payloadFolder,
                                        MessageLog& log) {
  auto scriptText = readWholeFile(scriptPath);
  if (!scriptText) {
    log.append(formatText("Cannot read the script \"%s\".", shown(scriptPath).c_str()));
    return std::nullopt;
  }
  // The packager resolves no references; the script only has to hold
  // together, as the setup program will check it again where it runs.
  DetachedPlatform platform(platformWindowsXP);
  SetupScript script(platform);
  if (!script.loadScript(*scriptText, log)) {
    log.append(formatText("\"%s\" is not a valid install script.", shown(scriptPath).c_str()));
    return std::nullopt;
  }

  // The payload is read twice: once to correct each File line's size in
  // the packed script (the script goes first), once to pack it.
  std::string folder(payloadFolder);
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  struct Payload {
    std::string path;
    std::string name;
    FileInfo info;
  };
  std::vector<Payload> payload;
  for (FileGroup& group : script.fileGroups()) {
    for (FileEntry& file : group.files) {
      FileLine& line = file.line;
      if (!(line.flags & fileFlagDeliver)) continue;
      if (!isSafeRelativePath(line.source) || line.source.size() > maxRecordNameLength) {
        log.append(formatText("The source name \"%s\" cannot name a file below the payload folder.",
                              line.source.c_str()));
        return std::nullopt;
      }
      std::string path = folder + "\\" + line.source;
      auto info = fileInfoFromDisk(path);
      if (!info) {
        log.append(formatText("Missing payload file \"%s\".", shown(path).c_str()));
        return std::nullopt;
      }
      if (info->size != line.size) {
        line.size = info->size;
        script.writeFileEntry(group, file);
      }
      payload.push_back(Payload{path, line.source, *info});
    }
  }
  script.setValue(script.rootSection(), "Timestamp", packagingTime());

  ContainerWriter writer;
  FileInfo scriptInfo;
  scriptInfo.checksum = scriptRecordChecksum;
  scriptInfo.lastWriteTime = 0;
  scriptInfo.attributes = attributeArchive;
  if (!writer.addRecord(scriptInfo, scriptRecordName, script.text())) return std::nullopt;
  for (Payload& file : payload) {
    auto content = readWholeFile(file.path);
    if (!content || content->size() != file.info.size) {
      log.append(formatText("Cannot pack \"%s\": it changed or cannot be read.", shown(file.path).c_str()));
      return std::nullopt;
    }
    file.info.checksum = static_cast<std::uint32_t>(
        crc32(0L, reinterpret_cast<const Bytef*>(content->data()), static_cast<uInt>(content->size())));
    if (!writer.addRecord(file.info, file.name, *content)) {
      log.append(formatText("Cannot pack \"%s\".", shown(file.path).c_str()));
      return std::nullopt;
    }
  }
  auto container = writer.finish();
  if (!container) log.append("The package stream could not be completed.");
  return container;
}

std::optional<std::string> attachPackage(std::string_view program, std::string_view container, MessageLog& log) {
  std::string image(program);
  if (image.size() < dosHeaderSize || image[0] != 'M' || image[1] != 'Z') {
    log.append("The setup program is not a Windows executable.");
    return std::nullopt;
  }
  // A program that already carries a package gives up the old one. Words
  // that place a package inside the DOS header describe none: cutting there
  // would lose the header, and the new locator would land in the package.
  auto old = decodeLocator(image, image.size());
  if (old && old->packageOffset >= dosHeaderSize) image.resize(old->packageOffset);
  std::uint64_t end = std::uint64_t(image.size()) + container.size();
  if (end > UINT32_MAX) {
    log.append("The setup program with its package would exceed 4 GB.");
    return std::nullopt;
  }
  PackageLocator locator{static_cast<std::uint32_t>(image.size()), static_cast<std::uint32_t>(end)};
  image.append(container);
  encodeLocator(image, locator);
  return image;
}

}  // namespace veltrace::setup
