#include "render/texture/texture_store.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace veltrace;

namespace {

// Loads any path listed in `files`; each load makes a new distinct texture.
class FakeLoader : public TextureLoader {
 public:
  std::set<std::string> files;
  std::vector<std::string> attempts;
  std::set<DeviceTexture*> alive;

  std::optional<LoadedTexture> load(const std::string& path) override {
    attempts.push_back(path);
    if (!files.count(path)) return std::nullopt;
    auto* texture = reinterpret_cast<DeviceTexture*>(++next_);
    alive.insert(texture);
    return LoadedTexture{texture, 1000};
  }
  void release(DeviceTexture* texture) override { EXPECT_EQ(alive.erase(texture), 1u) << "released twice"; }

 private:
  std::uintptr_t next_ = 0x1000;
};

struct TextureStoreTest : ::testing::Test {
  FakeLoader loader;
  MessageLog log;
  TextureStore store{loader, log};
  TextureStoreTest() {
    store.setProgramFolder("C:\\prog");
    store.setFolder("C:\\prog\\media\\textures");
    loader.files = {"C:\\prog\\media\\textures\\texture_not_found.bmp", "C:\\prog\\media\\textures\\stone.bmp",
                    "D:\\art\\wood.bmp", "E:\\other\\wood.bmp"};
  }
};

}  // namespace

TEST_F(TextureStoreTest, FolderGetsATrailingBackslash) {
  EXPECT_EQ(store.folder(), "C:\\prog\\media\\textures\\");
  store.setFolder("x/");
  EXPECT_EQ(store.folder(), "x/");
}

TEST_F(TextureStoreTest, AcquiringTheSamePathTwiceLoadsOnceAndCountsTwoUses) {
  DeviceTexture* first = store.acquire("D:\\art\\wood.bmp");
  DeviceTexture* second = store.acquire("D:\\art\\wood.bmp");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  ASSERT_EQ(store.entries().size(), 1u);
  EXPECT_EQ(store.entries()[0].useCount, 2);
  EXPECT_EQ(loader.attempts.size(), 1u);
  EXPECT_EQ(store.totalBytes(), 1000);
}

TEST_F(TextureStoreTest, SameFileNameInAnotherFolderSharesTheFirstTexture) {
  DeviceTexture* first = store.acquire("D:\\art\\wood.bmp");
  EXPECT_EQ(store.acquire("E:\\other\\wood.bmp"), first);
  EXPECT_EQ(store.entries()[0].path, "D:\\art\\wood.bmp");
}

TEST_F(TextureStoreTest, FallsBackToTheTextureFolderThenToTheDefaultWithOneMessage) {
  EXPECT_NE(store.acquire("Z:\\gone\\stone.bmp"), nullptr);
  EXPECT_EQ(store.entries().back().path, "C:\\prog\\media\\textures\\stone.bmp");
  EXPECT_TRUE(log.pending().empty());

  DeviceTexture* missing = store.acquire("Z:\\gone\\missing.tga");
  ASSERT_NE(missing, nullptr);
  ASSERT_EQ(log.pending().size(), 1u);
  EXPECT_EQ(log.pending()[0],
            "Can't load texture \"missing.tga\" - using default texture \"texture_not_found.bmp\" instead ...");
  EXPECT_EQ(store.entries().back().name, "missing.tga");
  EXPECT_EQ(store.acquire("Z:\\gone\\missing.tga"), missing);
  EXPECT_EQ(log.pending().size(), 1u);
}

TEST_F(TextureStoreTest, ProgramFolderRelativePathsArePrefixed) {
  loader.files.insert("C:\\prog\\effects\\toon.bmp");
  EXPECT_NE(store.acquire("\\effects\\toon.bmp"), nullptr);
  EXPECT_EQ(store.entries()[0].path, "C:\\prog\\effects\\toon.bmp");
}

TEST_F(TextureStoreTest, NetworkPathsAreLoadedWhereTheyPoint) {
  loader.files.insert("\\\\server\\art\\marble.bmp");
  EXPECT_NE(store.acquire("\\\\server\\art\\marble.bmp"), nullptr);
  ASSERT_EQ(store.entries().size(), 1u);
  EXPECT_EQ(store.entries()[0].path, "\\\\server\\art\\marble.bmp");
  EXPECT_TRUE(log.pending().empty());
}

TEST_F(TextureStoreTest, NoTextureWhenEvenTheDefaultIsMissing) {
  loader.files.clear();
  EXPECT_EQ(store.acquire("a.bmp"), nullptr);
  EXPECT_TRUE(store.entries().empty());
  EXPECT_EQ(log.pending().size(), 1u);
}

TEST_F(TextureStoreTest, ReleaseCountsDownAndFreesAtZero) {
  store.acquire("D:\\art\\wood.bmp");
  store.acquire("D:\\art\\wood.bmp");
  store.acquire("C:\\prog\\media\\textures\\stone.bmp");
  EXPECT_FALSE(store.release("nothing.bmp"));
  EXPECT_EQ(store.entries().size(), 2u);

  EXPECT_TRUE(store.release("anything\\wood.bmp"));
  EXPECT_EQ(store.entries()[0].useCount, 1);
  EXPECT_EQ(loader.alive.size(), 2u);
  EXPECT_TRUE(store.release("wood.bmp"));
  ASSERT_EQ(store.entries().size(), 1u);
  EXPECT_EQ(store.entries()[0].name, "stone.bmp");
  EXPECT_EQ(store.totalBytes(), 1000);

  store.releaseAll();
  EXPECT_TRUE(store.entries().empty());
  EXPECT_TRUE(loader.alive.empty());
  EXPECT_EQ(store.totalBytes(), 0);
}
