#include "panes/states/textures_pane.h"

#include <gtest/gtest.h>

#include <map>

using namespace veltrace;

namespace {

// Every file under C:\tex is a 256 x 256 texture of 32 bits per pixel with a
// full mip chain, except the ones named "gone"; other paths fail.
class FakeLoader : public TextureLoader {
 public:
  int alive = 0;
  std::optional<LoadedTexture> load(const std::string& path) override {
    if (path.rfind("C:\\tex\\", 0) != 0 || path.find("gone") != std::string::npos) return std::nullopt;
    ++alive;
    return LoadedTexture{reinterpret_cast<DeviceTexture*>(static_cast<std::uintptr_t>(0x1000 + alive)), 349524, 256,
                         256, 256 * 256 * 4};
  }
  void release(DeviceTexture*) override { --alive; }
};

struct TexturesPaneTest : ::testing::Test {
  FakeLoader loader;
  MessageLog log;
  TextureStore store{loader, log};
  Effect effect;

  TexturesPaneTest() {
    store.setFolder("C:\\tex");
    effect.textureStages.bumpStage = 1;
    effect.textureStages.textures = {{"stone.bmp", "C:\\tex\\stone.bmp", 0, 0},
                                     {"wood.bmp", "C:\\tex\\wood.bmp", 0, -1}};
  }

  int useCount(const std::string& name) const {
    for (const auto& entry : store.entries())
      if (entry.name == name) return entry.useCount;
    return 0;
  }
  std::vector<std::string> column(const TexturesPane& pane, TexturesPane::Column which) const {
    std::vector<std::string> cells;
    for (const auto& row : pane.rows()) cells.push_back(row.cell(which));
    return cells;
  }
};

}  // namespace

TEST_F(TexturesPaneTest, RowsAreTheMaterialTexturesTheSeparatorAndTheSlots) {
  TexturesPane pane(effect, store, log);
  pane.shown();
  using C = TexturesPane::Column;
  EXPECT_EQ(column(pane, C::texture),
            (std::vector<std::string>{"Material Base Texture", "Material Bump Texture", "Material Alpha Texture",
                                      "---------------------------------------------------------", "stone.bmp",
                                      "wood.bmp"}));
  EXPECT_EQ(column(pane, C::stage), (std::vector<std::string>{"Please choose ...", "1", "Please choose ...",
                                                              "-----------------------------------", "0", ""}));
  EXPECT_EQ(pane.rows()[4].cell(C::width), "256 px");
  EXPECT_EQ(pane.rows()[4].cell(C::height), "256 px");
  EXPECT_EQ(pane.rows()[4].cell(C::size), "262.14 kB");
  EXPECT_EQ(pane.rows()[1].cell(C::size), "");
}

TEST_F(TexturesPaneTest, ColumnsAndStageChoices) {
  const auto columns = TexturesPane::columns(630);
  EXPECT_EQ(columns[0].title, "Texture");
  EXPECT_EQ(columns[0].width, 230);
  EXPECT_EQ(columns[1].width, 157);
  EXPECT_EQ(columns[4].title, "Size");
  EXPECT_EQ(columns[4].width, 90);
  EXPECT_EQ(TexturesPane::stageChoices(),
            (std::vector<std::string>{"Clear", "0", "1", "2", "3", "4", "5", "6", "7"}));
}

TEST_F(TexturesPaneTest, StageChoicesSetTheRowsStage) {
  struct Case {
    int row;
    int choice;  // index into the drop-down
    std::string cell;
  };
  const Case cases[] = {{1, 3, "2"}, {1, 0, ""}, {0, 1, "0"}, {2, 8, "7"}, {5, 5, "4"}, {4, 0, ""}};
  TexturesPane pane(effect, store, log);
  pane.shown();
  for (const Case& c : cases) {
    ASSERT_TRUE(pane.cellClicked(c.row, TexturesPane::stageColumn));
    pane.stageChosen(c.choice);
    EXPECT_EQ(pane.rows()[size_t(c.row)].cell(TexturesPane::Column::stage), c.cell) << c.row;
  }
  const TextureStageTable& table = effect.textureStages;
  EXPECT_EQ(table.bumpStage, noStage);
  EXPECT_EQ(table.baseStage, 0);
  EXPECT_EQ(table.alphaStage, 7);
  EXPECT_EQ(table.textures[1].stage, 4);
  EXPECT_EQ(table.textures[0].stage, noStage);
}

TEST_F(TexturesPaneTest, TheSeparatorAndOtherColumnsOpenNoDropDown) {
  TexturesPane pane(effect, store, log);
  pane.shown();
  EXPECT_FALSE(pane.cellClicked(TexturesPane::separatorRow, TexturesPane::stageColumn));
  EXPECT_FALSE(pane.cellClicked(4, 0));
  EXPECT_FALSE(pane.cellClicked(9, TexturesPane::stageColumn));
  EXPECT_FALSE(pane.rowRightClicked(2));
  EXPECT_TRUE(pane.rowRightClicked(5));
}

TEST_F(TexturesPaneTest, DeleteRefusesMaterialRowsAndSeveralSelectedRows) {
  TexturesPane pane(effect, store, log);
  pane.shown();
  pane.cellClicked(1, 0);
  pane.deleteTexture(1);
  pane.cellClicked(4, 0);
  pane.deleteTexture(2);
  pane.deleteTexture(0);
  EXPECT_EQ(log.takePending(), (std::vector<std::string>{"Texture not deleted - it is set by Material",
                                                         "Error: Multiple Textures selected !"}));
  EXPECT_EQ(effect.textureStages.textures.size(), 2u);
  EXPECT_FALSE(pane.takeSceneInfoRefresh());
}

TEST_F(TexturesPaneTest, DeleteRemovesTheSlotItsRowAndItsTextureUse) {
  TexturesPane pane(effect, store, log);
  pane.shown();
  ASSERT_EQ(useCount("stone.bmp"), 1);
  ASSERT_TRUE(pane.rowRightClicked(4));
  pane.deleteTexture(1);
  EXPECT_EQ(log.takePending(), (std::vector<std::string>{"Texture \"stone.bmp\" deleted ..."}));
  ASSERT_EQ(effect.textureStages.textures.size(), 1u);
  EXPECT_EQ(effect.textureStages.textures[0].name, "wood.bmp");
  EXPECT_EQ(pane.rows().size(), 5u);
  EXPECT_EQ(pane.rows()[4].cell(TexturesPane::Column::texture), "wood.bmp");
  EXPECT_EQ(useCount("stone.bmp"), 0);
  EXPECT_TRUE(pane.takeSceneInfoRefresh());
}

TEST_F(TexturesPaneTest, DeletingTheSecondOfTwoSlotsOfOneFileRemovesThatSlot) {
  effect.textureStages.textures.push_back({"stone.bmp", "C:\\tex\\stone.bmp", 0, 5});
  TexturesPane pane(effect, store, log);
  pane.shown();
  EXPECT_EQ(useCount("stone.bmp"), 2);
  pane.cellClicked(6, 0);
  pane.deleteTexture(1);
  ASSERT_EQ(effect.textureStages.textures.size(), 2u);
  EXPECT_EQ(effect.textureStages.textures[0].stage, 0);
  EXPECT_EQ(useCount("stone.bmp"), 1);
}

TEST_F(TexturesPaneTest, LoadAppendsASlotWaitingForAStage) {
  TexturesPane pane(effect, store, log);
  pane.shown();
  pane.textureFileChosen("C:\\tex\\sub\\marble.png");
  const TextureSlot& slot = effect.textureStages.textures.back();
  EXPECT_EQ(slot.name, "marble.png");
  EXPECT_EQ(slot.path, "C:\\tex\\sub\\marble.png");
  EXPECT_EQ(slot.stage, noStage);
  EXPECT_EQ(pane.rows().back().cells,
            (std::array<std::string, 5>{"marble.png", "Please choose ...", "256 px", "256 px", "262.14 kB"}));
  EXPECT_TRUE(pane.takeSceneInfoRefresh());
  EXPECT_FALSE(pane.takeSceneInfoRefresh());
  pane.cellClicked(6, 0);
  EXPECT_EQ(pane.currentTexturePath(), "C:\\tex\\sub\\marble.png");
}

TEST_F(TexturesPaneTest, UseCountsStayBalancedHoweverOftenThePaneIsShown) {
  {
    TexturesPane pane(effect, store, log);
    for (int showing = 0; showing < 10; ++showing) {
      pane.shown();
      pane.hidden();
    }
    EXPECT_EQ(useCount("stone.bmp"), 1);
    EXPECT_EQ(useCount("wood.bmp"), 1);
  }
  EXPECT_TRUE(store.entries().empty());
  EXPECT_EQ(loader.alive, 0);
  EXPECT_EQ(store.totalBytes(), 0);
}

TEST_F(TexturesPaneTest, AMissingFileShowsTheDefaultAndIsGivenBackLikeAnyOther) {
  effect.textureStages.textures.push_back({"gone.bmp", "D:\\gone.bmp", 0, -1});
  {
    TexturesPane pane(effect, store, log);
    pane.shown();
    pane.shown();
    EXPECT_EQ(log.takePending().size(), 1u);  // "Can't load texture ..." once
    EXPECT_EQ(pane.rows()[6].cell(TexturesPane::Column::width), "256 px");
    EXPECT_EQ(useCount("gone.bmp"), 1);
  }
  EXPECT_EQ(loader.alive, 0);
}

TEST_F(TexturesPaneTest, SlotsRemovedElsewhereAreGivenBackOnTheNextShowing) {
  TexturesPane pane(effect, store, log);
  pane.shown();
  effect.textureStages.textures.pop_back();
  pane.shown();
  EXPECT_EQ(useCount("wood.bmp"), 0);
  EXPECT_EQ(useCount("stone.bmp"), 1);
}

TEST_F(TexturesPaneTest, OnlyTheSelectedStagesPageIsVisibleWhileShown) {
  TexturesPane pane(effect, store, log);
  EXPECT_EQ(pane.visiblePage(), -1);
  pane.shown();
  EXPECT_EQ(pane.visiblePage(), 0);
  pane.tabChanging();
  EXPECT_EQ(pane.visiblePage(), -1);
  pane.tabChanged(3);
  EXPECT_EQ(pane.visiblePage(), 3);
  pane.hidden();
  EXPECT_FALSE(pane.pagesExist());
  EXPECT_EQ(pane.visiblePage(), -1);
  pane.shown();
  EXPECT_EQ(pane.visiblePage(), 3);
}

TEST_F(TexturesPaneTest, ResizingFollowsOnlyAboveTheLeastSize) {
  TexturesPane pane(effect, store, log, 600, 520);
  EXPECT_FALSE(pane.resizeTracker().resized(580, 700).has_value());
  EXPECT_FALSE(pane.resizeTracker().resized(700, 500).has_value());
  auto change = pane.resizeTracker().resized(640, 600);
  ASSERT_TRUE(change.has_value());
  EXPECT_EQ(change->height, 80);
  change = pane.resizeTracker().resized(640, 560);
  EXPECT_EQ(change->height, -40);
}
