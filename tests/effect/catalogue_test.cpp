#include <gtest/gtest.h>

#include <map>

#include "effect/state_catalogue.h"
#include "effect_test_support.h"

namespace veltrace {
namespace {

using test::fileText;
using test::shippedProgramFolder;

StateCatalogue shipped(CatalogueKind kind) {
  std::string path = kind == CatalogueKind::renderStates ? renderStateCataloguePath(shippedProgramFolder())
                                                         : textureStateCataloguePath(shippedProgramFolder());
  auto text = readWholeFile(path);
  EXPECT_TRUE(text.has_value()) << path;
  return parseStateCatalogue(text.value_or(""), kind);
}

std::vector<std::string> selectedNames(const StateEntry& entry) {
  std::vector<std::string> names;
  for (const auto& enumerant : entry.enumerants)
    if (enumerant.selected) names.push_back(enumerant.name);
  return names;
}

TEST(ShippedCatalogues, AreCrLfTextWithTheExpectedLineCounts) {
  for (const char* name : {"AllRenderStates.txt", "AllTextureStates.txt"}) {
    std::string text = fileText(shippedProgramFolder() + "\\prefs\\" + name);
    size_t lineFeeds = 0;
    for (size_t at = 0; at < text.size(); ++at) {
      if (text[at] != '\n') continue;
      ++lineFeeds;
      ASSERT_TRUE(at > 0 && text[at - 1] == '\r') << name << " has a bare LF at " << at;
    }
    EXPECT_EQ(lineFeeds, std::string(name) == "AllRenderStates.txt" ? 76u : 27u) << name;
    EXPECT_EQ(text.back(), '\n');
  }
}

TEST(ShippedCatalogues, RenderCatalogueHasEveryStateOnceWithItsTypeAndNumber) {
  StateCatalogue catalogue = shipped(CatalogueKind::renderStates);
  EXPECT_EQ(catalogue.firstBadLine, 0);
  ASSERT_EQ(catalogue.entries.size(), 76u);

  std::map<std::string, int> typeCounts;
  std::map<std::string, int> nameCounts;
  for (const auto& entry : catalogue.entries) {
    ++typeCounts[std::string(stateValueTypeName(entry.valueType))];
    ++nameCounts[entry.name];
  }
  EXPECT_EQ(typeCounts["ENUM"], 32);
  EXPECT_EQ(typeCounts["BOOL"], 21);
  EXPECT_EQ(typeCounts["FLOAT"], 12);
  EXPECT_EQ(typeCounts["INT"], 1);
  EXPECT_EQ(typeCounts["MASK"], 7);
  EXPECT_EQ(typeCounts["COLOR"], 3);
  for (const auto& [name, count] : nameCounts) EXPECT_EQ(count, 1) << name;

  // The order of the file is the order of the render state file and pane.
  EXPECT_EQ(catalogue.entries.front().name, "D3DRS_SRCBLEND");
  EXPECT_EQ(catalogue.entries[8].name, "D3DRS_ZBIAS");
  EXPECT_EQ(catalogue.entries[45].name, "D3DRS_WRAP0");
  EXPECT_EQ(catalogue.entries[52].name, "D3DRS_WRAP7");
  EXPECT_EQ(catalogue.entries.back().name, "D3DRS_NORMALORDER");

  struct Expected {
    const char* name;
    int number;
    const char* type;
  };
  const Expected samples[] = {
      {"D3DRS_ZENABLE", 7, "ENUM"},          {"D3DRS_ALPHATESTENABLE", 15, "BOOL"},
      {"D3DRS_ZBIAS", 47, "FLOAT"},          {"D3DRS_CLIPPLANEENABLE", 152, "INT"},
      {"D3DRS_MULTISAMPLEMASK", 162, "MASK"}, {"D3DRS_FOGCOLOR", 34, "COLOR"},
      {"D3DRS_WRAP5", 133, "ENUM"},          {"D3DRS_TWEENFACTOR", 170, "FLOAT"},
  };
  for (const auto& sample : samples) {
    const StateEntry* entry = findState(catalogue.entries, sample.name);
    ASSERT_NE(entry, nullptr) << sample.name;
    EXPECT_EQ(entry->stateNumber, sample.number) << sample.name;
    EXPECT_EQ(stateValueTypeName(entry->valueType), sample.type) << sample.name;
  }
}

TEST(ShippedCatalogues, RenderDefaultsSelectExactlyTheSevenStatesOfANewEffect) {
  StateCatalogue catalogue = shipped(CatalogueKind::renderStates);
  std::map<std::string, std::vector<std::string>> selected;
  for (const auto& entry : catalogue.entries) {
    auto names = selectedNames(entry);
    if (!names.empty()) selected[entry.name] = names;
    // INT, FLOAT, MASK and COLOR defaults are not recorded by a new effect.
    EXPECT_FALSE(entry.isSet) << entry.name;
  }
  std::map<std::string, std::vector<std::string>> expected = {
      {"D3DRS_FILLMODE", {"D3DFILL_SOLID"}},      {"D3DRS_SHADEMODE", {"D3DSHADE_GOURAUD"}},
      {"D3DRS_CULLMODE", {"D3DCULL_CW"}},         {"D3DRS_ZFUNC", {"D3DCMP_LESSEQUAL"}},
      {"D3DRS_ZENABLE", {"D3DZB_TRUE"}},          {"D3DRS_ALPHATESTENABLE", {"TRUE"}},
      {"D3DRS_ALPHAFUNC", {"D3DCMP_GREATER"}},
  };
  EXPECT_EQ(selected, expected);

  const StateEntry* fogEnd = findState(catalogue.entries, "D3DRS_FOGEND");
  ASSERT_NE(fogEnd, nullptr);
  EXPECT_FLOAT_EQ(fogEnd->numericValue, 1.0f);
  const StateEntry* clipPlanes = findState(catalogue.entries, "D3DRS_CLIPPLANEENABLE");
  ASSERT_NE(clipPlanes, nullptr);
  EXPECT_FLOAT_EQ(clipPlanes->numericValue, 1.0f);
  const StateEntry* factor = findState(catalogue.entries, "D3DRS_TEXTUREFACTOR");
  ASSERT_NE(factor, nullptr);
  EXPECT_EQ(factor->textValue, "0x00000000");
}

TEST(ShippedCatalogues, RenderEnumerantsKeepTheirValuesAndCatalogueSpellings) {
  StateCatalogue catalogue = shipped(CatalogueKind::renderStates);
  const StateEntry* stencilFail = findState(catalogue.entries, "D3DRS_STENCILFAIL");
  ASSERT_NE(stencilFail, nullptr);
  ASSERT_EQ(stencilFail->enumerants.size(), 8u);
  EXPECT_EQ(stencilFail->enumerants[3].name, "D3DSTENCILOP_INCRSATEQUAL");
  EXPECT_EQ(stencilFail->enumerants[4].name, "D3DSTENCILOP_DECRSATTER");
  EXPECT_EQ(stencilFail->enumerants[4].value, 5);

  const StateEntry* wrap = findState(catalogue.entries, "D3DRS_WRAP3");
  ASSERT_NE(wrap, nullptr);
  ASSERT_EQ(wrap->enumerants.size(), 4u);
  EXPECT_EQ(wrap->enumerants[3].value, 8);

  const StateEntry* zWrite = findState(catalogue.entries, "D3DRS_ZWRITEENABLE");
  ASSERT_NE(zWrite, nullptr);
  ASSERT_EQ(zWrite->enumerants.size(), 2u);
  EXPECT_EQ(zWrite->enumerants[0].name, "TRUE");
  EXPECT_EQ(zWrite->enumerants[0].value, 1);
  EXPECT_EQ(zWrite->enumerants[1].name, "FALSE");
  EXPECT_EQ(zWrite->enumerants[1].value, 0);

  const StateEntry* blend = findState(catalogue.entries, "D3DRS_DESTBLEND");
  ASSERT_NE(blend, nullptr);
  ASSERT_EQ(blend->enumerants.size(), 13u);
  EXPECT_EQ(blend->enumerants.back().name, "D3DBLEND_BOTHINVSRCALPHA");
  EXPECT_EQ(blend->enumerants.back().value, 13);
}

TEST(ShippedCatalogues, TextureCatalogueListsTwentySevenStatesNoneSetByDefault) {
  StateCatalogue catalogue = shipped(CatalogueKind::textureStates);
  EXPECT_EQ(catalogue.firstBadLine, 0);
  ASSERT_EQ(catalogue.entries.size(), 27u);
  EXPECT_EQ(catalogue.entries.front().name, "D3DTSS_ADDRESSU");
  EXPECT_EQ(catalogue.entries.back().name, "D3DTSS_RESULTARG");
  for (const auto& entry : catalogue.entries) {
    EXPECT_TRUE(selectedNames(entry).empty()) << entry.name;
    EXPECT_FALSE(entry.isSet) << entry.name;
  }
  const StateEntry* colorOp = findState(catalogue.entries, "D3DTSS_COLOROP");
  ASSERT_NE(colorOp, nullptr);
  EXPECT_EQ(colorOp->stateNumber, 1);
  ASSERT_EQ(colorOp->enumerants.size(), 26u);
  EXPECT_EQ(colorOp->enumerants.back().name, "D3DTOP_LERP");
  EXPECT_EQ(colorOp->enumerants.back().value, 26);

  const StateEntry* argument = findState(catalogue.entries, "D3DTSS_ALPHAARG0");
  ASSERT_NE(argument, nullptr);
  EXPECT_EQ(argument->enumerants.back().name, "D3DTA_ALPHAREPLICATE");
  EXPECT_EQ(argument->enumerants.back().value, 32);

  const StateEntry* transform = findState(catalogue.entries, "D3DTSS_TEXTURETRANSFORMFLAGS");
  ASSERT_NE(transform, nullptr);
  EXPECT_EQ(transform->enumerants.back().value, 256);

  const StateEntry* anisotropy = findState(catalogue.entries, "D3DTSS_MAXANISOTROPY");
  ASSERT_NE(anisotropy, nullptr);
  EXPECT_EQ(anisotropy->valueType, StateValueType::integer);
  EXPECT_FLOAT_EQ(anisotropy->numericValue, 1.0f);
  const StateEntry* border = findState(catalogue.entries, "D3DTSS_BORDERCOLOR");
  ASSERT_NE(border, nullptr);
  EXPECT_EQ(border->valueType, StateValueType::colour);
  EXPECT_EQ(border->stateNumber, 15);
}

TEST(CatalogueParsing, KeepsIncompleteLinesAndReportsTheFirstBadOne) {
  StateCatalogue catalogue = parseStateCatalogue(
      "S_GOOD,1,ENUM,A,1,0,B,2,1\r\n"
      "S_SHORT,2\r\n"
      "S_TRIPLE,3,ENUM,A,1,0,B,2\r\n"
      "S_FLOAT,4,FLOAT,2.5\r\n",
      CatalogueKind::renderStates);
  EXPECT_EQ(catalogue.firstBadLine, 2);
  ASSERT_EQ(catalogue.entries.size(), 4u);
  EXPECT_EQ(catalogue.entries[1].name, "S_SHORT");
  EXPECT_EQ(catalogue.entries[1].stateNumber, 2);
  EXPECT_EQ(catalogue.entries[1].valueType, StateValueType::unknown);
  // The complete triple before the broken one stays.
  ASSERT_EQ(catalogue.entries[2].enumerants.size(), 1u);
  EXPECT_EQ(catalogue.entries[2].enumerants[0].name, "A");
  // The value is kept even though its flag is missing.
  EXPECT_FLOAT_EQ(catalogue.entries[3].numericValue, 2.5f);
  EXPECT_FALSE(catalogue.entries[3].isSet);
}

TEST(CatalogueParsing, BoolPairsAreTrueOnlyForTheWordTrue) {
  StateCatalogue catalogue =
      parseStateCatalogue("S_BOOL,1,BOOL,TRUE,1,YES,0,FALSE,0\r\n", CatalogueKind::renderStates);
  EXPECT_EQ(catalogue.firstBadLine, 0);
  ASSERT_EQ(catalogue.entries[0].enumerants.size(), 3u);
  EXPECT_EQ(catalogue.entries[0].enumerants[0].value, 1);
  EXPECT_TRUE(catalogue.entries[0].enumerants[0].selected);
  EXPECT_EQ(catalogue.entries[0].enumerants[1].name, "YES");
  EXPECT_EQ(catalogue.entries[0].enumerants[1].value, 0);
}

TEST(CatalogueParsing, TextureCatalogueLeavesBoolAndMaskLinesWithoutValues) {
  const char* text = "T_BOOL,1,BOOL,TRUE,1,FALSE,0\r\nT_MASK,2,MASK,0xFF,1\r\nT_ODD,3,WHATEVER,1,2\r\n";
  StateCatalogue texture = parseStateCatalogue(text, CatalogueKind::textureStates);
  EXPECT_EQ(texture.firstBadLine, 0);
  ASSERT_EQ(texture.entries.size(), 3u);
  EXPECT_TRUE(texture.entries[0].enumerants.empty());
  EXPECT_TRUE(texture.entries[1].textValue.empty());
  EXPECT_FALSE(texture.entries[1].isSet);

  StateCatalogue render = parseStateCatalogue(text, CatalogueKind::renderStates);
  EXPECT_EQ(render.entries[0].enumerants.size(), 2u);
  EXPECT_EQ(render.entries[1].textValue, "0xFF");
  EXPECT_TRUE(render.entries[1].isSet);
  EXPECT_TRUE(render.entries[2].enumerants.empty());
}

TEST(StateValueTypes, ReadOnlyTheSixExactSpellingsAndGiveThemBack) {
  const std::pair<const char*, StateValueType> known[] = {
      {"ENUM", StateValueType::enumeration}, {"BOOL", StateValueType::boolean}, {"INT", StateValueType::integer},
      {"FLOAT", StateValueType::real},       {"MASK", StateValueType::mask},    {"COLOR", StateValueType::colour},
  };
  for (const auto& [spelling, type] : known) {
    EXPECT_EQ(parseStateValueType(spelling), type) << spelling;
    EXPECT_EQ(stateValueTypeName(type), spelling) << spelling;
  }
  for (const char* other : {"", "enum", "COLOUR", "INT ", "WHATEVER"})
    EXPECT_EQ(parseStateValueType(other), StateValueType::unknown) << other;
  EXPECT_EQ(stateValueTypeName(StateValueType::unknown), "");
}

TEST(CatalogueParsing, EmptyLinesAndGarbageAreBadLinesNotCrashes) {
  StateCatalogue catalogue = parseStateCatalogue("\r\n,,,,\r\nX,Y,ENUM,,,,,\r\n", CatalogueKind::renderStates);
  EXPECT_EQ(catalogue.firstBadLine, 1);
  EXPECT_EQ(catalogue.entries.size(), 3u);
  EXPECT_EQ(catalogue.entries[2].stateNumber, 0);
  // Five fields after the type: one triple and two left over.
  EXPECT_EQ(catalogue.entries[2].enumerants.size(), 1u);
}

TEST(CatalogueReading, ReportsAMissingFileAndABadLineWithTheirMessages) {
  MessageLog log;
  Effect effect;
  EXPECT_FALSE(readRenderStateCatalogue("no-such-folder\\AllRenderStates.txt", effect, log));
  ASSERT_EQ(log.pending().size(), 1u);
  EXPECT_EQ(log.pending()[0], "Error while opening \"no-such-folder\\AllRenderStates.txt\" !");
}

}  // namespace
}  // namespace veltrace
