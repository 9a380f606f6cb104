#pragma once
// A stand-in system for the engine tests. Files live on disk in a test
// folder (paths in the core's form); Windows attributes, the registry,
// shell links, moves at restart, message boxes, processes and the restart
// are kept in memory. Faults are injected by filling in the sets below.

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <tuple>

#include "base/files.h"
#include "setup/agent/agent_pass.h"
#include "setup/disk_files.h"
#include "setup/install_paths.h"
#include "setup/install_platform.h"
#include "setup/package_reader.h"
#include "setup/script_document.h"

namespace veltrace::setup::test {

namespace fs = std::filesystem;

inline std::string lowered(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

struct ShownMessage {
  int id;
  std::string text;
};

struct RestartMove {
  std::string from;
  std::string to;
};

class FakeInstallPlatform : public InstallPlatform {
 public:
  using RegistryKey = std::tuple<RegistryRoot, std::string, std::string>;  // root, key, value (lowered)

  // --- expansion ---
  std::uint8_t platformBit() const override { return bit; }
  std::string iniValue(std::string_view file, std::string_view section, std::string_view key) const override {
    auto found = ini.find({lowered(file), lowered(section), lowered(key)});
    return found == ini.end() ? std::string() : found->second;
  }
  std::optional<std::string> environmentVariable(std::string_view) const override { return std::nullopt; }
  std::optional<RegistryValue> registryValue(RegistryRoot root, std::string_view key,
                                             std::string_view name) const override {
    auto found = registry.find({root, lowered(key), lowered(name)});
    if (found == registry.end()) return std::nullopt;
    return found->second;
  }
  std::string expandEnvironmentStrings(std::string_view text) const override { return std::string(text); }

  // --- files ---
  std::optional<FileInfo> fileInfo(std::string_view path) override {
    auto info = fileInfoFromDisk(path);
    if (info) info->attributes = attributes(path);
    return info;
  }
  bool folderExists(std::string_view path) override { return veltrace::folderExists(path); }
  std::uint32_t createFolder(std::string_view path) override {
    if (failingFolders.count(lowered(path))) return errorAccessDenied;
    switch (veltrace::createFolder(path)) {
      case veltrace::FolderResult::created:
        return errorNone;
      case veltrace::FolderResult::alreadyExisted:
        return errorAlreadyExists;
      default:
        return errorPathNotFound;
    }
  }
  std::uint32_t removeFolder(std::string_view path) override {
    std::error_code error;
    if (!fs::is_directory(nativePath(path), error)) return errorFileNotFound;
    if (!fs::is_empty(nativePath(path), error)) return 145;  // ERROR_DIR_NOT_EMPTY
    fs::remove(nativePath(path), error);
    return error ? errorAccessDenied : errorNone;
  }
  std::uint32_t deleteFile(std::string_view path) override {
    if (!veltrace::fileExists(path)) return errorFileNotFound;
    if (locked.count(lowered(path))) return errorSharingViolation;
    if (attributes(path) & attributeReadOnly) return errorAccessDenied;
    std::error_code error;
    fs::remove(nativePath(path), error);
    if (error) return errorAccessDenied;
    fileAttributes.erase(lowered(path));
    return errorNone;
  }
  std::uint16_t attributes(std::string_view path) override {
    if (!veltrace::fileExists(path) && !veltrace::folderExists(path)) return attributesAbsent;
    auto found = fileAttributes.find(lowered(path));
    return found == fileAttributes.end() ? attributeArchive : found->second;
  }
  bool setAttributes(std::string_view path, std::uint16_t value) override {
    if (attributes(path) == attributesAbsent) return false;
    fileAttributes[lowered(path)] = value;
    return true;
  }
  std::uint32_t moveFile(std::string_view from, std::string_view to) override {
    if (!veltrace::fileExists(from)) return errorFileNotFound;
    if (locked.count(lowered(to))) return errorSharingViolation;
    if (auto fault = moveFaults.find(lowered(to)); fault != moveFaults.end()) return fault->second;
    if (attributes(to) != attributesAbsent && (attributes(to) & attributeReadOnly)) return errorAccessDenied;
    std::error_code error;
    fs::rename(nativePath(from), nativePath(to), error);
    if (error) return errorAccessDenied;
    auto moved = fileAttributes.find(lowered(from));
    fileAttributes[lowered(to)] = moved == fileAttributes.end() ? attributeArchive : moved->second;
    if (moved != fileAttributes.end()) fileAttributes.erase(lowered(from));
    return errorNone;
  }
  bool copyFile(std::string_view from, std::string_view to, std::optional<std::uint64_t> length) override {
    auto content = readWholeFile(from);
    if (!content) return false;
    if (length) content->resize(std::min<std::uint64_t>(*length, content->size()));
    copiedLengths.push_back(content->size());
    return replaceFileWith(to, *content);
  }
  bool extractRecord(PackageReader& reader, const FileInfo& info, std::string_view path,
                     const std::function<void(std::uint32_t)>& progress) override {
    if (diskFull) {
      // The system writes what fits, then fails with error 112.
      replaceFileWith(path, "partial");
      return false;
    }
    bool done = reader.extractToFile(info, path, progress);
    // The attributes the extraction gave the file, in Windows' terms.
    if (done) fileAttributes[lowered(path)] = info.attributes & attributeApplyMask;
    return done;
  }
  std::vector<std::string> listFiles(std::string_view folder, std::string_view pattern) override {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(nativePath(folder), error))
      if (entry.is_regular_file() && matchesWildcard(entry.path().filename().string(), pattern))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string fullPath(std::string_view path) override { return withoutTrailingSeparators(std::string(path)); }
  std::string shortPath(std::string_view path) override {
    auto found = shortNames.find(lowered(path));
    return found == shortNames.end() ? std::string(path) : found->second;
  }
  std::string longPath(std::string_view path) override {
    auto found = longNames.find(lowered(path));
    return found == longNames.end() ? std::string(path) : found->second;
  }
  bool appendToFile(std::string_view path, std::string_view text) override {
    std::ofstream out(nativePath(path), std::ios::binary | std::ios::app);
    out << text;
    return bool(out);
  }
  std::optional<std::uint64_t> fileSize(std::string_view path) override {
    std::error_code error;
    auto size = fs::file_size(nativePath(path), error);
    if (error) return std::nullopt;
    return size;
  }
  bool setCurrentFolder(std::string_view path) override {
    currentFolders.emplace_back(path);
    return true;
  }
  bool isProtectedFile(std::string_view path) override { return protectedFiles.count(lowered(path)) != 0; }

  // --- restart ---
  std::uint32_t moveAtRestart(std::string_view from, std::string_view to) override {
    if (!moveFileExImplemented) return errorNotImplemented;
    restartMoves.push_back({std::string(from), std::string(to)});
    return errorNone;
  }
  bool writeIniValue(std::string_view file, std::string_view section, std::string_view key,
                     std::string_view value) override {
    iniWrites.push_back({std::string(file), std::string(section), std::string(key), std::string(value)});
    return true;
  }

  // --- registry ---
  bool registryKeyWritable(RegistryRoot, std::string_view) override { return registryWritable; }
  bool setRegistryString(RegistryRoot root, std::string_view key, std::string_view name,
                         std::string_view value) override {
    if (!registryWritable) return false;
    registry[{root, lowered(key), lowered(name)}] = RegistryValue{RegistryValueType::string, std::string(value)};
    return true;
  }
  bool setRegistryDword(RegistryRoot root, std::string_view key, std::string_view name,
                        std::uint32_t value) override {
    if (!registryWritable) return false;
    std::string data(4, '\0');
    for (int i = 0; i < 4; ++i) data[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    registry[{root, lowered(key), lowered(name)}] = RegistryValue{RegistryValueType::dword, data};
    return true;
  }
  bool deleteRegistryValue(RegistryRoot root, std::string_view key, std::string_view name) override {
    return registry.erase({root, lowered(key), lowered(name)}) > 0;
  }
  bool deleteRegistryTree(RegistryRoot root, std::string_view key) override {
    std::string prefix = lowered(key);
    bool any = false;
    for (auto at = registry.begin(); at != registry.end();) {
      const auto& [valueRoot, valueKey, name] = at->first;
      bool below = valueRoot == root && (valueKey == prefix || valueKey.rfind(prefix + "\\", 0) == 0);
      if (below) {
        at = registry.erase(at);
        any = true;
      } else {
        ++at;
      }
    }
    return any;
  }
  std::optional<std::uint32_t> dword(RegistryRoot root, std::string_view key, std::string_view name) const {
    auto value = registryValue(root, key, name);
    if (!value || value->type != RegistryValueType::dword) return std::nullopt;
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = number << 8 | static_cast<unsigned char>(value->data[i]);
    return number;
  }
  std::optional<std::string> text(RegistryRoot root, std::string_view key, std::string_view name) const {
    auto value = registryValue(root, key, name);
    if (!value) return std::nullopt;
    return value->data;
  }

  // --- registration ---
  bool registerLibrary(std::string_view path, bool unregister) override {
    registrations.push_back((unregister ? "unregister library " : "register library ") + std::string(path));
    return !failingRegistrations.count(lowered(path));
  }
  bool registerTypeLibrary(std::string_view path, bool unregister) override {
    registrations.push_back((unregister ? "unregister typelib " : "register typelib ") + std::string(path));
    return !failingRegistrations.count(lowered(path));
  }
  bool startProgram(std::string_view commandLine) override {
    registrations.push_back("start " + std::string(commandLine));
    return true;
  }

  // --- shell ---
  bool createShellLink(std::string_view linkPath, const ShellLinkData& link) override {
    if (!replaceFileWith(linkPath, "link")) return false;
    links[lowered(linkPath)] = link;
    return true;
  }
  std::optional<std::string> shellLinkTarget(std::string_view linkPath) override {
    auto found = links.find(lowered(linkPath));
    if (found == links.end() || !veltrace::fileExists(linkPath)) return std::nullopt;
    return found->second.target;
  }

  // --- processes, user, clock ---
  std::optional<std::vector<RunningProcess>> runningProcesses() override { return processes; }
  bool isAdministrator() override { return administrator; }
  SystemVersion systemVersion() override { return version; }
  LocalTime localTime() override { return LocalTime{2026, 12, 8, 3, 4, 5}; }
  std::uint64_t systemTimeAsFileTime() override { return 0x01DB123456789ABCull; }
  void sleep(unsigned milliseconds) override { slept += milliseconds; }

  // --- messages ---
  MessageAnswer showMessage(int id, std::string_view text, MessageButtons) override {
    messages.push_back({id, std::string(text)});
    if (answers.empty()) return MessageAnswer::cancel;
    MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }

  // --- the end of a run ---
  bool writeDeletionAgent(std::string_view path) override { return replaceFileWith(path, "agent"); }
  bool startDeletionAgent(std::string_view path, const std::string& commandBlock, std::string_view folder) override {
    agentPath = std::string(path);
    agentBlock = commandBlock;
    agentFolder = std::string(folder);
    return agentStarts;
  }
  bool restartWindows() override {
    ++restarts;
    return true;
  }

  // Runs the agent's passes over this system's files, as the real agent
  // would once the setup program has ended.
  int runAgent() {
    AgentSystem system{this, &agentDeleteFile, &agentRemoveFolder};
    std::string block = agentBlock;
    agentPasses = 0;
    return agentRun(block.data(), static_cast<unsigned>(block.size()), &system, [](unsigned) {});
  }

  std::uint8_t bit = platformWindowsXP;
  std::map<std::tuple<std::string, std::string, std::string>, std::string> ini;
  std::map<RegistryKey, RegistryValue> registry;
  bool registryWritable = true;
  std::map<std::string, std::uint16_t> fileAttributes;
  std::set<std::string> locked;  // open without sharing
  std::map<std::string, std::uint32_t> moveFaults;
  std::set<std::string> failingFolders;
  std::set<std::string> protectedFiles;
  std::set<std::string> failingRegistrations;
  std::map<std::string, std::string> shortNames;  // lowered long path -> short
  std::map<std::string, std::string> longNames;   // lowered short path -> long
  bool diskFull = false;
  bool moveFileExImplemented = true;
  std::vector<RestartMove> restartMoves;
  std::vector<std::tuple<std::string, std::string, std::string, std::string>> iniWrites;
  std::vector<std::uint64_t> copiedLengths;
  std::vector<std::string> currentFolders;
  std::vector<std::string> registrations;
  std::map<std::string, ShellLinkData> links;
  std::optional<std::vector<RunningProcess>> processes = std::vector<RunningProcess>{};
  bool administrator = true;
  SystemVersion version;
  unsigned slept = 0;
  std::vector<ShownMessage> messages;
  std::deque<MessageAnswer> answers;
  std::string agentPath, agentBlock, agentFolder;
  bool agentStarts = true;
  int agentPasses = 0;
  int restarts = 0;

 private:
  static int agentDeleteFile(void* context, const char* path) {
    auto* self = static_cast<FakeInstallPlatform*>(context);
    if (!veltrace::fileExists(path)) return agentAbsent;
    self->setAttributes(path, 0);
    return self->deleteFile(path) == errorNone ? agentDone : agentFailed;
  }
  static int agentRemoveFolder(void* context, const char* path) {
    auto* self = static_cast<FakeInstallPlatform*>(context);
    if (!veltrace::folderExists(path)) return agentAbsent;
    return self->removeFolder(path) == errorNone ? agentDone : agentFailed;
  }
};

}  // namespace veltrace::setup::test
