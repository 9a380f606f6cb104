#include "panes/states/stream_mapping_pane.h"

#include <gtest/gtest.h>

#include "effect/effect_factory.h"

using namespace veltrace;

namespace {

struct StreamMappingPaneTest : ::testing::Test {
  Effect effect;
  StreamMappingPane pane{effect};
  StreamMappingPaneTest() {
    effect.streamMapping = createStreamMapping();
    effect.shadersChanged = false;
    pane.shown();
  }
  // Clicks the register cell of a row and picks an entry of the chooser.
  void choose(int row, int selected) {
    ASSERT_TRUE(pane.cellClicked(row, StreamMappingPane::registerColumn));
    pane.chooserClosed(selected);
  }
};

}  // namespace

TEST_F(StreamMappingPaneTest, RowsShowNameTypeAndRegister) {
  ASSERT_EQ(pane.rows().size(), 5u);
  EXPECT_EQ(pane.rows()[2].dataName, "TexCoord");
  EXPECT_EQ(pane.rows()[2].dataType, "Float2");
  EXPECT_EQ(pane.rows()[2].registerText, "v7");
  EXPECT_EQ(pane.rows()[4].registerText, "v9");
}

TEST_F(StreamMappingPaneTest, ChooserOffersV0ToV15AndColumnsFollowTheListWidth) {
  const auto choices = StreamMappingPane::registerChoices();
  ASSERT_EQ(choices.size(), 16u);
  EXPECT_EQ(choices.front(), "v0");
  EXPECT_EQ(choices.back(), "v15");
  const auto columns = StreamMappingPane::columns(400);
  EXPECT_EQ(columns[0].title, "Vertice Data");
  EXPECT_EQ(columns[0].width, 110);
  EXPECT_EQ(columns[1].title, "Data Type");
  EXPECT_EQ(columns[2].title, "Map to Register");
  EXPECT_EQ(columns[2].width, 143);
}

TEST_F(StreamMappingPaneTest, OnlyTheRegisterColumnOpensTheChooser) {
  EXPECT_FALSE(pane.cellClicked(1, 0));
  EXPECT_FALSE(pane.cellClicked(1, 1));
  EXPECT_FALSE(pane.cellClicked(5, 2));  // below the last row
  EXPECT_FALSE(pane.chooserOpen());
  EXPECT_TRUE(pane.cellClicked(1, 2));
  EXPECT_TRUE(pane.chooserOpen());
}

TEST_F(StreamMappingPaneTest, ChoosingV9ForTexCoordRebuildsTheDeclarationAtOnce) {
  choose(2, 9);
  EXPECT_EQ(pane.rows()[2].registerText, "v9");
  EXPECT_EQ(effect.streamMapping.entries[2].inputRegister, 9);
  EXPECT_EQ(effect.streamMapping.declaration[3], 0x40010009u);
  EXPECT_TRUE(effect.shadersChanged);
  EXPECT_FALSE(pane.chooserOpen());
}

TEST_F(StreamMappingPaneTest, ClosingWithoutAChoiceChangesNothing) {
  const auto declaration = effect.streamMapping.declaration;
  choose(2, -1);
  choose(2, 16);  // not an entry of the chooser
  EXPECT_EQ(effect.streamMapping.entries[2].inputRegister, 7);
  EXPECT_EQ(effect.streamMapping.declaration, declaration);
  EXPECT_FALSE(effect.shadersChanged);
}

TEST_F(StreamMappingPaneTest, TwoEntriesOnOneRegisterAreKept) {
  choose(1, 0);
  EXPECT_EQ(effect.streamMapping.entries[0].inputRegister, 0);
  EXPECT_EQ(effect.streamMapping.entries[1].inputRegister, 0);
  EXPECT_EQ(effect.streamMapping.declaration[2], 0x40020000u);
}

TEST_F(StreamMappingPaneTest, OkAppliesEvenWhenNothingChanged) {
  pane.ok();
  EXPECT_TRUE(effect.shadersChanged);
}

TEST_F(StreamMappingPaneTest, ShowingAgainReadsTheEffect) {
  effect.streamMapping.entries[0].inputRegister = 4;
  EXPECT_EQ(pane.rows()[0].registerText, "v0");
  pane.hidden();
  EXPECT_EQ(pane.rows()[0].registerText, "v4");
}
