#include "setup/shortcuts.h"

#include "base/text.h"
#include "setup/install_engine.h"
#include "setup/install_paths.h"
#include "setup/setup_messages.h"

namespace veltrace::setup {

namespace {

// A title names one file in the folder: no separators, nothing that climbs.
bool isPlainTitle(std::string_view title) {
  return !title.empty() && title.find_first_of("\\/") == std::string_view::npos && hasOnlyPlainComponents(title);
}

bool createLinkIn(InstallContext& context, const std::string& folder, const std::string& title,
                  const ShellLinkData& link) {
  std::string linkPath = joinPath(folder, title + ".lnk");
  bool done = context.platform.createShellLink(linkPath, link);
  context.log.event(done ? eventShortcutCreated : eventShortcutFailed, {linkPath});
  return done;
}

}  // namespace

bool createShortcuts(InstallContext& context) {
  SetupScript& script = context.script;
  InstallPlatform& platform = context.platform;
  bool ignoreFailures = context.ignores(ignoreShortcuts);
  if (context.options & optionProgramGroup) {
    std::string group = script.symbolValue(symbolProgGroupDir);
    FoldersCreated created = group.empty() || !hasOnlyPlainComponents(group) ? FoldersCreated{} : createFolders(context, group);
    if (!created.ok) {
      context.log.event(eventFolderFailed, {group});
      if (!ignoreFailures) return false;
    } else {
      script.setSymbol(symbolProgGroupDir, created.path);
    }
  }

  for (const Shortcut& shortcut : script.shortcuts()) {
    ShellLinkData link;
    link.target = validShortcutPath(script.expand(shortcut.path));
    if (!platform.fileInfo(link.target)) {
      context.log.event(eventShortcutSkipped, {link.target});
      continue;
    }
    link.iconPath = script.expand(shortcut.iconPath);
    link.iconIndex = shortcut.iconIndex;
    if (link.iconPath.empty() || !platform.fileInfo(link.iconPath)) {
      link.iconPath = link.target;
      link.iconIndex = 0;
    }
    std::string title = script.expand(shortcut.title);
    link.description = script.expand(shortcut.description);
    link.workDir = validShortcutPath(script.expand(shortcut.workDir));
    link.arguments = script.expand(shortcut.arguments);
    link.showCommand = shortcut.showCommand;
    std::string customDir = validShortcutPath(script.expand(shortcut.customDir));

    ScriptSection* section = shortcut.section;
    script.setValue(section, "Path", link.target);
    script.setValue(section, "IconPath", link.iconPath);
    script.setIntValue(section, "IconIndex", link.iconIndex);
    script.setValue(section, "Title", title);
    script.setValue(section, "Description", link.description);
    script.setValue(section, "WorkDir", link.workDir);
    script.setValue(section, "Arguments", link.arguments);
    script.setValue(section, "CustomDir", customDir);
    context.scriptChanged = true;

    if (!isPlainTitle(title)) {
      context.log.event(eventShortcutFailed, {title});
      if (!ignoreFailures) return false;
      continue;
    }
    std::vector<std::string> folders;
    std::uint32_t locations = shortcut.locations;
    std::string group = script.symbolValue(symbolProgGroupDir);
    if ((locations & linkInProgramGroup) && !group.empty()) folders.push_back(group);
    if ((locations & linkInProgramsMenu) && (context.shortcutChoice & choiceProgramsMenu))
      folders.push_back(script.symbolValue(symbolPrograms));
    if ((locations & linkInStartMenu) && (context.shortcutChoice & choiceStartMenu))
      folders.push_back(script.symbolValue(symbolStartMenu));
    if ((locations & linkOnDesktop) && (context.shortcutChoice & choiceDesktop))
      folders.push_back(script.symbolValue(symbolDesktop));
    if ((locations & linkInCustomFolder) && !customDir.empty()) {
      FoldersCreated created = hasOnlyPlainComponents(customDir) ? createFolders(context, customDir) : FoldersCreated{};
      if (created.ok) {
        folders.push_back(created.path);
      } else if (!ignoreFailures) {
        return false;
      }
    }
    for (const std::string& folder : folders)
      if (!folder.empty() && !createLinkIn(context, folder, title, link) && !ignoreFailures) return false;
  }
  return true;
}

std::vector<std::string> shortcutFolders(InstallContext& context, const Shortcut& shortcut) {
  SetupScript& script = context.script;
  std::vector<std::string> folders;
  for (std::int32_t id : {symbolProgGroupDir, symbolPrograms, symbolStartMenu, symbolDesktop}) {
    std::string folder = script.symbolValue(id);
    if (!folder.empty()) folders.push_back(folder);
  }
  std::string customDir = script.expand(script.value(shortcut.section, "CustomDir", ""));
  if (!customDir.empty()) folders.push_back(customDir);
  return folders;
}

void removeShortcuts(InstallContext& context) {
  SetupScript& script = context.script;
  InstallPlatform& platform = context.platform;
  for (const Shortcut& shortcut : script.shortcuts()) {
    std::string recordedPath = script.value(shortcut.section, "Path", "");
    if (recordedPath.empty()) continue;
    for (const std::string& folder : shortcutFolders(context, shortcut)) {
      if (!hasOnlyPlainComponents(folder)) continue;
      for (const std::string& name : platform.listFiles(folder, "*.lnk")) {
        std::string linkPath = joinPath(folder, name);
        auto target = platform.shellLinkTarget(linkPath);
        if (!target || !equalsIgnoringCase(*target, recordedPath)) continue;
        platform.setAttributes(linkPath, 0);
        if (platform.deleteFile(linkPath) == errorNone) context.log.event(eventShortcutRemoved, {linkPath});
      }
    }
  }
  std::string group = script.symbolValue(symbolProgGroupDir);
  if (group.empty() || !hasOnlyPlainComponents(group)) return;
  std::string folder = withoutTrailingSeparators(group);
  while (!folder.empty() && pathComponents(folder).size() > 0 && platform.removeFolder(folder) == errorNone)
    folder = withoutTrailingSeparators(parentFolder(folder));
}

}  // namespace veltrace::setup
