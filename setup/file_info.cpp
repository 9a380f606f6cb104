#include "setup/file_info.h"

#include <string>

#include "base/text.h"

namespace veltrace::setup {

namespace {

void putU16(unsigned char* at, std::uint16_t value) {
  at[0] = static_cast<unsigned char>(value);
  at[1] = static_cast<unsigned char>(value >> 8);
}

void putU32(unsigned char* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

void putU64(unsigned char* at, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

std::uint16_t getU16(const unsigned char* at) {
  return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

std::uint32_t getU32(const unsigned char* at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | at[i];
  return value;
}

std::uint64_t getU64(const unsigned char* at) {
  std::uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = (value << 8) | at[i];
  return value;
}

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool isSafeComponent(std::string_view component) {
  // Windows drops trailing dots and spaces from a name, so ".. " and "..."
  // would act as ".." or "." there: a name made only of them is refused.
  if (component.find_first_not_of(". ") == std::string_view::npos) return false;
  for (char c : component)
    if (c == ':' || c == '\0') return false;
  return true;
}

}  // namespace

RecordHeaderBytes encodeFileInfo(const FileInfo& info) {
  RecordHeaderBytes bytes{};
  putU32(&bytes[0], info.magic);
  putU32(&bytes[4], info.checksum);
  putU32(&bytes[8], info.size);
  putU64(&bytes[12], info.lastWriteTime);
  putU32(&bytes[20], info.productVersionLow);
  putU32(&bytes[24], static_cast<std::uint32_t>(info.productVersionHigh));
  putU32(&bytes[28], info.fileVersionLow);
  putU32(&bytes[32], static_cast<std::uint32_t>(info.fileVersionHigh));
  putU16(&bytes[36], info.attributes);
  putU16(&bytes[38], info.nameLength);
  return bytes;
}

FileInfo decodeFileInfo(const RecordHeaderBytes& bytes) {
  FileInfo info;
  info.magic = getU32(&bytes[0]);
  info.checksum = getU32(&bytes[4]);
  info.size = getU32(&bytes[8]);
  info.lastWriteTime = getU64(&bytes[12]);
  info.productVersionLow = getU32(&bytes[20]);
  info.productVersionHigh = static_cast<std::int32_t>(getU32(&bytes[24]));
  info.fileVersionLow = getU32(&bytes[28]);
  info.fileVersionHigh = static_cast<std::int32_t>(getU32(&bytes[32]));
  info.attributes = getU16(&bytes[36]);
  info.nameLength = getU16(&bytes[38]);
  return info;
}

std::string formatVersion(std::int32_t high, std::uint32_t low) {
  auto word = static_cast<std::uint32_t>(high);
  return formatText("%u.%u.%u.%u", (word >> versionPartShift) & versionPartMask, word & versionPartMask,
                    (low >> versionPartShift) & versionPartMask, low & versionPartMask);
}

bool isSafeRecordName(std::string_view name) {
  size_t last = name.find_last_of("\\/");
  return isSafeComponent(last == std::string_view::npos ? name : name.substr(last + 1));
}

bool isSafeRelativePath(std::string_view name) {
  if (name.empty() || isSeparator(name.front())) return false;
  size_t start = 0;
  for (;;) {
    size_t end = start;
    while (end < name.size() && !isSeparator(name[end])) ++end;
    if (!isSafeComponent(name.substr(start, end - start))) return false;
    if (end == name.size()) return true;
    start = end + 1;
  }
}

}  // namespace veltrace::setup
