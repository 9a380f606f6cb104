#pragma once
// The install script "Setup.ini": the document, its symbols and the settings
// the installer reads from it. Loading checks everything the installer
// relies on; a script that fails is "not valid" (message 131).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/message_log.h"
#include "setup/file_line.h"
#include "setup/script_document.h"
#include "setup/setup_platform.h"
#include "setup/symbol_table.h"

namespace veltrace::setup {

// The engine version a script must name in its root "Version" key.
inline constexpr std::string_view scriptEngineVersion = "2.66.1387";

// Symbols the installer asks for by id.
enum SymbolId : std::int32_t {
  symbolAppFolder = 1,
  symbolAppTitle = 2,
  symbolAppVersion = 3,
  symbolCompany = 4,
  symbolCopyright = 5,
  symbolEmail = 6,
  symbolWebSite = 7,
  symbolProgGroupDir = 9,
  symbolSetupDir = 10,
  symbolUninstallTitle = 12,
  symbolHelpDir = 17,
  symbolTempDir = 18,
  symbolWinDir = 19,
  symbolWinDrive = 20,
  symbolWinSysDir = 22,
  symbolDesktop = 28,
  symbolProfiles = 30,
  symbolPrograms = 31,
  symbolStartMenu = 33,
  symbolUserProfile = 38,
  symbolCommonProfile = 53,
  symbolUninstallRegPath = 62,
  symbolUninstallPrev = 63,
  symbolTelephone = 66,
  symbolLangId = 68,
};

// "[Install]" "Options" bits.
constexpr std::uint32_t optionFixedFolder = 0x0001;
constexpr std::uint32_t optionAdministratorRequired = 0x0002;
constexpr std::uint32_t optionRestartRequired = 0x0004;
constexpr std::uint32_t optionUninstallEntry = 0x0008;
constexpr std::uint32_t optionProgramGroup = 0x0010;
constexpr std::uint32_t optionRecordAllFolders = 0x0020;
constexpr std::uint32_t optionWebSite = 0x0040;
constexpr std::uint32_t optionEmail = 0x0080;
constexpr std::uint32_t optionAppPaths = 0x0100;
constexpr std::uint32_t optionRefuseWhileRunning = 0x0400;
constexpr std::uint32_t optionTelephone = 0x0800;
constexpr std::uint32_t optionDeleteTraceLog = 0x4000;

// "[Install]" "Ignore" bits: error classes treated as success.
constexpr std::uint32_t ignoreFileInstallation = 0x1;
constexpr std::uint32_t ignoreRegistration = 0x2;
constexpr std::uint32_t ignoreShortcuts = 0x4;

// "[ShellLink]" "Locations" bits.
constexpr std::uint32_t linkOnDesktop = 0x001;
constexpr std::uint32_t linkInStartMenu = 0x002;
constexpr std::uint32_t linkInProgramsMenu = 0x004;
constexpr std::uint32_t linkInProgramGroup = 0x100;
constexpr std::uint32_t linkInCustomFolder = 0x200;

struct FileEntry {
  FileLine line;
  std::size_t entryIndex = 0;  // position of its "File" entry in the section
};

// One "[Files]" section.
struct FileGroup {
  ScriptSection* section = nullptr;
  std::string installDir;  // unexpanded
  std::int32_t id = -1;
  std::vector<FileEntry> files;
};

// One "[ShellLink]" section, as read (unexpanded).
struct Shortcut {
  ScriptSection* section = nullptr;
  std::string title;
  std::string description;
  std::string path;
  std::string workDir;
  std::string arguments;
  std::string customDir;
  std::string iconPath;
  std::int32_t iconIndex = 0;
  std::int32_t showCommand = 1;
  std::uint32_t locations = 0;
};

struct InstallSettings {
  std::uint32_t options = 0;
  std::uint32_t ignore = 0;
  std::string path;
  std::string pathList;
  std::string timestamp;
  std::string runAppPath;
  std::string runAppArgs;
  std::string readmePath;
  std::uint32_t extrasOptions = 0;
  std::string readmeText;
  std::string licenseText;
  std::string windowTitle;
  std::string webSiteLink;  // "shown\ntarget", empty when not shown
  std::string emailLink;    // "shown\nmailto:address"
  std::string telephone;
};

// The folders the running system gives the runtime symbols.
struct RuntimeFolders {
  std::string setupProgramPath;
  std::string windowsFolder;
  std::string systemFolder;
  std::string tempFolder;
  std::string profilesFolder;       // empty where the profile functions do not exist
  std::string commonProfileFolder;
  std::string userProfileFolder;
};

class SetupScript {
 public:
  explicit SetupScript(const SetupPlatform& platform) : platform_(platform) {}
  SetupScript(const SetupScript&) = delete;
  SetupScript& operator=(const SetupScript&) = delete;

  // Parses and checks; false means the script is not valid, with the reason
  // appended to `log`.
  bool loadScript(std::string_view text, MessageLog& log);
  bool loadScriptFile(std::string_view corePath, MessageLog& log);
  // Writes the whole document back (CR LF), replacing the file only once
  // the new content is complete.
  bool saveScript(std::string_view corePath) const;
  std::string text() const { return writeScriptDocuments(documents_); }

  std::string expand(std::string_view text) const { return expandSymbols(text, symbols_, platform_); }
  std::string symbolValue(std::int32_t id) const;
  std::string rawSymbol(std::int32_t id) const;
  void setSymbol(std::int32_t id, std::string_view text) { symbols_.set(id, text); }
  const SymbolTable& symbols() const { return symbols_; }

  // Sets SetupDir, WinDir, WinDrive, WinSysDir, TempDir and, where given,
  // the profile folders. False when the Windows, system or temporary
  // folder is missing.
  bool applyRuntimeSymbols(const RuntimeFolders& folders);

  // The unnamed section in front of the first header ("Version", ...).
  ScriptSection* rootSection() { return &documents_.front().sections.front(); }
  // Sections of the first document, looked up ASCII case-insensitively.
  ScriptSection* section(std::string_view name, bool create);
  ScriptSection* nextSection(std::string_view name, const ScriptSection* after);
  std::string value(const ScriptSection* section, std::string_view key, std::string_view fallback) const;
  std::int32_t intValue(const ScriptSection* section, std::string_view key, std::int32_t fallback) const;
  void setValue(ScriptSection* section, std::string_view key, std::string_view value);
  void setIntValue(ScriptSection* section, std::string_view key, std::int32_t value);
  void addEntry(ScriptSection* section, std::string_view key, std::string_view value);

  // Rewrites a file's "File" entry from its (changed) fields.
  void writeFileEntry(const FileGroup& group, const FileEntry& file);

  const InstallSettings& settings() const { return settings_; }
  std::vector<FileGroup>& fileGroups() { return fileGroups_; }
  const std::vector<FileGroup>& fileGroups() const { return fileGroups_; }
  const std::vector<Shortcut>& shortcuts() const { return shortcuts_; }

 private:
  bool validate(MessageLog& log);
  void readSymbols(const ScriptSection& symbols);
  bool readFileGroups(MessageLog& log);
  bool readShortcuts(MessageLog& log);
  std::string sectionText(std::string_view name) const;

  const SetupPlatform& platform_;
  std::vector<ScriptDocument> documents_;
  SymbolTable symbols_;
  InstallSettings settings_;
  std::vector<FileGroup> fileGroups_;
  std::vector<Shortcut> shortcuts_;
};

}  // namespace veltrace::setup
