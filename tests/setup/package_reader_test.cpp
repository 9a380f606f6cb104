// The package locator, the container and the record archive reader.

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <filesystem>

#include "setup/disk_files.h"
#include "setup/package_locator.h"
#include "setup/package_reader.h"
#include "tests/setup/package_fixture.h"

namespace veltrace::setup {
namespace {

using test::TestRecord;
using test::recordBytes;
using veltrace::test::TempFolder;

const std::vector<TestRecord> sampleRecords = {
    {"Setup.ini", "Version=2.66.1387\r\n"},
    {"0001\\F7\\first.txt", "first file", attributeReadOnly | attributeArchive, 130000000000000000ull},
    {"0001\\F7\\empty.txt", "", attributeNormal, 131000000000000000ull},
    {"0002\\F7\\third.bin", std::string(100000, '\x5A'), attributeArchive, 132000000000000000ull},
};

// zlib over hand-made archive bytes, behind a container header.
std::string containerOfBytes(const std::string& archive) {
  uLongf size = compressBound(static_cast<uLong>(archive.size()));
  std::string compressed(size, '\0');
  compress(reinterpret_cast<Bytef*>(compressed.data()), &size, reinterpret_cast<const Bytef*>(archive.data()),
           static_cast<uLong>(archive.size()));
  compressed.resize(size);
  return std::string("ovz1\x01\0\0\0", 8) + compressed;
}

// Reads every record; returns the names, and whether the archive ended
// cleanly.
std::pair<std::vector<std::string>, RecordRead> readAll(PackageReader& reader) {
  std::vector<std::string> names;
  for (;;) {
    FileInfo info;
    std::string name;
    RecordRead read = reader.readHeader(info, name);
    if (read != RecordRead::record) return {names, read};
    names.push_back(name);
    if (!reader.skipData(info)) return {names, RecordRead::failed};
  }
}

std::string headerWithLocator(std::uint32_t offset, std::uint32_t end) {
  std::string image(dosHeaderSize, '\0');
  image[0] = 'M';
  image[1] = 'Z';
  encodeLocator(image, {offset, end});
  return image;
}

TEST(PackageLocator, IsValidOnlyWithMatchingComplementsAndARealEnd) {
  std::string header = headerWithLocator(1000, 5000);
  auto locator = decodeLocator(header, 5000);
  ASSERT_TRUE(locator);
  EXPECT_EQ(locator->packageOffset, 1000u);
  EXPECT_EQ(locator->packageEnd, 5000u);
  EXPECT_TRUE(decodeLocator(header, 6000));   // a longer file is fine
  EXPECT_FALSE(decodeLocator(header, 4999));  // the end lies past the file

  std::string broken = header;
  broken[locatorOffsetComplementAt] ^= 1;
  EXPECT_FALSE(decodeLocator(broken, 5000));
  broken = header;
  broken[locatorEndComplementAt + 3] ^= 0x40;
  EXPECT_FALSE(decodeLocator(broken, 5000));
  EXPECT_FALSE(decodeLocator(headerWithLocator(5000, 5000), 5000));
  EXPECT_FALSE(decodeLocator(headerWithLocator(6000, 5000), 6000));
  EXPECT_FALSE(decodeLocator(std::string(dosHeaderSize, '\0'), 5000));  // no "MZ"
  EXPECT_FALSE(decodeLocator(header.substr(0, 100), 5000));
}

TEST(PackageReader, ReadsRecordsInOrderWithTheirFields) {
  TempFolder folder;
  std::string path = test::writeFile(folder, "p.ovz", test::containerOf(sampleRecords));
  PackageReader reader;
  ASSERT_EQ(reader.open(path, 0), 0);
  EXPECT_EQ(reader.flags(), containerFlagsVersion1);
  for (const auto& expected : sampleRecords) {
    FileInfo info;
    std::string name;
    ASSERT_EQ(reader.readHeader(info, name), RecordRead::record);
    EXPECT_EQ(name, expected.name);
    EXPECT_EQ(info.size, expected.data.size());
    EXPECT_EQ(info.attributes, expected.attributes);
    EXPECT_EQ(info.lastWriteTime, expected.time);
    EXPECT_EQ(reader.readToMemory(info), expected.data);
    EXPECT_FALSE(reader.readToMemory(info));  // the data is gone now
  }
  FileInfo info;
  std::string name;
  EXPECT_EQ(reader.readHeader(info, name), RecordRead::endOfArchive);
}

TEST(PackageReader, FindComparesNamesIgnoringCaseAndNeverGoesBack) {
  TempFolder folder;
  std::string path = test::writeFile(folder, "p.ovz", test::containerOf(sampleRecords));
  PackageReader reader;
  ASSERT_EQ(reader.open(path, 0), 0);
  FileInfo info;
  ASSERT_TRUE(reader.find("setup.ini", info));
  EXPECT_EQ(info.size, sampleRecords[0].data.size());
  // Found without reading its data: the next find skips it.
  ASSERT_TRUE(reader.find("0002\\f7\\THIRD.BIN", info));
  EXPECT_EQ(reader.readToMemory(info), sampleRecords[3].data);
  EXPECT_FALSE(reader.find("0001\\F7\\first.txt", info));  // behind the position

  ASSERT_EQ(reader.open(path, 0), 0);
  EXPECT_FALSE(reader.find("missing", info));
}

TEST(PackageReader, LoadScriptTextStartsAgainFromTheFront) {
  TempFolder folder;
  std::string path = test::writeFile(folder, "p.ovz", test::containerOf(sampleRecords));
  PackageReader reader;
  ASSERT_EQ(reader.open(path, 0), 0);
  FileInfo info;
  ASSERT_TRUE(reader.find("0002\\F7\\third.bin", info));
  EXPECT_EQ(reader.loadScriptText(), sampleRecords[0].data);
}

TEST(PackageReader, ExtractsWithTimeMaskedAttributesAndProgress) {
  TempFolder folder;
  std::string path = test::writeFile(folder, "p.ovz", test::containerOf(sampleRecords));
  PackageReader reader;
  ASSERT_EQ(reader.open(path, 0), 0);

  // A read-only file in the way is replaced.
  std::string first = test::writeFile(folder, "first.txt", "old");
  ASSERT_TRUE(setFileAttributes(first, attributeReadOnly));
  FileInfo info;
  ASSERT_TRUE(reader.find("0001\\F7\\first.txt", info));
  std::uint64_t reported = 0;
  ASSERT_TRUE(reader.extractToFile(info, first, [&](std::uint32_t bytes) { reported += bytes; }));
  EXPECT_EQ(reported, info.size);
  EXPECT_EQ(readWholeFile(first), "first file");
  auto onDisk = fileInfoFromDisk(first);
  ASSERT_TRUE(onDisk);
  EXPECT_TRUE(onDisk->attributes & attributeReadOnly);  // 0x01 survives the mask
  EXPECT_EQ(onDisk->lastWriteTime / 10'000'000, info.lastWriteTime / 10'000'000);

  // Size 0: an empty file with the record's time; 0x80 is masked to 0.
  ASSERT_TRUE(reader.find("0001\\F7\\empty.txt", info));
  std::string empty = folder.corePath() + "\\empty.txt";
  reported = 0;
  ASSERT_TRUE(reader.extractToFile(info, empty, [&](std::uint32_t bytes) { reported += bytes; }));
  EXPECT_EQ(reported, 0u);
  onDisk = fileInfoFromDisk(empty);
  ASSERT_TRUE(onDisk);
  EXPECT_EQ(onDisk->size, 0u);
  EXPECT_FALSE(onDisk->attributes & attributeReadOnly);
  EXPECT_EQ(onDisk->lastWriteTime / 10'000'000, 131000000000000000ull / 10'000'000);

  ASSERT_TRUE(reader.find("0002\\F7\\third.bin", info));
  std::string third = folder.corePath() + "\\third.bin";
  unsigned pieces = 0;
  ASSERT_TRUE(reader.extractToFile(info, third, [&](std::uint32_t) { ++pieces; }));
  EXPECT_GT(pieces, 1u);  // large files advance the progress more than once
  EXPECT_EQ(readWholeFile(third), sampleRecords[3].data);
  setFileAttributes(first, 0);
}

#ifndef _WIN32
// A link in the target's place is replaced; the file it points at, outside
// the folder, keeps its content and its read-only state.
TEST(PackageReader, ExtractingOverALinkLeavesItsTargetAlone) {
  TempFolder folder;
  TempFolder elsewhere;
  std::string path = test::writeFile(folder, "p.ovz", test::containerOf(sampleRecords));
  std::string outside = test::writeFile(elsewhere, "outside.txt", "outside");
  ASSERT_TRUE(setFileAttributes(outside, attributeReadOnly));
  std::filesystem::create_symlink(elsewhere.path() / "outside.txt", folder.path() / "first.txt");

  PackageReader reader;
  ASSERT_EQ(reader.open(path, 0), 0);
  FileInfo info;
  ASSERT_TRUE(reader.find("0001\\F7\\first.txt", info));
  std::string target = folder.corePath() + "\\first.txt";
  ASSERT_TRUE(reader.extractToFile(info, target, nullptr));
  EXPECT_FALSE(std::filesystem::is_symlink(folder.path() / "first.txt"));
  EXPECT_EQ(readWholeFile(target), "first file");
  EXPECT_EQ(readWholeFile(outside), "outside");
  auto outsideInfo = fileInfoFromDisk(outside);
  ASSERT_TRUE(outsideInfo);
  EXPECT_TRUE(outsideInfo->attributes & attributeReadOnly);
  setFileAttributes(outside, 0);
  setFileAttributes(target, 0);
}
#endif

TEST(PackageReader, OpenRejectsWhatIsNotAContainer) {
  TempFolder folder;
  PackageReader reader;
  EXPECT_EQ(reader.open(folder.corePath() + "\\missing.ovz", 0), -1);
  EXPECT_EQ(reader.open(test::writeFile(folder, "short.ovz", "ovz1\x01"), 0), -1);
  std::string good = test::containerOf(sampleRecords);
  std::string wrongMagic = good;
  wrongMagic[3] = '2';
  EXPECT_EQ(reader.open(test::writeFile(folder, "magic.ovz", wrongMagic), 0), -1);
  std::string wrongFlags = good;
  wrongFlags[4] = 2;
  EXPECT_EQ(reader.open(test::writeFile(folder, "flags.ovz", wrongFlags), 0), -1);
  EXPECT_FALSE(reader.isOpen());
  EXPECT_EQ(reader.open(test::writeFile(folder, "good.ovz", "prefix" + good), 6), 0);
  EXPECT_EQ(reader.open(folder.corePath() + "\\good.ovz", 1000000), -1);
}

TEST(PackageReader, CorruptRecordHeadersFailTheRead) {
  TempFolder folder;
  FileInfo info;
  info.size = 1;
  std::string longName(261, 'n');
  info.nameLength = 261;
  std::string archive = recordBytes(info, longName, "x");
  PackageReader reader;
  ASSERT_EQ(reader.open(test::writeFile(folder, "long.ovz", containerOfBytes(archive)), 0), 0);
  EXPECT_EQ(readAll(reader).second, RecordRead::failed);

  info.nameLength = 260;
  ASSERT_EQ(reader.open(test::writeFile(folder, "max.ovz", containerOfBytes(recordBytes(info, longName.substr(1), "x"))), 0), 0);
  EXPECT_EQ(readAll(reader).second, RecordRead::endOfArchive);

  info.nameLength = 1;
  info.magic = 0x66667A6E;
  ASSERT_EQ(reader.open(test::writeFile(folder, "magic.ovz", containerOfBytes(recordBytes(info, "a", "x"))), 0), 0);
  EXPECT_EQ(readAll(reader).second, RecordRead::failed);

  // A record that claims more data than the stream holds.
  info.magic = recordMagic;
  info.size = 4000000000u;
  ASSERT_EQ(reader.open(test::writeFile(folder, "huge.ovz", containerOfBytes(recordBytes(info, "a", "x"))), 0), 0);
  FileInfo read;
  std::string name;
  ASSERT_EQ(reader.readHeader(read, name), RecordRead::record);
  EXPECT_FALSE(reader.readToMemory(read));
}

TEST(PackageReader, UnsafeRecordNamesAreRejected) {
  TempFolder folder;
  const char* unsafe[] = {"..", ".", "dir\\..", "dir\\", "dir/", "C:evil", "file.txt:stream", "a\\.", "", ".. ", "...", " "};
  for (const char* bad : unsafe) {
    FileInfo info;
    info.size = 1;
    info.nameLength = static_cast<std::uint16_t>(std::strlen(bad));
    PackageReader reader;
    ASSERT_EQ(reader.open(test::writeFile(folder, "bad.ovz", containerOfBytes(recordBytes(info, bad, "x"))), 0), 0);
    EXPECT_EQ(readAll(reader).second, RecordRead::failed) << bad;
  }
  EXPECT_TRUE(isSafeRecordName("..\\..\\evil.txt"));  // only its last component names the installed file
  EXPECT_FALSE(isSafeRelativePath("..\\..\\evil.txt"));
  EXPECT_FALSE(isSafeRelativePath("\\root.txt"));
  EXPECT_FALSE(isSafeRelativePath("a\\\\b"));
  EXPECT_FALSE(isSafeRelativePath("a\\.\\b"));
  EXPECT_FALSE(isSafeRelativePath(".. \\evil.txt"));
  EXPECT_FALSE(isSafeRelativePath("a\\...\\b"));
  EXPECT_TRUE(isSafeRelativePath(".hidden\\a..b.txt"));
  EXPECT_TRUE(isSafeRelativePath("0002\\F7\\Toon Shader.veff"));
  ContainerWriter writer;
  EXPECT_FALSE(writer.addRecord(FileInfo{}, "..", "x"));
}

TEST(PackageReader, TruncatedOrCorruptedStreamsFailAtEveryOffset) {
  TempFolder folder;
  std::vector<TestRecord> records = {{"Setup.ini", "script"}, {"a.txt", std::string(3000, 'a')}, {"b.txt", "bbbb"}};
  std::string good = test::containerOf(records);
  std::string path = folder.corePath() + "\\damaged.ovz";
  for (std::size_t length = containerHeaderSize; length < good.size(); ++length) {
    ASSERT_TRUE(replaceFileWith(path, good.substr(0, length)));
    PackageReader reader;
    if (reader.open(path, 0) != 0) continue;
    EXPECT_EQ(readAll(reader).second, RecordRead::failed) << "cut at " << length;
  }
  for (std::size_t at = containerHeaderSize; at < good.size(); ++at) {
    std::string damaged = good;
    damaged[at] = static_cast<char>(damaged[at] ^ 0xFF);
    ASSERT_TRUE(replaceFileWith(path, damaged));
    PackageReader reader;
    if (reader.open(path, 0) != 0) continue;
    auto [names, end] = readAll(reader);
    EXPECT_EQ(end, RecordRead::failed) << "byte " << at;
  }
}

}  // namespace
}  // namespace veltrace::setup
