#pragma once
// The two settings the program keeps between runs: the size of the preview's
// client area, stored as "Width" and "Height" (32-bit values) under the
// current user's "Software\Veltrace" key, used as the size the device is
// created with. Portable: what a stored value means; view_settings_registry.h
// reads and writes the key.

#include <cstdint>
#include <optional>
#include <vector>

namespace veltrace::app {

inline constexpr const char* viewSettingsKeyPath = "Software\\Veltrace";
inline constexpr const char* viewWidthValueName = "Width";
inline constexpr const char* viewHeightValueName = "Height";

struct ViewSize {
  int width = 1024;
  int height = 768;
  bool operator==(const ViewSize&) const = default;
};

inline constexpr ViewSize defaultViewSize{1024, 768};

// A side of the view outside this range is no size to create a device with:
// 0 comes from a window closed while minimised, a huge one from a value
// typed by hand.
inline constexpr int smallestViewSide = 1;
inline constexpr int largestViewSide = 16384;

bool isUsableViewSide(std::int64_t pixels);

// One value as the registry gave it: its type code and its bytes.
struct StoredValue {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> bytes;
};

// REG_DWORD, a 32-bit little-endian number (documented value).
inline constexpr std::uint32_t registryTypeDword = 4;

// The side a stored value gives, or fallback when there is none, it is not
// a 32-bit number (another type, or a size other than 4 bytes), or the
// number is no usable side (0, negative read as a signed number, absurd).
int viewSideFromStored(const std::optional<StoredValue>& stored, int fallback);

ViewSize viewSizeFromStored(const std::optional<StoredValue>& width, const std::optional<StoredValue>& height);

// The bytes of a REG_DWORD value.
StoredValue storedDword(std::uint32_t value);

}  // namespace veltrace::app
