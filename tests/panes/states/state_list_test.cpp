#include "panes/states/state_list.h"

#include <gtest/gtest.h>

#include <cmath>

#include "panes/states/state_panes.h"
#include "panes/states/textures_pane.h"
#include "tests/effect/effect_test_support.h"

using namespace veltrace;

namespace {

StateEntry entryOf(StateValueType type, bool isSet, float number, std::string text,
                   std::vector<StateEnumerant> enumerants = {}) {
  StateEntry entry;
  entry.name = "STATE";
  entry.valueType = type;
  entry.isSet = isSet;
  entry.numericValue = number;
  entry.textValue = std::move(text);
  entry.enumerants = std::move(enumerants);
  return entry;
}

struct RenderStatesTest : ::testing::Test {
  Effect effect = test::newShippedEffect();
  RenderStatesPane pane{effect};
  RenderStatesTest() { pane.shown(); }

  int rowOf(const std::string& name) const {
    for (size_t row = 0; row < effect.renderStates.size(); ++row)
      if (effect.renderStates[row].name == name) return static_cast<int>(row);
    ADD_FAILURE() << name;
    return -1;
  }
  const StateEntry& state(const std::string& name) const { return *findState(effect.renderStates, name); }
  const std::string& cell(const std::string& name) const { return pane.list().rows()[size_t(rowOf(name))].value; }
  // Chooses entry `selected` in the drop-down of the named state.
  void choose(const std::string& name, int selected) {
    ASSERT_EQ(pane.cellClicked(rowOf(name), StateList::valueColumn, MouseButton::left), StateEditorKind::dropDown);
    pane.list().dropDownClosed(selected);
  }
  void type(const std::string& name, const std::string& text) {
    ASSERT_EQ(pane.cellClicked(rowOf(name), StateList::valueColumn, MouseButton::right), StateEditorKind::textField);
    pane.list().enterPressed(text);
  }
  std::vector<std::string> selectedNames(const std::string& name) const {
    std::vector<std::string> names;
    for (const auto& enumerant : state(name).enumerants)
      if (enumerant.selected) names.push_back(enumerant.name);
    return names;
  }
};

}  // namespace

TEST(StateListValueText, FollowsTheValueType) {
  const std::vector<StateEnumerant> none = {{"A", 1, false}, {"B", 2, false}};
  const std::vector<StateEnumerant> second = {{"A", 1, false}, {"B", 2, true}};
  struct Case {
    StateEntry entry;
    std::string text;
  };
  const Case cases[] = {
      {entryOf(StateValueType::enumeration, false, 0, "", none), "..."},
      {entryOf(StateValueType::enumeration, false, 0, "", second), "B"},
      {entryOf(StateValueType::boolean, true, 0, "", {{"TRUE", 1, true}, {"FALSE", 0, false}}), "TRUE"},
      {entryOf(StateValueType::enumeration, false, 0, "", {}), "..."},
      {entryOf(StateValueType::real, true, 1.5f, ""), "1.50000"},
      {entryOf(StateValueType::real, false, 1.5f, ""), ""},
      {entryOf(StateValueType::integer, true, 2.9f, ""), "2"},
      {entryOf(StateValueType::integer, true, -2.9f, ""), "-2"},
      {entryOf(StateValueType::integer, false, 2.0f, ""), ""},
      {entryOf(StateValueType::mask, true, 0, "0x0000FFFF"), "0x0000FFFF"},
      {entryOf(StateValueType::colour, true, 0, "any text"), "any text"},
      {entryOf(StateValueType::colour, false, 0, "0x00000000"), ""},
      {entryOf(StateValueType::unknown, true, 3, "x"), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(StateList::valueText(c.entry), c.text) << stateValueTypeName(c.entry.valueType);
}

TEST_F(RenderStatesTest, RowsFollowTheCatalogueWithTheNewEffectsChoices) {
  const auto& rows = pane.list().rows();
  ASSERT_EQ(rows.size(), 76u);
  EXPECT_EQ(rows[0].name, "D3DRS_SRCBLEND");
  EXPECT_EQ(rows[0].value, "...");
  EXPECT_EQ(cell("D3DRS_CULLMODE"), "D3DCULL_CW");
  EXPECT_EQ(cell("D3DRS_ALPHATESTENABLE"), "TRUE");
  EXPECT_EQ(cell("D3DRS_ZBIAS"), "");
  EXPECT_EQ(cell("D3DRS_ALPHAREF"), "");
  EXPECT_EQ(cell("D3DRS_CLIPPLANEENABLE"), "");
}

TEST_F(RenderStatesTest, ColumnsAndTheirWidths) {
  const auto columns = RenderStatesPane::columns(301);
  EXPECT_EQ(columns[0].title, "Renderstate");
  EXPECT_EQ(columns[0].width, 123);
  EXPECT_EQ(columns[1].title, "Value");
  EXPECT_EQ(columns[1].width, 151);
  const auto stage = TextureStagePage::columns(301);
  EXPECT_EQ(stage[0].title, "TextureState");
  EXPECT_EQ(stage[0].width, 100);
  EXPECT_EQ(stage[1].width, 150);
}

TEST_F(RenderStatesTest, TheDropDownOffersNotSetAndEveryEnumerant) {
  ASSERT_EQ(pane.cellClicked(rowOf("D3DRS_CULLMODE"), 1, MouseButton::left), StateEditorKind::dropDown);
  EXPECT_EQ(pane.list().dropDownEntries(), (std::vector<std::string>{"...", "D3DCULL_NONE", "D3DCULL_CW", "D3DCULL_CCW"}));
}

TEST_F(RenderStatesTest, ChoosingNotSetForCullModeLeavesNothingSelected) {
  choose("D3DRS_CULLMODE", 0);
  EXPECT_TRUE(selectedNames("D3DRS_CULLMODE").empty());
  EXPECT_FALSE(stateIsSet(state("D3DRS_CULLMODE")));
  EXPECT_EQ(cell("D3DRS_CULLMODE"), "...");
  EXPECT_EQ(pane.list().openEditor(), StateEditorKind::none);
}

TEST_F(RenderStatesTest, ChoosingCounterClockwiseAfterClockwiseLeavesOnlyIt) {
  choose("D3DRS_CULLMODE", 3);
  EXPECT_EQ(selectedNames("D3DRS_CULLMODE"), (std::vector<std::string>{"D3DCULL_CCW"}));
  EXPECT_EQ(cell("D3DRS_CULLMODE"), "D3DCULL_CCW");
  choose("D3DRS_CULLMODE", -1);  // closed without a choice
  EXPECT_EQ(selectedNames("D3DRS_CULLMODE"), (std::vector<std::string>{"D3DCULL_CCW"}));
}

TEST_F(RenderStatesTest, ABoolStateIsChosenLikeAnEnumeration) {
  choose("D3DRS_LIGHTING", 2);
  EXPECT_EQ(selectedNames("D3DRS_LIGHTING"), (std::vector<std::string>{"FALSE"}));
  choose("D3DRS_LIGHTING", 1);
  EXPECT_EQ(selectedNames("D3DRS_LIGHTING"), (std::vector<std::string>{"TRUE"}));
}

TEST_F(RenderStatesTest, AnIntTypedAsTwoAndAHalfShowsSoUntilTheListIsRebuilt) {
  type("D3DRS_CLIPPLANEENABLE", "2.5");
  EXPECT_EQ(state("D3DRS_CLIPPLANEENABLE").numericValue, 2.5f);
  EXPECT_TRUE(state("D3DRS_CLIPPLANEENABLE").isSet);
  EXPECT_EQ(cell("D3DRS_CLIPPLANEENABLE"), "2.5");
  pane.shown();
  EXPECT_EQ(cell("D3DRS_CLIPPLANEENABLE"), "2");
}

TEST_F(RenderStatesTest, TheTextFieldOffersTheStoredValueEvenWhenNotSet) {
  ASSERT_EQ(pane.cellClicked(rowOf("D3DRS_FOGEND"), 1, MouseButton::left), StateEditorKind::textField);
  EXPECT_EQ(pane.list().fieldText(), "1.00000");
  ASSERT_EQ(pane.cellClicked(rowOf("D3DRS_FOGCOLOR"), 1, MouseButton::left), StateEditorKind::textField);
  EXPECT_EQ(pane.list().fieldText(), "0x00000000");
}

TEST_F(RenderStatesTest, ClearingAFloatRemovesItFromTheEffect) {
  type("D3DRS_FOGSTART", "3");
  ASSERT_TRUE(state("D3DRS_FOGSTART").isSet);
  type("D3DRS_FOGSTART", "");
  EXPECT_FALSE(state("D3DRS_FOGSTART").isSet);
  EXPECT_EQ(cell("D3DRS_FOGSTART"), "");
  pane.shown();
  EXPECT_EQ(cell("D3DRS_FOGSTART"), "");
}

TEST_F(RenderStatesTest, NumbersAreReadFromTheStartOfTheText) {
  struct Case {
    std::string text;
    float value;
  };
  const Case cases[] = {{"3.5abc", 3.5f}, {"abc", 0.0f}, {" -2", -2.0f}, {"1e3", 1000.0f},
                        {".25", 0.25f},   {"", 0.0f}};
  for (const Case& c : cases) {
    type("D3DRS_FOGDENSITY", c.text);
    EXPECT_FLOAT_EQ(state("D3DRS_FOGDENSITY").numericValue, c.value) << c.text.substr(0, 10);
    EXPECT_EQ(cell("D3DRS_FOGDENSITY"), c.text);
  }
  const std::string huge(5000, '7');
  type("D3DRS_FOGDENSITY", huge);
  EXPECT_TRUE(std::isfinite(state("D3DRS_FOGDENSITY").numericValue));
  EXPECT_EQ(cell("D3DRS_FOGDENSITY"), huge);
}

TEST_F(RenderStatesTest, MasksAndColoursAreStoredAsTyped) {
  type("D3DRS_TEXTUREFACTOR", "0xFF00FF00 and more");
  EXPECT_EQ(state("D3DRS_TEXTUREFACTOR").textValue, "0xFF00FF00 and more");
  EXPECT_TRUE(state("D3DRS_TEXTUREFACTOR").isSet);
  EXPECT_EQ(cell("D3DRS_TEXTUREFACTOR"), "0xFF00FF00 and more");
}

TEST_F(RenderStatesTest, EscapeInTheTextFieldKeepsTheOldValue) {
  ASSERT_EQ(pane.cellClicked(rowOf("D3DRS_POINTSIZE"), 1, MouseButton::left), StateEditorKind::textField);
  pane.list().escapePressed(-1);
  EXPECT_EQ(pane.list().openEditor(), StateEditorKind::none);
  pane.list().enterPressed("9");  // Enter with no field open is ignored
  EXPECT_EQ(state("D3DRS_POINTSIZE").numericValue, 1.0f);
  EXPECT_FALSE(state("D3DRS_POINTSIZE").isSet);

  ASSERT_EQ(pane.cellClicked(rowOf("D3DRS_POINTSIZE"), 1, MouseButton::left), StateEditorKind::textField);
  pane.list().textFieldLostFocus();
  pane.list().enterPressed("9");
  EXPECT_EQ(state("D3DRS_POINTSIZE").numericValue, 1.0f);
}

TEST_F(RenderStatesTest, EscapeOnTheDropDownAppliesItsSelection) {
  ASSERT_EQ(pane.cellClicked(rowOf("D3DRS_FILLMODE"), 1, MouseButton::left), StateEditorKind::dropDown);
  pane.list().escapePressed(2);
  EXPECT_EQ(selectedNames("D3DRS_FILLMODE"), (std::vector<std::string>{"D3DFILL_WIREFRAME"}));
}

TEST_F(RenderStatesTest, TheNameColumnOpensNothing) {
  EXPECT_EQ(pane.cellClicked(rowOf("D3DRS_FOGEND"), StateList::nameColumn, MouseButton::left), StateEditorKind::none);
  EXPECT_EQ(pane.cellClicked(500, 1, MouseButton::left), StateEditorKind::none);
  EXPECT_EQ(pane.cellClicked(-1, 1, MouseButton::left), StateEditorKind::none);
}

TEST_F(RenderStatesTest, ResizingFollowsOnlyAboveAHundredPixels) {
  RenderStatesPane sized(effect, 400, 300);
  EXPECT_FALSE(sized.resizeTracker().resized(100, 500).has_value());
  const auto change = sized.resizeTracker().resized(450, 280);
  ASSERT_TRUE(change.has_value());
  EXPECT_EQ(change->width, 50);
  EXPECT_EQ(change->height, -20);
}

TEST(TextureStagePage, EditsItsOwnStageAndOpensOnlyOnALeftClick) {
  Effect effect = test::newShippedEffect();
  MessageLog log;
  struct NoLoader : TextureLoader {
    std::optional<LoadedTexture> load(const std::string&) override { return std::nullopt; }
    void release(DeviceTexture*) override {}
  } loader;
  TextureStore store(loader, log);
  TexturesPane textures(effect, store, log);
  textures.shown();
  textures.tabChanging();
  textures.tabChanged(3);
  TextureStagePage& page = textures.page(3);
  ASSERT_EQ(page.list().rows().size(), 27u);
  EXPECT_EQ(page.list().rows()[3].name, "D3DTSS_COLOROP");
  EXPECT_EQ(page.list().rows()[3].value, "...");
  EXPECT_EQ(page.cellClicked(3, 1, MouseButton::right), StateEditorKind::none);
  ASSERT_EQ(page.cellClicked(3, 1, MouseButton::left), StateEditorKind::dropDown);
  page.list().dropDownClosed(4);  // D3DTOP_MODULATE
  const auto& colourOp = effect.textureStages.stages[3].settings[3];
  EXPECT_TRUE(colourOp.enumerants[3].selected);
  EXPECT_EQ(colourOp.enumerants[3].name, "D3DTOP_MODULATE");
  EXPECT_FALSE(stateIsSet(effect.textureStages.stages[0].settings[3]));
  EXPECT_EQ(textures.page(0).list().rows().size(), 27u);  // filled when the pane was shown on stage 0
  EXPECT_TRUE(textures.page(5).list().rows().empty());        // never shown
}
