#pragma once
// The packager's side of the package format: a container ("ovz1", flags 1)
// holding one zlib stream of records, the install script first; and the
// setup program with such a container appended and its DOS header's
// locator words set.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/message_log.h"
#include "setup/file_info.h"

namespace veltrace::setup {

// The checksum the script's record carries.
constexpr std::uint32_t scriptRecordChecksum = 1;

// Builds the container in memory, record by record.
class ContainerWriter {
 public:
  ContainerWriter();
  ~ContainerWriter();
  ContainerWriter(const ContainerWriter&) = delete;
  ContainerWriter& operator=(const ContainerWriter&) = delete;

  // `info.size` and `info.nameLength` are set from `data` and `name`.
  bool addRecord(FileInfo info, std::string_view name, std::string_view data);
  // Ends the stream; the writer takes no more records afterwards.
  std::optional<std::string> finish();

 private:
  struct Deflater;
  bool beginRecord(FileInfo info, std::string_view name);
  bool deflateBytes(const void* bytes, std::size_t length);
  std::unique_ptr<Deflater> deflater_;
};

// Reads the script at `scriptPath`, checks it, then packs it and every file
// its "File" lines deliver (in their order) from below `payloadFolder`.
// Each payload record is named by the line's source field, which is also
// the file's path relative to `payloadFolder`.
std::optional<std::string> buildPackage(std::string_view scriptPath, std::string_view payloadFolder,
                                        MessageLog& log);

// The setup program `program` (without any package it already carried)
// followed by `container`, with the locator words pointing at it.
std::optional<std::string> attachPackage(std::string_view program, std::string_view container, MessageLog& log);

}  // namespace veltrace::setup
