// Fuzzes the record archive: the input is the inflated archive, which is
// deflated into a valid container so the fuzzer reaches the record layer.

#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "setup/package_reader.h"

using namespace veltrace::setup;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/veltrace-record-fuzz-" + std::to_string(getpid()) + ".ovz";
  uLongf compressedSize = compressBound(static_cast<uLong>(size));
  std::string container("ovz1\x01\0\0\0", 8);
  container.resize(8 + compressedSize);
  if (compress2(reinterpret_cast<Bytef*>(&container[8]), &compressedSize, data, static_cast<uLong>(size), 1) != Z_OK)
    return 0;
  container.resize(8 + compressedSize);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(container.data(), 1, container.size(), file);
  std::fclose(file);

  PackageReader reader;
  if (reader.open(path, 0) != 0) __builtin_trap();  // a valid container always opens
  std::uint64_t recordBytes = 0;
  for (;;) {
    FileInfo info;
    std::string name;
    RecordRead read = reader.readHeader(info, name);
    if (read != RecordRead::record) break;
    recordBytes += recordHeaderSize + name.size();
    auto content = reader.readToMemory(info);
    if (!content) break;
    if (content->size() != info.size) __builtin_trap();
    recordBytes += content->size();
  }
  // The reader never hands out more than the archive holds.
  if (recordBytes > size) __builtin_trap();
  return 0;
}
