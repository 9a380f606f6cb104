// Fuzzes the package reader with whole container files: header, zlib
// stream and the records inside.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "base/files.h"
#include "setup/package_reader.h"

using namespace veltrace::setup;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/veltrace-container-fuzz-" + std::to_string(getpid()) + ".ovz";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  PackageReader reader;
  if (reader.open(path, 0) != 0) return 0;
  // Alternate the ways data is taken so each is exercised.
  for (unsigned record = 0;; ++record) {
    FileInfo info;
    std::string name;
    if (reader.readHeader(info, name) != RecordRead::record) break;
    if (name.size() > maxRecordNameLength || !isSafeRecordName(name)) __builtin_trap();
    bool taken = record % 2 == 0 ? reader.skipData(info) : reader.readToMemory(info).has_value();
    if (!taken) break;
  }
  if (reader.loadScriptText()) {
    FileInfo info;
    reader.find("missing", info);
  }
  return 0;
}
