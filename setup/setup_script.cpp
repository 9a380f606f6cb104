#include "setup/setup_script.h"

#include "base/files.h"
#include "base/text.h"

namespace veltrace::setup {

namespace {

// "<id>|<mask>|<value>[|ignored]": at most four pieces, at least three.
std::vector<std::string_view> splitSymbolValue(std::string_view text) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  while (pieces.size() < 3) {
    std::size_t bar = text.find('|', start);
    if (bar == std::string_view::npos) break;
    pieces.push_back(text.substr(start, bar - start));
    start = bar + 1;
  }
  std::string_view last = text.substr(start);
  pieces.push_back(last.substr(0, last.find('|')));
  return pieces;
}

// The drive ("C:") or UNC root ("\\server\share") a path starts with.
std::string driveOrRoot(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2));
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    std::size_t server = path.find('\\', 2);
    if (server == std::string_view::npos) return std::string(path);
    std::size_t share = path.find('\\', server + 1);
    return std::string(path.substr(0, share));
  }
  return std::string(path.substr(0, path.find('\\')));
}

std::string withoutTrailingSeparator(std::string path) {
  while (path.size() > 1 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  return path;
}

}  // namespace

bool SetupScript::loadScriptFile(std::string_view corePath, MessageLog& log) {
  auto text = readWholeFile(corePath);
  if (!text) {
    log.append(formatText("Cannot read \"%.*s\".", int(corePath.size()), corePath.data()));
    return false;
  }
  return loadScript(*text, log);
}

bool SetupScript::loadScript(std::string_view text, MessageLog& log) {
  documents_ = parseScriptDocuments(text);
  symbols_.clear();
  settings_ = InstallSettings();
  fileGroups_.clear();
  shortcuts_.clear();
  return validate(log);
}

bool SetupScript::saveScript(std::string_view corePath) const { return replaceFileWith(corePath, text()); }

bool SetupScript::validate(MessageLog& log) {
  ScriptSection* root = &documents_.front().sections.front();
  if (value(root, "Version", "") != scriptEngineVersion) {
    log.append(formatText("The script is not for setup version %s.", scriptEngineVersion.data()));
    return false;
  }
  ScriptSection* install = section("Install", false);
  if (!install) {
    log.append("The script has no [Install] section.");
    return false;
  }
  ScriptSection* symbolSection = section("Symbols", false);
  if (!symbolSection) {
    log.append("The script has no [Symbols] section.");
    return false;
  }
  readSymbols(*symbolSection);
  if (symbolValue(symbolAppTitle).empty() || symbolValue(symbolAppFolder).empty()) {
    log.append("The script's AppTitle or AppFolder is empty.");
    return false;
  }

  settings_.path = value(install, "Path", "");
  settings_.pathList = value(install, "PathList", "");
  settings_.timestamp = value(install, "Timestamp", "");
  settings_.options = static_cast<std::uint32_t>(intValue(install, "Options", 0));
  settings_.ignore = static_cast<std::uint32_t>(intValue(install, "Ignore", 0));
  settings_.runAppPath = value(install, "RunAppPath", "");
  settings_.runAppArgs = value(install, "RunAppArgs", "");
  settings_.readmePath = value(install, "ReadmePath", "");

  settings_.windowTitle = symbolValue(symbolAppTitle) + " " + symbolValue(symbolAppVersion);
  std::string webSite = symbolValue(symbolWebSite);
  if ((settings_.options & optionWebSite) && !webSite.empty()) settings_.webSiteLink = webSite + "\n" + webSite;
  std::string email = symbolValue(symbolEmail);
  if ((settings_.options & optionEmail) && !email.empty()) settings_.emailLink = email + "\nmailto:" + email;
  if (settings_.options & optionTelephone) settings_.telephone = symbolValue(symbolTelephone);

  if (!readFileGroups(log) || !readShortcuts(log)) return false;

  settings_.extrasOptions = static_cast<std::uint32_t>(intValue(section("Extras", false), "Options", 0));
  settings_.readmeText = sectionText("Readme");
  settings_.licenseText = sectionText("License");
  return true;
}

void SetupScript::readSymbols(const ScriptSection& symbolSection) {
  std::uint8_t running = platform_.platformBit();
  for (const ScriptEntry& entry : symbolSection.entries) {
    if (entry.key.empty() || !entry.value) continue;
    auto pieces = splitSymbolValue(*entry.value);
    if (pieces.size() < 3) continue;
    std::uint32_t mask = readScriptUnsigned(pieces[1]);
    if ((mask & running) == 0) continue;
    symbols_.add(Symbol{entry.key, readScriptInt(pieces[0]), std::string(pieces[2])});
  }
}

bool SetupScript::readFileGroups(MessageLog& log) {
  for (ScriptSection* files = section("Files", false); files; files = nextSection("Files", files)) {
    FileGroup group;
    group.section = files;
    bool hasInstallDir = false;
    for (std::size_t i = 0; i < files->entries.size(); ++i) {
      const ScriptEntry& entry = files->entries[i];
      if (equalsIgnoringCase(entry.key, "InstallDir") && !hasInstallDir) {
        group.installDir = entry.value.value_or("");
        hasInstallDir = true;
      } else if (equalsIgnoringCase(entry.key, "File")) {
        auto line = parseFileLine(entry.value.value_or(""));
        if (!line) {
          log.append(formatText("The script has a malformed File line: \"%s\".", entry.value.value_or("").c_str()));
          return false;
        }
        group.files.push_back(FileEntry{std::move(*line), i});
      }
    }
    if (!hasInstallDir) {
      log.append("A [Files] section of the script has no InstallDir.");
      return false;
    }
    group.id = intValue(files, "ID", -1);
    fileGroups_.push_back(std::move(group));
  }
  return true;
}

bool SetupScript::readShortcuts(MessageLog& log) {
  for (ScriptSection* link = section("ShellLink", false); link; link = nextSection("ShellLink", link)) {
    Shortcut shortcut;
    shortcut.section = link;
    bool complete = true;
    for (const char* required : {"Title", "Path"}) {
      bool present = false;
      for (const ScriptEntry& entry : link->entries)
        if (equalsIgnoringCase(entry.key, required)) present = true;
      complete = complete && present;
    }
    if (!complete) {
      log.append("A [ShellLink] section of the script has no Title or no Path.");
      return false;
    }
    shortcut.title = value(link, "Title", "");
    shortcut.description = value(link, "Description", "");
    shortcut.path = value(link, "Path", "");
    shortcut.workDir = value(link, "WorkDir", "");
    shortcut.arguments = value(link, "Arguments", "");
    shortcut.customDir = value(link, "CustomDir", "");
    shortcut.iconPath = value(link, "IconPath", "");
    shortcut.iconIndex = intValue(link, "IconIndex", 0);
    shortcut.showCommand = intValue(link, "ShowCmd", 1);
    shortcut.locations = static_cast<std::uint32_t>(intValue(link, "Locations", 0));
    shortcuts_.push_back(std::move(shortcut));
  }
  return true;
}

std::string SetupScript::sectionText(std::string_view name) const {
  std::string text;
  const auto& sections = documents_.front().sections;
  for (const ScriptSection& candidate : sections) {
    if (!candidate.hasHeader || !equalsIgnoringCase(candidate.name, name)) continue;
    for (std::size_t i = 0; i < candidate.entries.size(); ++i) {
      if (i > 0) text += "\r\n";
      text += candidate.entries[i].value.value_or("");
    }
    break;
  }
  return text;
}

std::string SetupScript::symbolValue(std::int32_t id) const {
  const Symbol* symbol = symbols_.byId(id);
  return symbol ? expand(symbol->value) : std::string();
}

std::string SetupScript::rawSymbol(std::int32_t id) const {
  const Symbol* symbol = symbols_.byId(id);
  return symbol ? symbol->value : std::string();
}

bool SetupScript::applyRuntimeSymbols(const RuntimeFolders& folders) {
  if (folders.windowsFolder.empty() || folders.systemFolder.empty() || folders.tempFolder.empty()) return false;
  std::string setupDir = folderPart(folders.setupProgramPath);
  setSymbol(symbolSetupDir, withoutTrailingSeparator(setupDir));
  setSymbol(symbolWinDir, folders.windowsFolder);
  setSymbol(symbolWinDrive, driveOrRoot(folders.windowsFolder));
  setSymbol(symbolWinSysDir, folders.systemFolder);
  setSymbol(symbolTempDir, withoutTrailingSeparator(folders.tempFolder));
  if (!folders.profilesFolder.empty()) setSymbol(symbolProfiles, folders.profilesFolder);
  if (!folders.commonProfileFolder.empty()) setSymbol(symbolCommonProfile, folders.commonProfileFolder);
  if (!folders.userProfileFolder.empty()) setSymbol(symbolUserProfile, folders.userProfileFolder);
  return true;
}

ScriptSection* SetupScript::section(std::string_view name, bool create) {
  auto& sections = documents_.front().sections;
  for (ScriptSection& candidate : sections)
    if (candidate.hasHeader && equalsIgnoringCase(candidate.name, name)) return &candidate;
  if (!create) return nullptr;
  ScriptSection added;
  added.name = std::string(name);
  sections.push_back(std::move(added));
  return &sections.back();
}

ScriptSection* SetupScript::nextSection(std::string_view name, const ScriptSection* after) {
  auto& sections = documents_.front().sections;
  bool passed = false;
  for (ScriptSection& candidate : sections) {
    if (passed && candidate.hasHeader && equalsIgnoringCase(candidate.name, name)) return &candidate;
    if (&candidate == after) passed = true;
  }
  return nullptr;
}

std::string SetupScript::value(const ScriptSection* section, std::string_view key, std::string_view fallback) const {
  if (section)
    for (const ScriptEntry& entry : section->entries)
      if (equalsIgnoringCase(entry.key, key)) return entry.value.value_or("");
  return std::string(fallback);
}

std::int32_t SetupScript::intValue(const ScriptSection* section, std::string_view key, std::int32_t fallback) const {
  if (section)
    for (const ScriptEntry& entry : section->entries)
      if (equalsIgnoringCase(entry.key, key)) return readScriptInt(entry.value.value_or(""));
  return fallback;
}

void SetupScript::setValue(ScriptSection* section, std::string_view key, std::string_view value) {
  if (!section) return;
  for (ScriptEntry& entry : section->entries) {
    if (equalsIgnoringCase(entry.key, key)) {
      entry.value = std::string(value);
      return;
    }
  }
  addEntry(section, key, value);
}

void SetupScript::setIntValue(ScriptSection* section, std::string_view key, std::int32_t value) {
  setValue(section, key, std::to_string(value));
}

void SetupScript::addEntry(ScriptSection* section, std::string_view key, std::string_view value) {
  if (section) section->entries.push_back(ScriptEntry{std::string(key), std::string(value)});
}

void SetupScript::writeFileEntry(const FileGroup& group, const FileEntry& file) {
  if (!group.section || file.entryIndex >= group.section->entries.size()) return;
  group.section->entries[file.entryIndex].value = formatFileLine(file.line);
}

}  // namespace veltrace::setup
