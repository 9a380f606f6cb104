#pragma once
// The 40-byte description of one file that the package archive stores in
// front of every record, and that the installer also builds for a file on
// disk so that a packaged file and an installed one compare field by field.
//
// Layout (little-endian):
//   0 u32 magic "ozff"        20 u32 product version, low
//   4 u32 checksum            24 i32 product version, high
//   8 u32 size                28 u32 file version, low
//  12 u64 last-write time     32 i32 file version, high
//                             36 u16 attributes, 38 u16 name length

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace veltrace::setup {

// "ozff" read as a little-endian 32-bit word.
constexpr std::uint32_t recordMagic = 0x66667A6Fu;
constexpr std::size_t recordHeaderSize = 40;
constexpr std::uint16_t maxRecordNameLength = 260;

// Windows file attribute bits, the only ones this program looks at.
constexpr std::uint16_t attributeReadOnly = 0x0001;
constexpr std::uint16_t attributeHidden = 0x0002;
constexpr std::uint16_t attributeSystem = 0x0004;
constexpr std::uint16_t attributeArchive = 0x0020;
constexpr std::uint16_t attributeNormal = 0x0080;
// What an extracted file keeps of its record's attributes.
constexpr std::uint16_t attributeApplyMask =
    attributeReadOnly | attributeHidden | attributeSystem | attributeArchive;
// The attributes value of a FileInfo that describes no file.
constexpr std::uint16_t attributesAbsent = 0xFFFF;

struct FileInfo {
  std::uint32_t magic = recordMagic;
  std::uint32_t checksum = 0;
  std::uint32_t size = 0;
  std::uint64_t lastWriteTime = 0;  // FILETIME: 100 ns ticks since 1601-01-01 UTC
  std::uint32_t productVersionLow = 0;
  std::int32_t productVersionHigh = 0;
  std::uint32_t fileVersionLow = 0;
  std::int32_t fileVersionHigh = 0;
  std::uint16_t attributes = attributesAbsent;
  std::uint16_t nameLength = 0;

  bool exists() const { return attributes != attributesAbsent; }
};

using RecordHeaderBytes = std::array<unsigned char, recordHeaderSize>;

RecordHeaderBytes encodeFileInfo(const FileInfo& info);
// Takes the fields as they are; the caller checks magic and name length.
FileInfo decodeFileInfo(const RecordHeaderBytes& bytes);

// A version word holds two parts: major in the high half, minor in the low.
constexpr unsigned versionPartShift = 16;
constexpr std::uint32_t versionPartMask = 0xFFFF;

// The four parts of a version's high and low words as "a.b.c.d" text.
std::string formatVersion(std::int32_t high, std::uint32_t low);

// A record name is safe when its last component can name a file inside a
// target folder: not empty, not "." or "..", and without a drive or stream
// separator (":"). Both "\" and "/" separate components.
bool isSafeRecordName(std::string_view name);

// Stricter: every component is safe and the name is relative, so joining it
// to a folder never leaves that folder. Used when a whole record name
// becomes a path below an extraction folder.
bool isSafeRelativePath(std::string_view name);

}  // namespace veltrace::setup
