// The view size in the registry under Wine, in a key of the test's own so
// the program's settings in the prefix are not touched.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/view_settings_registry.h"

namespace veltrace::app {
namespace {

constexpr const char* testKey = "Software\\Veltrace tests\\view settings";

class ViewSettingsRegistry : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteKeyA(HKEY_CURRENT_USER, testKey); }
  void TearDown() override {
    RegDeleteKeyA(HKEY_CURRENT_USER, testKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Veltrace tests");
  }

  void storeRaw(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, testKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
  }

  DWORD readRawDword(const char* name) {
    DWORD value = 0, size = sizeof value, type = 0;
    RegGetValueA(HKEY_CURRENT_USER, testKey, name, RRF_RT_ANY, &type, &value, &size);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    return value;
  }
};

TEST_F(ViewSettingsRegistry, SizeWrittenIsReadBackAsDwords) {
  ASSERT_TRUE(writeViewSize({900, 600}, testKey));
  EXPECT_EQ(readRawDword("Width"), 900u);
  EXPECT_EQ(readRawDword("Height"), 600u);
  EXPECT_EQ(readViewSize(testKey), (ViewSize{900, 600}));
}

TEST_F(ViewSettingsRegistry, MissingKeyGivesTheDefaultAndIsCreated) {
  EXPECT_EQ(readViewSize(testKey), (ViewSize{1024, 768}));
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, testKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  if (key) RegCloseKey(key);
}

TEST_F(ViewSettingsRegistry, ValuesOfTheWrongTypeOrSizeFallBack) {
  storeRaw("Width", REG_SZ, "900", 4);
  DWORD absurd = 100000;
  storeRaw("Height", REG_DWORD, &absurd, sizeof absurd);
  EXPECT_EQ(readViewSize(testKey), (ViewSize{1024, 768}));
}

TEST_F(ViewSettingsRegistry, MinimisedSizeIsNotWrittenOverTheLastUsableOne) {
  ASSERT_TRUE(writeViewSize({900, 600}, testKey));
  EXPECT_FALSE(writeViewSize({0, 0}, testKey));
  EXPECT_EQ(readViewSize(testKey), (ViewSize{900, 600}));
}

}  // namespace
}  // namespace veltrace::app
