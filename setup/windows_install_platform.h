#pragma once
// The running Windows system behind the engine: files with their
// attributes, MoveFileEx (and WININIT.INI where it is missing), the
// registry, COM registration, shell links, the tool-help process list,
// message boxes, the deletion agent and the restart. Optional libraries
// come from the system folder only (system_libraries.h).

#include <windows.h>

#include "setup/install_platform.h"
#include "setup/windows_platform.h"

namespace veltrace::setup {

// The deletion agent's program inside setup.exe.
constexpr int deletionAgentResource = 101;

class WindowsInstallPlatform : public InstallPlatform {
 public:
  // The message boxes' owner and caption, set by the window of the moment.
  HWND owner = nullptr;
  std::string caption = "Setup";

  std::uint8_t platformBit() const override { return expansion_.platformBit(); }
  std::string iniValue(std::string_view file, std::string_view section, std::string_view key) const override {
    return expansion_.iniValue(file, section, key);
  }
  std::optional<std::string> environmentVariable(std::string_view name) const override {
    return expansion_.environmentVariable(name);
  }
  std::optional<RegistryValue> registryValue(RegistryRoot root, std::string_view key,
                                             std::string_view valueName) const override {
    return expansion_.registryValue(root, key, valueName);
  }
  std::string expandEnvironmentStrings(std::string_view text) const override {
    return expansion_.expandEnvironmentStrings(text);
  }

  std::optional<FileInfo> fileInfo(std::string_view path) override;
  bool folderExists(std::string_view path) override;
  std::uint32_t createFolder(std::string_view path) override;
  std::uint32_t removeFolder(std::string_view path) override;
  std::uint32_t deleteFile(std::string_view path) override;
  std::uint16_t attributes(std::string_view path) override;
  bool setAttributes(std::string_view path, std::uint16_t attributes) override;
  std::uint32_t moveFile(std::string_view from, std::string_view to) override;
  bool copyFile(std::string_view from, std::string_view to, std::optional<std::uint64_t> length) override;
  bool extractRecord(PackageReader& reader, const FileInfo& info, std::string_view path,
                     const std::function<void(std::uint32_t)>& progress) override;
  std::vector<std::string> listFiles(std::string_view folder, std::string_view pattern) override;
  std::string fullPath(std::string_view path) override;
  std::string shortPath(std::string_view path) override;
  std::string longPath(std::string_view path) override;
  bool appendToFile(std::string_view path, std::string_view text) override;
  std::optional<std::uint64_t> fileSize(std::string_view path) override;
  bool setCurrentFolder(std::string_view path) override;
  bool isProtectedFile(std::string_view path) override;

  std::uint32_t moveAtRestart(std::string_view from, std::string_view to) override;
  bool writeIniValue(std::string_view file, std::string_view section, std::string_view key,
                     std::string_view value) override;

  bool registryKeyWritable(RegistryRoot root, std::string_view key) override;
  bool setRegistryString(RegistryRoot root, std::string_view key, std::string_view name,
                         std::string_view value) override;
  bool setRegistryDword(RegistryRoot root, std::string_view key, std::string_view name,
                        std::uint32_t value) override;
  bool deleteRegistryValue(RegistryRoot root, std::string_view key, std::string_view name) override;
  bool deleteRegistryTree(RegistryRoot root, std::string_view key) override;

  bool registerLibrary(std::string_view path, bool unregister) override;
  bool registerTypeLibrary(std::string_view path, bool unregister) override;
  bool startProgram(std::string_view commandLine) override;

  bool createShellLink(std::string_view linkPath, const ShellLinkData& link) override;
  std::optional<std::string> shellLinkTarget(std::string_view linkPath) override;

  std::optional<std::vector<RunningProcess>> runningProcesses() override;
  bool isAdministrator() override;
  SystemVersion systemVersion() override;
  LocalTime localTime() override;
  std::uint64_t systemTimeAsFileTime() override;
  // Waits with the thread's windows kept painted and answering.
  void sleep(unsigned milliseconds) override;

  MessageAnswer showMessage(int id, std::string_view text, MessageButtons buttons) override;

  bool writeDeletionAgent(std::string_view path) override;
  bool startDeletionAgent(std::string_view path, const std::string& commandBlock, std::string_view folder) override;
  bool restartWindows() override;

 private:
  WindowsSetupPlatform expansion_;
};

}  // namespace veltrace::setup
