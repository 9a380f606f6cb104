#include "render/texture/d3d_texture_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "base/files.h"
#include "tests/support/d3d_test_device.h"
#include "tests/support/temp_folder.h"
#include "tests/texture/image_files.h"

using namespace veltrace;

namespace {

std::string writeFile(const test::TempFolder& folder, const std::string& name, const std::vector<std::uint8_t>& bytes) {
  std::string path = folder.corePath() + "\\" + name;
  std::ofstream(nativePath(path), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return path;
}

}  // namespace

TEST(TextureFromFile, CreatesAManagedTextureWithEveryLevelAndItsPixels) {
  test::D3DTestDevice device;
  if (!device.device()) GTEST_SKIP() << device.problem();
  test::TempFolder folder;
  std::string path = writeFile(folder, "red.bmp", test::bmp24(4, 4, std::vector<std::uint32_t>(16, 0xFF2010)));

  IDirect3DTexture8* texture = nullptr;
  ASSERT_EQ(createTextureFromFile(device.device(), path, &texture), D3D_OK);
  EXPECT_EQ(texture->GetLevelCount(), 3u);
  D3DSURFACE_DESC description{};
  texture->GetLevelDesc(0, &description);
  EXPECT_EQ(description.Format, D3DFMT_X8R8G8B8);
  EXPECT_EQ(description.Pool, D3DPOOL_MANAGED);
  EXPECT_EQ(textureBytes(texture), 4u * (16 + 4 + 1));

  D3DLOCKED_RECT locked{};
  ASSERT_EQ(texture->LockRect(2, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
  EXPECT_EQ(*static_cast<const DWORD*>(locked.pBits) & 0xFFFFFF, 0xFF2010u);
  texture->UnlockRect(2);
  texture->Release();
  EXPECT_EQ(device.releaseDevice(), 0u);
}

TEST(TextureFromFile, FailsForMissingAndUndecodableFiles) {
  test::D3DTestDevice device;
  if (!device.device()) GTEST_SKIP() << device.problem();
  test::TempFolder folder;
  IDirect3DTexture8* texture = reinterpret_cast<IDirect3DTexture8*>(1);
  EXPECT_TRUE(FAILED(createTextureFromFile(device.device(), folder.corePath() + "\\none.bmp", &texture)));
  EXPECT_EQ(texture, nullptr);
  std::string garbage = writeFile(folder, "garbage.png", {1, 2, 3, 4, 5});
  EXPECT_TRUE(FAILED(createTextureFromFile(device.device(), garbage, &texture)));
}

TEST(TextureStoreOnDevice, MissingFilesGetTheDefaultTextureAndEverythingIsReleased) {
  test::D3DTestDevice device;
  if (!device.device()) GTEST_SKIP() << device.problem();
  test::TempFolder folder;
  writeFile(folder, "texture_not_found.bmp", test::bmp24(2, 2, std::vector<std::uint32_t>(4, 0xFF00FF)));
  std::string stone = writeFile(folder, "stone.tga", test::tga32(8, 8, std::vector<std::uint32_t>(64, 0x80808080)));

  D3DTextureLoader loader(device.device());
  MessageLog log;
  {
    TextureStore store(loader, log);
    store.setFolder(folder.corePath());
    ASSERT_NE(store.acquire(stone), nullptr);
    ASSERT_NE(store.acquire("\\nowhere\\lost.bmp"), nullptr);
    EXPECT_EQ(log.pending().size(), 1u);
    EXPECT_EQ(store.totalBytes(), int(4 * (64 + 16 + 4 + 1) + 4 * (4 + 1)));
  }
  EXPECT_EQ(device.releaseDevice(), 0u) << "textures left alive";
}
