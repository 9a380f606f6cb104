#include <gtest/gtest.h>

#include <vector>

#include "effect/declaration.h"
#include "effect/effect_factory.h"

namespace veltrace {
namespace {

using Words = std::vector<std::uint32_t>;

// The words up to and including the end token.
Words usedWords(const StreamMapping& mapping) {
  Words words;
  for (std::uint32_t word : mapping.declaration) {
    words.push_back(word);
    if (word == vsdTokenEnd) break;
  }
  return words;
}

std::uint32_t registerToken(std::uint32_t type, std::uint32_t inputRegister) {
  return 0x40000000u | type << 16 | inputRegister;
}

void setRegister(StreamMapping& mapping, const char* dataName, std::int32_t inputRegister) {
  StreamMappingEntry* entry = findStreamEntry(mapping, dataName);
  ASSERT_NE(entry, nullptr) << dataName;
  entry->inputRegister = inputRegister;
}

TEST(Declaration, DefaultMappingGivesSevenWords) {
  StreamMapping mapping = createStreamMapping();
  EXPECT_EQ(usedWords(mapping), (Words{0x20000000u, registerToken(2, 0), registerToken(2, 3), registerToken(1, 7),
                                       registerToken(2, 8), registerToken(2, 9), 0xFFFFFFFFu}));
  for (size_t at = 7; at < mapping.declaration.size(); ++at) EXPECT_EQ(mapping.declaration[at], 0u) << at;
}

TEST(Declaration, NothingMappedGivesStreamAndEndOnly) {
  StreamMapping mapping = createStreamMapping();
  for (auto& entry : mapping.entries) entry.inputRegister = -1;
  buildDeclaration(mapping);
  EXPECT_EQ(usedWords(mapping), (Words{0x20000000u, 0xFFFFFFFFu}));
}

TEST(Declaration, UnmappedEntriesLeaveNoGapAndTypesFollowTheEntries) {
  StreamMapping mapping = createStreamMapping();
  setRegister(mapping, "TexCoord", -1);
  buildDeclaration(mapping);
  EXPECT_EQ(usedWords(mapping), (Words{0x20000000u, registerToken(2, 0), registerToken(2, 3), registerToken(2, 8),
                                       registerToken(2, 9), 0xFFFFFFFFu}));

  mapping = createStreamMapping();
  setRegister(mapping, "Position", -1);
  buildDeclaration(mapping);
  EXPECT_EQ(usedWords(mapping), (Words{0x20000000u, registerToken(2, 3), registerToken(1, 7), registerToken(2, 8),
                                       registerToken(2, 9), 0xFFFFFFFFu}));
}

TEST(Declaration, AnUnknownTypeKeepsThePreviousTypeAndStartsAtZero) {
  StreamMapping mapping;
  mapping.entries = {{4, "A", "Float4"}, {5, "B", "Float2"}, {6, "C", "Bogus"}};
  buildDeclaration(mapping);
  EXPECT_EQ(usedWords(mapping),
            (Words{0x20000000u, registerToken(0, 4), registerToken(1, 5), registerToken(1, 6), 0xFFFFFFFFu}));
}

TEST(Declaration, OutOfRangeValuesStayInsideTheirBitFieldsAndTheSixteenWords) {
  StreamMapping mapping;
  mapping.stream = 0x13;  // only the stream number bits are kept
  for (int i = 0; i < 20; ++i) mapping.entries.push_back({1000 + i, "X", "Float3"});
  buildDeclaration(mapping);
  EXPECT_EQ(mapping.declaration[0], 0x20000003u);
  for (size_t at = 1; at + 1 < mapping.declaration.size(); ++at) {
    EXPECT_EQ(mapping.declaration[at] & ~(vsdDataTypeMask | vsdRegisterMask), vsdTokenStreamData) << at;
  }
  EXPECT_EQ(mapping.declaration.back(), vsdTokenEnd);
}

}  // namespace
}  // namespace veltrace
