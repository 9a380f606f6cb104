#pragma once
// Builds small packages for the reader tests: a container from records,
// written into a temporary folder.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/files.h"
#include "setup/packager.h"
#include "tests/support/temp_folder.h"

namespace veltrace::setup::test {

struct TestRecord {
  std::string name;
  std::string data;
  std::uint16_t attributes = attributeArchive;
  std::uint64_t time = 0;
};

inline std::string containerOf(const std::vector<TestRecord>& records) {
  ContainerWriter writer;
  for (const auto& record : records) {
    FileInfo info;
    info.attributes = record.attributes;
    info.lastWriteTime = record.time;
    EXPECT_TRUE(writer.addRecord(info, record.name, record.data)) << record.name;
  }
  auto container = writer.finish();
  EXPECT_TRUE(container);
  return container ? *container : std::string();
}

// The inflated archive for hand-made records that the writer refuses.
inline std::string recordBytes(const FileInfo& info, std::string_view name, std::string_view data) {
  auto header = encodeFileInfo(info);
  return std::string(header.begin(), header.end()) + std::string(name) + std::string(data);
}

inline std::string writeFile(const veltrace::test::TempFolder& folder, const std::string& name,
                             std::string_view content) {
  std::string path = folder.corePath() + "\\" + name;
  EXPECT_TRUE(replaceFileWith(path, content));
  return path;
}

}  // namespace veltrace::setup::test
