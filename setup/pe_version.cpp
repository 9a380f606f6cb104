#include "setup/pe_version.h"

namespace veltrace::setup {

namespace {

// Image layout offsets used below (all little-endian).
constexpr std::size_t dosNewHeaderOffsetAt = 0x3C;  // e_lfanew
constexpr std::uint32_t peSignature = 0x00004550;   // "PE\0\0"
constexpr std::size_t coffHeaderSize = 20;
constexpr std::size_t coffSectionCountAt = 2;
constexpr std::size_t coffOptionalHeaderSizeAt = 16;
constexpr std::uint16_t optionalMagicPe32 = 0x10B;
constexpr std::uint16_t optionalMagicPe32Plus = 0x20B;
constexpr std::size_t pe32DirectoryCountAt = 92;
constexpr std::size_t pe32PlusDirectoryCountAt = 108;
constexpr std::size_t dataDirectorySize = 8;
constexpr std::uint32_t resourceDirectoryIndex = 2;
constexpr std::size_t sectionHeaderSize = 40;
constexpr std::size_t sectionVirtualSizeAt = 8;
constexpr std::size_t sectionVirtualAddressAt = 12;
constexpr std::size_t sectionRawSizeAt = 16;
constexpr std::size_t sectionRawPointerAt = 20;

// Resource tree: a directory is 16 bytes followed by 8-byte entries; an
// entry's second word has its top bit set when it leads to a subdirectory.
constexpr std::size_t resourceDirectoryHeaderSize = 16;
constexpr std::size_t resourceNamedCountAt = 12;
constexpr std::size_t resourceIdCountAt = 14;
constexpr std::size_t resourceEntrySize = 8;
constexpr std::uint32_t resourceSubdirectoryBit = 0x80000000u;
constexpr std::uint32_t resourceOffsetMask = 0x7FFFFFFFu;
constexpr std::uint32_t resourceTypeVersion = 16;  // RT_VERSION

// VS_VERSIONINFO: u16 length, u16 value length, u16 type, UTF-16 key
// "VS_VERSION_INFO", padding to 4 bytes, then VS_FIXEDFILEINFO.
constexpr std::size_t versionKeyAt = 6;
constexpr std::uint32_t fixedInfoSignature = 0xFEEF04BDu;
constexpr std::size_t fixedInfoSize = 52;
constexpr std::size_t fixedFileVersionMSAt = 8;
constexpr std::size_t fixedFileVersionLSAt = 12;
constexpr std::size_t fixedProductVersionMSAt = 16;
constexpr std::size_t fixedProductVersionLSAt = 20;

// A bounds-checked view of the image.
class Image {
 public:
  explicit Image(std::string_view bytes) : bytes_(bytes) {}

  bool has(std::uint64_t at, std::uint64_t length) const {
    return at <= bytes_.size() && length <= bytes_.size() - at;
  }
  std::optional<std::uint16_t> u16(std::uint64_t at) const {
    if (!has(at, 2)) return std::nullopt;
    return static_cast<std::uint16_t>(byte(at) | (byte(at + 1) << 8));
  }
  std::optional<std::uint32_t> u32(std::uint64_t at) const {
    if (!has(at, 4)) return std::nullopt;
    return std::uint32_t(byte(at)) | (std::uint32_t(byte(at + 1)) << 8) | (std::uint32_t(byte(at + 2)) << 16) |
           (std::uint32_t(byte(at + 3)) << 24);
  }

 private:
  unsigned byte(std::uint64_t at) const { return static_cast<unsigned char>(bytes_[static_cast<std::size_t>(at)]); }
  std::string_view bytes_;
};

struct Section {
  std::uint32_t virtualAddress, virtualSize, rawPointer, rawSize;
};

// Maps a relative virtual address to a file offset through the section
// table; nothing when no section's raw data holds it.
std::optional<std::uint64_t> fileOffsetOf(const Image& image, std::uint64_t sectionTable, unsigned sectionCount,
                                          std::uint32_t rva) {
  for (unsigned i = 0; i < sectionCount; ++i) {
    std::uint64_t at = sectionTable + std::uint64_t(i) * sectionHeaderSize;
    auto virtualSize = image.u32(at + sectionVirtualSizeAt);
    auto virtualAddress = image.u32(at + sectionVirtualAddressAt);
    auto rawSize = image.u32(at + sectionRawSizeAt);
    auto rawPointer = image.u32(at + sectionRawPointerAt);
    if (!virtualSize || !virtualAddress || !rawSize || !rawPointer) return std::nullopt;
    std::uint32_t extent = *virtualSize > *rawSize ? *virtualSize : *rawSize;
    if (rva >= *virtualAddress && std::uint64_t(rva) < std::uint64_t(*virtualAddress) + extent) {
      std::uint64_t delta = rva - *virtualAddress;
      if (delta >= *rawSize) return std::nullopt;
      return std::uint64_t(*rawPointer) + delta;
    }
  }
  return std::nullopt;
}

// The entry of the directory at `directory` (relative to the resource root)
// whose id is `id`, or its first entry when `id` is empty. Returns the
// entry's raw second word.
std::optional<std::uint32_t> resourceEntry(const Image& image, std::uint64_t root, std::uint32_t directory,
                                           std::optional<std::uint32_t> id) {
  std::uint64_t at = root + directory;
  auto named = image.u16(at + resourceNamedCountAt);
  auto ids = image.u16(at + resourceIdCountAt);
  if (!named || !ids) return std::nullopt;
  unsigned count = unsigned(*named) + *ids;
  for (unsigned i = 0; i < count; ++i) {
    std::uint64_t entry = at + resourceDirectoryHeaderSize + std::uint64_t(i) * resourceEntrySize;
    auto name = image.u32(entry);
    auto target = image.u32(entry + 4);
    if (!name || !target) return std::nullopt;
    if (!id || (i >= *named && *name == *id)) return *target;
  }
  return std::nullopt;
}

std::optional<VersionWords> readFixedInfo(const Image& image, std::uint64_t at, std::uint32_t size) {
  if (!image.has(at, size)) return std::nullopt;
  // The key is a NUL-terminated UTF-16 string; the value starts at the
  // next 4-byte boundary of the block.
  std::uint64_t key = at + versionKeyAt;
  std::uint64_t end = at + size;
  while (key + 2 <= end) {
    auto unit = image.u16(key);
    key += 2;
    if (!unit) return std::nullopt;
    if (*unit == 0) break;
  }
  std::uint64_t value = at + ((key - at + 3) & ~std::uint64_t(3));
  if (value + fixedInfoSize > end) return std::nullopt;
  if (image.u32(value) != fixedInfoSignature) return std::nullopt;
  VersionWords words;
  words.fileVersionMS = *image.u32(value + fixedFileVersionMSAt);
  words.fileVersionLS = *image.u32(value + fixedFileVersionLSAt);
  words.productVersionMS = *image.u32(value + fixedProductVersionMSAt);
  words.productVersionLS = *image.u32(value + fixedProductVersionLSAt);
  return words;
}

}  // namespace

std::optional<VersionWords> readPeVersion(std::string_view bytes) {
  Image image(bytes);
  if (bytes.size() < 2 || bytes[0] != 'M' || bytes[1] != 'Z') return std::nullopt;
  auto peAt = image.u32(dosNewHeaderOffsetAt);
  if (!peAt || image.u32(*peAt) != peSignature) return std::nullopt;
  std::uint64_t coff = std::uint64_t(*peAt) + 4;
  auto sectionCount = image.u16(coff + coffSectionCountAt);
  auto optionalSize = image.u16(coff + coffOptionalHeaderSizeAt);
  if (!sectionCount || !optionalSize) return std::nullopt;
  std::uint64_t optional = coff + coffHeaderSize;
  auto magic = image.u16(optional);
  if (!magic) return std::nullopt;
  std::size_t countAt;
  if (*magic == optionalMagicPe32)
    countAt = pe32DirectoryCountAt;
  else if (*magic == optionalMagicPe32Plus)
    countAt = pe32PlusDirectoryCountAt;
  else
    return std::nullopt;
  auto directoryCount = image.u32(optional + countAt);
  if (!directoryCount || *directoryCount <= resourceDirectoryIndex) return std::nullopt;
  std::uint64_t resourceDirectory = optional + countAt + 4 + resourceDirectoryIndex * dataDirectorySize;
  if (resourceDirectory + dataDirectorySize > optional + *optionalSize) return std::nullopt;
  auto resourceRva = image.u32(resourceDirectory);
  if (!resourceRva || *resourceRva == 0) return std::nullopt;

  std::uint64_t sectionTable = optional + *optionalSize;
  auto root = fileOffsetOf(image, sectionTable, *sectionCount, *resourceRva);
  if (!root) return std::nullopt;

  // Type RT_VERSION, then the first name and the first language below it.
  auto typeEntry = resourceEntry(image, *root, 0, resourceTypeVersion);
  if (!typeEntry || !(*typeEntry & resourceSubdirectoryBit)) return std::nullopt;
  auto nameEntry = resourceEntry(image, *root, *typeEntry & resourceOffsetMask, std::nullopt);
  if (!nameEntry || !(*nameEntry & resourceSubdirectoryBit)) return std::nullopt;
  auto languageEntry = resourceEntry(image, *root, *nameEntry & resourceOffsetMask, std::nullopt);
  if (!languageEntry || (*languageEntry & resourceSubdirectoryBit)) return std::nullopt;

  std::uint64_t dataEntry = *root + *languageEntry;
  auto dataRva = image.u32(dataEntry);
  auto dataSize = image.u32(dataEntry + 4);
  if (!dataRva || !dataSize) return std::nullopt;
  auto data = fileOffsetOf(image, sectionTable, *sectionCount, *dataRva);
  if (!data) return std::nullopt;
  return readFixedInfo(image, *data, *dataSize);
}

}  // namespace veltrace::setup
