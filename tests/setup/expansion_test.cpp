// Symbol expansion: reference syntax, alternatives, the four outside value
// kinds, nesting and length bounds.

#include <gtest/gtest.h>

#include "setup/symbol_table.h"
#include "tests/setup/fake_platform.h"

namespace veltrace::setup {
namespace {

using test::FakePlatform;

class Expansion : public ::testing::Test {
 protected:
  void symbol(std::string name, std::string value, std::int32_t id = noSymbolId) {
    symbols.add(Symbol{std::move(name), id, std::move(value)});
  }
  std::string expand(std::string_view text) { return expandSymbols(text, symbols, platform); }

  SymbolTable symbols;
  FakePlatform platform;
};

TEST_F(Expansion, LessThanBeforeWhiteSpaceOrAtTheEndStaysLiteral) {
  symbol("A", "x");
  EXPECT_EQ(expand("a < b"), "a < b");
  EXPECT_EQ(expand("a <\tb"), "a <\tb");
  EXPECT_EQ(expand("tail <"), "tail <");
  EXPECT_EQ(expand("<A> < <A>"), "x < x");
  EXPECT_EQ(expand("no refs > here"), "no refs > here");
}

TEST_F(Expansion, SymbolsExpandRecursivelyAndUnknownNamesYieldNothing) {
  symbol("ProgramFiles", "C:\\Program Files");
  symbol("AppTitle", "Veltrace", 2);
  symbol("AppFolder", "<ProgramFiles>\\<AppTitle>", 1);
  EXPECT_EQ(expand("<AppFolder>\\bin"), "C:\\Program Files\\Veltrace\\bin");
  EXPECT_EQ(expand("[<Nowhere>]"), "[]");
  EXPECT_EQ(expand("<apptitle>"), "Veltrace");
}

TEST_F(Expansion, AReferenceToANamePrefixTakesTheFirstSymbolInScriptOrder) {
  symbol("AppData", "C:\\Data");
  symbol("AppFolder", "C:\\Veltrace", 1);
  EXPECT_EQ(expand("<App>"), "C:\\Data");
  EXPECT_EQ(expand("<AppF>"), "C:\\Veltrace");
  EXPECT_EQ(expand("<AppDataX>"), "");
}

TEST_F(Expansion, TheFirstAlternativeThatYieldsTextWins) {
  symbol("ProgramFiles", "C:\\Program Files");
  const char* office = "<MSOfficeDir10=MSOfficeDir9=MSOfficeDir8=!<ProgramFiles>\\Microsoft Office\\Office>";
  EXPECT_EQ(expand(office), "C:\\Program Files\\Microsoft Office\\Office");
  symbol("MSOfficeDir8", "D:\\Office8");
  EXPECT_EQ(expand(office), "D:\\Office8");
  symbol("MSOfficeDir9", "");
  EXPECT_EQ(expand(office), "D:\\Office8");  // empty does not count
  symbol("MSOfficeDir10", "E:\\Office10");
  EXPECT_EQ(expand(office), "E:\\Office10");
}

TEST_F(Expansion, LiteralAlternativesKeepTheirTextAfterTheBang) {
  EXPECT_EQ(expand("<!plain text>"), "plain text");
  EXPECT_EQ(expand("<Missing=!fallback>"), "fallback");
  EXPECT_EQ(expand("<!>"), "");
}

TEST_F(Expansion, ASelfReferringSymbolStopsAfterSixteenLevels) {
  symbol("Loop", "<Loop>");
  symbol("Ping", "a<Pong>");
  symbol("Pong", "b<Ping>");
  std::string loop = expand("<Loop>");
  EXPECT_EQ(loop, "<Loop>");  // copied as it is at the deepest level
  std::string pingPong = expand("<Ping>");
  EXPECT_LE(pingPong.size(), 64u);
  EXPECT_EQ(pingPong.substr(0, 4), "abab");
}

TEST_F(Expansion, ResultsAreCutAt2047Characters) {
  symbol("Long", std::string(1500, 'x'));
  std::string result = expand("<Long><Long><Long>");
  EXPECT_EQ(result.size(), maxExpansionLength);
  EXPECT_EQ(expand(std::string(5000, 'y')).size(), maxExpansionLength);
}

TEST_F(Expansion, ManyNestedReferencesThatYieldNothingStillFinish) {
  // Each level multiplies the work by a hundred; the reference bound ends it.
  std::string many;
  for (int i = 0; i < 100; ++i) many += "<L1>";
  symbol("L0", "<Unknown>");
  for (int level = 1; level <= 8; ++level) {
    std::string value;
    for (int i = 0; i < 100; ++i) value += "<L" + std::to_string(level - 1) + ">";
    symbol("L" + std::to_string(level), value);
  }
  EXPECT_EQ(expand("<L8>"), "");
}

TEST_F(Expansion, EnvironmentReferencesReadTheVariable) {
  platform.environment["ProgramFiles"] = "C:\\Programs";
  EXPECT_EQ(expand("<%ProgramFiles>"), "C:\\Programs");
  EXPECT_EQ(expand("<%Unset=!none>"), "none");
}

TEST_F(Expansion, IniReferencesNeedFileSectionAndKey) {
  platform.ini[{"C:\\win.ini", "Office", "Path"}] = "C:\\Office";
  EXPECT_EQ(expand("<#C:\\win.ini?Office?Path>"), "C:\\Office");
  EXPECT_EQ(expand("<#C:\\win.ini?Office=!no key>"), "no key");
  EXPECT_EQ(expand("<#C:\\win.ini??Path=!no section>"), "no section");
  EXPECT_EQ(expand("<#?Office?Path=!no file>"), "no file");
}

TEST_F(Expansion, RegistryReferencesSplitRootKeyAndValueName) {
  auto key = "Software\\Microsoft\\Windows\\CurrentVersion";
  platform.registry[{RegistryRoot::localMachine, key, "ProgramFilesDir"}] = {RegistryValueType::string,
                                                                             std::string("C:\\PF\0", 5)};
  symbol("HKLM", "HKEY_LOCAL_MACHINE");
  symbol("WinCurVer", key);
  EXPECT_EQ(expand("<@<HKLM>\\<WinCurVer>\\ProgramFilesDir>"), "C:\\PF");
  EXPECT_EQ(expand("<@hklm\\Software\\Microsoft\\Windows\\CurrentVersion/ProgramFilesDir>"), "C:\\PF");
  EXPECT_EQ(platform.lastRegistryKey, key);
  EXPECT_EQ(expand("<@HKEY_CURRENT_USER\\Software\\Veltrace\\>"), "");
  EXPECT_EQ(platform.lastRegistryKey, "Software\\Veltrace");
  EXPECT_EQ(platform.lastRegistryValueName, "");  // the key's default value
  EXPECT_EQ(expand("<@HKEY_NOWHERE\\Key\\Value=!no root>"), "no root");
}

TEST_F(Expansion, RegistryRootsAreMatchedAsPrefixesInListOrder) {
  auto check = [](std::string_view text, RegistryRoot root, std::size_t length) {
    auto found = registryRootPrefix(text);
    ASSERT_TRUE(found) << text;
    EXPECT_EQ(found->first, root) << text;
    EXPECT_EQ(found->second, length) << text;
  };
  check("HKEY_LOCAL_MACHINE\\x", RegistryRoot::localMachine, 18);
  check("hkey_users\\x", RegistryRoot::users, 10);
  check("HKCR\\x", RegistryRoot::classesRoot, 4);
  check("HKUx", RegistryRoot::users, 3);
  EXPECT_FALSE(registryRootPrefix("HKX\\x"));
}

TEST_F(Expansion, OnlyStringRegistryTypesYieldText) {
  platform.registry[{RegistryRoot::currentUser, "K", "Dword"}] = {RegistryValueType::other, std::string("\x01\0\0\0", 4)};
  platform.registry[{RegistryRoot::currentUser, "K", "Expand"}] = {RegistryValueType::expandableString,
                                                                   "%SystemRoot%\\Fonts"};
  platform.registry[{RegistryRoot::currentUser, "K", "Multi"}] = {RegistryValueType::multiString,
                                                                  std::string("first\0second\0\0", 14)};
  platform.environment["SystemRoot"] = "C:\\WINDOWS";
  EXPECT_EQ(expand("<@HKCU\\K\\Dword>"), "");
  EXPECT_EQ(expand("<@HKCU\\K\\Dword=!fallback>"), "fallback");
  EXPECT_EQ(expand("<@HKCU\\K\\Expand>"), "C:\\WINDOWS\\Fonts");
  EXPECT_EQ(expand("<@HKCU\\K\\Multi>"), "first");
}

TEST_F(Expansion, NestedReferencesInsideAlternativesAreExpandedFirst) {
  symbol("ShellFoldersLM", "HKLM\\Shell Folders");
  symbol("Common_Profile", "C:\\All Users");
  EXPECT_EQ(expand("<@<ShellFoldersLM>\\Common AppData=!<Common_Profile>\\Application Data>"),
            "C:\\All Users\\Application Data");
  platform.registry[{RegistryRoot::localMachine, "Shell Folders", "Common AppData"}] = {RegistryValueType::string,
                                                                                       "D:\\Shared"};
  EXPECT_EQ(expand("<@<ShellFoldersLM>\\Common AppData=!<Common_Profile>\\Application Data>"), "D:\\Shared");
}

TEST_F(Expansion, AnUnclosedReferenceRunsToTheEnd) {
  symbol("A", "x");
  EXPECT_EQ(expand("pre <A"), "pre x");
  EXPECT_EQ(expand("<=!empty name>"), "empty name");
}

TEST(SymbolTable, SetByIdReplacesTheFirstOrAppendsANamelessSymbol) {
  SymbolTable table;
  table.add(Symbol{"Programs", 31, "a"});
  table.add(Symbol{"Programs2", 31, "b"});
  table.set(31, "changed");
  EXPECT_EQ(table.byId(31)->value, "changed");
  EXPECT_EQ(table.all()[1].value, "b");
  table.set(68, "1033");
  ASSERT_NE(table.byId(68), nullptr);
  EXPECT_EQ(table.byId(68)->name, "");
  EXPECT_EQ(table.byName(""), nullptr);
}

TEST(PlatformBits, EachWindowsVersionHasItsBit) {
  EXPECT_EQ(platformBitFor(false, 4, 0, 950), platformWindows95);
  EXPECT_EQ(platformBitFor(false, 4, 10, 2222), platformWindows98);
  EXPECT_EQ(platformBitFor(false, 4, 10, 3000), platformWindowsMe);
  EXPECT_EQ(platformBitFor(false, 4, 90, 3000), platformWindowsMe);
  EXPECT_EQ(platformBitFor(true, 3, 51, 1057), 0);
  EXPECT_EQ(platformBitFor(true, 4, 0, 1381), platformWindowsNT4);
  EXPECT_EQ(platformBitFor(true, 5, 0, 2195), platformWindows2000);
  EXPECT_EQ(platformBitFor(true, 5, 1, 2600), platformWindowsXP);
  EXPECT_EQ(platformBitFor(true, 5, 2, 3790), platformLaterNT);
  EXPECT_EQ(platformBitFor(true, 10, 0, 19045), platformLaterNT);
}

}  // namespace
}  // namespace veltrace::setup
