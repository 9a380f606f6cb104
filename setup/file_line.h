#pragma once
// One "File" line of a file group: twelve "|"-separated fields, the sixth
// of which is "register=source".
//   name|size|flags|overwrite|shared|register=source|state|reserved|
//   platforms|attributes|text|text

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltrace::setup {

constexpr std::size_t fileLineFieldCount = 12;

// Flags field bits.
constexpr std::uint32_t fileFlagDeliver = 0x1;          // extract or copy the file
constexpr std::uint32_t fileFlagRemove = 0x2;           // delete it when uninstalling
constexpr std::uint32_t fileFlagDeleteObsolete = 0x10;  // not delivered: delete an old copy
constexpr std::uint32_t fileFlagNeedsRestart = 0x80000000u;

// Overwrite field values.
constexpr std::int32_t overwriteNever = 0;
constexpr std::int32_t overwriteAlways = 1;
constexpr std::int32_t overwriteIfNewer = 2;

// Shared field values.
constexpr std::int32_t sharedPrivate = 0;
constexpr std::int32_t sharedCreatedOnly = 1;
constexpr std::int32_t sharedAlways = 2;

// Register field: the kind of registration sits in its low four bits.
constexpr std::int32_t registerKindMask = 0xF;
constexpr std::int32_t registerNone = 0;
constexpr std::int32_t registerLibrary = 1;
constexpr std::int32_t registerTypeLibrary = 2;
constexpr std::int32_t registerProgram = 3;
constexpr std::int32_t registerHelpFile = 5;

constexpr std::uint32_t defaultFilePlatforms = 247;

struct FileLine {
  std::string name;
  std::uint32_t size = 0;
  std::uint32_t flags = 0;
  std::int32_t overwrite = overwriteNever;
  std::int32_t shared = sharedPrivate;
  std::int32_t registration = registerNone;
  std::string source;
  std::int32_t state = 0;
  std::int32_t reserved = -1;
  std::uint32_t platforms = defaultFilePlatforms;
  std::uint32_t attributes = 0;
  std::string text1;
  std::string text2;
};

// Nothing when the line has fewer than twelve fields, the sixth has no
// "=", or the source's last component could name something outside the
// target folder (see isSafeRecordName).
std::optional<FileLine> parseFileLine(std::string_view value);

// "%s|%lu|%lu|%d|%d|%d=%s|%d|%d|%lu|%lu|%s|%s"
std::string formatFileLine(const FileLine& line);

// Script numbers: leading white space, an optional sign, decimal digits up
// to the first other character; no digits read as 0. The unsigned form
// wraps like strtoul ("-1" is 4294967295).
std::int32_t readScriptInt(std::string_view text);
std::uint32_t readScriptUnsigned(std::string_view text);

}  // namespace veltrace::setup
