#include <gtest/gtest.h>

#include "app/view_settings.h"

namespace veltrace::app {
namespace {

struct StoredCase {
  const char* what;
  std::optional<StoredValue> stored;
  int expected;
};

TEST(ViewSettings, StoredValuesGiveTheSideOrTheFallback) {
  const StoredValue text{1 /* REG_SZ */, {'9', '0', '0', 0}};
  const StoredValue bigEndian{5 /* REG_DWORD_BIG_ENDIAN */, {0, 0, 3, 0x84}};
  const StoredValue shortDword{registryTypeDword, {0x84, 0x03}};
  const StoredValue qword{11 /* REG_QWORD */, {0x84, 0x03, 0, 0, 0, 0, 0, 0}};
  const StoredValue longDword{registryTypeDword, {0x84, 0x03, 0, 0, 0}};
  const StoredCase cases[] = {
      {"900 as REG_DWORD", storedDword(900), 900},
      {"the smallest side", storedDword(1), 1},
      {"the largest side", storedDword(16384), 16384},
      {"absent", std::nullopt, 640},
      {"0 (closed while minimised)", storedDword(0), 640},
      {"negative", storedDword(static_cast<std::uint32_t>(-600)), 640},
      {"absurd", storedDword(100000), 640},
      {"just too large", storedDword(16385), 640},
      {"all bits set", storedDword(0xFFFFFFFFu), 640},
      {"text", text, 640},
      {"big-endian number", bigEndian, 640},
      {"two bytes only", shortDword, 640},
      {"five bytes", longDword, 640},
      {"64-bit number", qword, 640},
      {"empty", StoredValue{registryTypeDword, {}}, 640},
  };
  for (const auto& c : cases) EXPECT_EQ(viewSideFromStored(c.stored, 640), c.expected) << c.what;
}

TEST(ViewSettings, NothingStoredGives1024By768) {
  EXPECT_EQ(viewSizeFromStored(std::nullopt, std::nullopt), (ViewSize{1024, 768}));
  EXPECT_EQ(defaultViewSize, (ViewSize{1024, 768}));
}

TEST(ViewSettings, EachSideFallsBackOnItsOwn) {
  EXPECT_EQ(viewSizeFromStored(storedDword(900), storedDword(0)), (ViewSize{900, 768}));
  EXPECT_EQ(viewSizeFromStored(storedDword(100000), storedDword(600)), (ViewSize{1024, 600}));
}

TEST(ViewSettings, DwordBytesAreLittleEndian) {
  StoredValue stored = storedDword(0x12345678);
  EXPECT_EQ(stored.type, registryTypeDword);
  EXPECT_EQ(stored.bytes, (std::vector<std::uint8_t>{0x78, 0x56, 0x34, 0x12}));
}

}  // namespace
}  // namespace veltrace::app
