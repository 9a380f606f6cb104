#pragma once
// A setup program with its package, a system to install into (the fake,
// rooted in a test folder) and the windows of a run, for the engine tests.

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "base/files.h"
#include "base/text.h"
#include "setup/install_engine.h"
#include "setup/packager.h"
#include "setup/removal.h"
#include "setup/setup_run.h"
#include "tests/setup/fake_install_platform.h"
#include "tests/setup/fake_wizard_system.h"
#include "tests/support/temp_folder.h"

namespace veltrace::setup::test {

struct PackagedFile {
  std::string group;  // InstallDir, e.g. "<AppFolder>\\prefs"
  std::string source;
  std::string data;
  std::string fields = "3|2|0|0";  // flags|overwrite|shared|register
  std::uint64_t time = 0x01D0000000000000ull;
  std::uint16_t attributes = attributeArchive;
  std::uint32_t platforms = 247;
  std::uint32_t entryAttributes = 0;
  std::int32_t productHigh = 0;
  std::int32_t fileHigh = 0;
  bool packaged = true;  // false: named by the script, missing from the package
};

// A fake setup program: a DOS header and some code bytes.
inline std::string programImage() {
  std::string image(4096, '\x90');
  image[0] = 'M';
  image[1] = 'Z';
  return image;
}

class ProcessingWindows : public SetupWindows {
 public:
  bool runWizard(InstallContext& context) override {
    wizardRuns++;
    if (!canCreate) return false;
    InstallWizard wizard(context, wizardSystem);
    walkWizard(wizard, user);
    return true;
  }
  bool runProcessingWindow(std::string_view title, int, const std::function<void(ProgressView&)>& work) override {
    processingTitles.emplace_back(title);
    if (!canCreate) return false;
    work(view);
    return true;
  }
  bool runUninstallWindow(std::string_view title, const std::vector<ContactRow>&,
                          const std::function<bool(ProgressView&)>& remove,
                          const std::function<void()>& cleanUp) override {
    uninstallTitles.emplace_back(title);
    if (!canCreate) return false;
    if (pressUninstall && remove(view)) cleanUp();
    return true;
  }
  SilentProgress view;
  FakeWizardSystem wizardSystem;
  WizardUser user;
  int wizardRuns = 0;
  bool canCreate = true;
  bool pressUninstall = true;
  std::vector<std::string> processingTitles, uninstallTitles;
};

class EngineHarness {
 public:
  EngineHarness() {
    root = folder.corePath();
    for (const char* name : {"Windows", "Windows\\System", "Temp", "Download", "Programs", "Desktop", "Start"})
      createFolder(root + "\\" + name);
    appFolder = root + "\\Program Files\\Veltrace";
    runtime.setupProgramPath = root + "\\Download\\Setup.exe";
    runtime.windowsFolder = root + "\\Windows";
    runtime.systemFolder = root + "\\Windows\\System";
    runtime.tempFolder = root + "\\Temp";
  }

  std::string scriptText(const std::vector<PackagedFile>& files) const {
    std::string text = "Version=2.66.1387\r\n[Install]\r\nPath=<AppFolder>\\veltrace.exe\r\nPathList=<AppFolder>\r\n";
    text += formatText("Options=%u\r\nIgnore=%u\r\n", options, ignore);
    text += "[Symbols]\r\n";
    text += "AppFolder=1|255|" + appFolder + "\r\n";
    text += "AppTitle=2|255|Veltrace\r\nAppVersion=3|255|0.1.0\r\nCompany=4|255|Veltrace\r\n";
    text += "ProgGroupDir=9|255|<Programs>\\<AppTitle>\r\nUninstallTitle=12|255|<AppTitle> <AppVersion>\r\n";
    text += "HelpDir=17|255|<AppFolder>\\help\r\nTempDir=18|255|(runtime)\r\nWinDir=19|255|(runtime)\r\n";
    text += "Desktop=28|255|" + root + "\\Desktop\r\nPrograms=31|255|" + root + "\\Programs\r\n";
    text += "StartMenu=33|255|" + root + "\\Start\r\n";
    text += "UninstallRegPath=62|255|HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\<AppTitle>\r\n";
    text += extraSymbols;
    std::string currentGroup;
    for (const PackagedFile& file : files) {
      if (file.group != currentGroup) {
        text += "[Files]\r\nInstallDir=" + file.group + "\r\n";
        currentGroup = file.group;
      }
      text += formatText("File=%s|%lu|%s=%s|0|-1|%u|%u||\r\n", file.source.c_str(),
                         static_cast<unsigned long>(file.data.size()),
                         file.fields.c_str(), file.source.c_str(), file.platforms, file.entryAttributes);
    }
    text += extraSections;
    return text;
  }

  // Writes Setup.exe with the package of `files` appended.
  void buildSetup(const std::vector<PackagedFile>& files) {
    ContainerWriter writer;
    FileInfo scriptInfo;
    ASSERT_TRUE(writer.addRecord(scriptInfo, "Setup.ini", scriptText(files)));
    for (const PackagedFile& file : files) {
      if (!file.packaged) continue;
      FileInfo info;
      info.lastWriteTime = file.time;
      info.attributes = file.attributes;
      info.productVersionHigh = file.productHigh;
      info.fileVersionHigh = file.fileHigh;
      ASSERT_TRUE(writer.addRecord(info, file.source, file.data)) << file.source;
    }
    auto container = writer.finish();
    ASSERT_TRUE(container);
    MessageLog log;
    auto image = attachPackage(programImage(), *container, log);
    ASSERT_TRUE(image);
    ASSERT_TRUE(replaceFileWith(runtime.setupProgramPath, *image));
  }

  // Writes Setup.exe with a package made of hand-made archive bytes (the
  // script first), for records the packager would never write.
  void buildSetupFromArchive(const std::vector<PackagedFile>& scriptFiles, const std::string& payloadBytes) {
    FileInfo scriptInfo;
    std::string script = scriptText(scriptFiles);
    scriptInfo.size = static_cast<std::uint32_t>(script.size());
    scriptInfo.nameLength = 9;
    auto header = encodeFileInfo(scriptInfo);
    std::string archive = std::string(header.begin(), header.end()) + "Setup.ini" + script + payloadBytes;
    uLongf size = compressBound(static_cast<uLong>(archive.size()));
    std::string compressed(size, '\0');
    compress(reinterpret_cast<Bytef*>(compressed.data()), &size, reinterpret_cast<const Bytef*>(archive.data()),
             static_cast<uLong>(archive.size()));
    compressed.resize(size);
    MessageLog log;
    auto image = attachPackage(programImage(), std::string("ovz1\x01\0\0\0", 8) + compressed, log);
    ASSERT_TRUE(image);
    ASSERT_TRUE(replaceFileWith(runtime.setupProgramPath, *image));
  }

  int run(const std::string& arguments) {
    SetupStart start;
    start.commandLine = "\"" + runtime.setupProgramPath + "\" " + arguments;
    start.folders = runtime;
    start.currentFolder = root;
    return runSetup(platform, windows, start);
  }
  // A removal the way the uninstall entry starts it: the installed copy.
  int runInstalledCopy(const std::string& arguments) {
    SetupStart start;
    start.folders = runtime;
    start.folders.setupProgramPath = appFolder + "\\Setup.exe";
    start.commandLine = "\"" + start.folders.setupProgramPath + "\" " + arguments;
    start.currentFolder = appFolder;
    return runSetup(platform, windows, start);
  }

  std::string installed(const std::string& relative) const { return appFolder + "\\" + relative; }
  std::string savedScript() const { return readWholeFile(installed("Setup.ini")).value_or(""); }

  // Every file and folder below the test folder's root, except the
  // system's own folders and what `keep` names.
  std::vector<std::string> leftovers() const {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder.path())) {
      std::string relative = fs::relative(entry.path(), folder.path()).generic_string();
      if (relative.rfind("Windows", 0) == 0 || relative.rfind("Temp", 0) == 0 ||
          relative.rfind("Download", 0) == 0 || relative == "Programs" || relative == "Desktop" ||
          relative == "Start" || relative == "Program Files")
        continue;
      found.push_back(relative);
    }
    return found;
  }

  veltrace::test::TempFolder folder;
  std::string root;
  std::string appFolder;
  RuntimeFolders runtime;
  // Administrator, uninstall entry, program group, App Paths.
  std::uint32_t options = 0x2 | 0x8 | 0x10 | 0x100;
  std::uint32_t ignore = 0;
  std::string extraSymbols;  // more "[Symbols]" lines
  std::string extraSections;
  FakeInstallPlatform platform;
  ProcessingWindows windows;
};

}  // namespace veltrace::setup::test
