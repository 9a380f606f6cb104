#include "setup/system_entries.h"

#include "base/text.h"
#include "setup/install_paths.h"

namespace veltrace::setup {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::uint32_t leadingNumber(std::string_view text, size_t& at) {
  std::uint32_t number = 0;
  while (at < text.size() && isDigit(text[at])) number = number * 10 + static_cast<std::uint32_t>(text[at++] - '0');
  return number;
}

std::string appPathsKeyOf(std::string_view programPath) {
  return std::string(appPathsKey) + "\\" + lastComponent(programPath);
}

bool on9xFamily(InstallPlatform& platform) { return !platform.systemVersion().ntFamily; }

}  // namespace

std::uint32_t readSharedCount(const std::optional<RegistryValue>& value) {
  if (!value) return 0;
  const std::string& data = value->data;
  switch (value->type) {
    case RegistryValueType::dword:
    case RegistryValueType::binary:
      if (data.size() != 4) return 0;
      return std::uint32_t(static_cast<unsigned char>(data[0])) |
             std::uint32_t(static_cast<unsigned char>(data[1])) << 8 |
             std::uint32_t(static_cast<unsigned char>(data[2])) << 16 |
             std::uint32_t(static_cast<unsigned char>(data[3])) << 24;
    case RegistryValueType::string:
    case RegistryValueType::expandableString: {
      size_t at = 0;
      return leadingNumber(data, at);
    }
    default:
      return 0;
  }
}

std::uint32_t sharedCount(InstallPlatform& platform, std::string_view path) {
  return readSharedCount(platform.registryValue(RegistryRoot::localMachine, sharedDllsKey, path));
}

void incrementSharedCount(InstallPlatform& platform, std::string_view path) {
  platform.setRegistryDword(RegistryRoot::localMachine, sharedDllsKey, path, sharedCount(platform, path) + 1);
}

std::uint32_t decrementSharedCount(InstallPlatform& platform, std::string_view path) {
  std::uint32_t count = sharedCount(platform, path);
  if (count <= 1) {
    platform.deleteRegistryValue(RegistryRoot::localMachine, sharedDllsKey, path);
    return 0;
  }
  platform.setRegistryDword(RegistryRoot::localMachine, sharedDllsKey, path, count - 1);
  return count - 1;
}

bool writeAppPaths(InstallContext& context) {
  std::string program = context.script.expand(context.script.settings().path);
  if (program.empty()) return true;
  InstallPlatform& platform = context.platform;
  bool shortForms = on9xFamily(platform);
  std::string key = appPathsKeyOf(program);
  bool done = platform.setRegistryString(RegistryRoot::localMachine, key, "",
                                         shortForms ? platform.shortPath(program) : program);
  std::string pathList = context.script.expand(context.script.settings().pathList);
  if (shortForms && !pathList.empty()) {
    // Every folder in its short form, or the list as it is when one fails.
    std::string converted;
    bool allConverted = true;
    size_t at = 0;
    for (;;) {
      size_t end = pathList.find(';', at);
      std::string folder = pathList.substr(at, end == std::string::npos ? std::string::npos : end - at);
      std::string shortFolder = folder.empty() ? folder : platform.shortPath(folder);
      if (!folder.empty() && shortFolder.empty()) allConverted = false;
      converted += shortFolder;
      if (end == std::string::npos) break;
      converted += ';';
      at = end + 1;
    }
    if (allConverted) pathList = converted;
  }
  if (pathList.empty())
    platform.deleteRegistryValue(RegistryRoot::localMachine, key, "Path");
  else
    done = platform.setRegistryString(RegistryRoot::localMachine, key, "Path", pathList) && done;
  context.log.event(done ? eventRegistryWritten : eventRegistryFailed, {key});
  return done;
}

void deleteAppPathsOf(InstallContext& context, std::string_view programPath) {
  InstallPlatform& platform = context.platform;
  std::string key = appPathsKeyOf(programPath);
  auto value = platform.registryValue(RegistryRoot::localMachine, key, "");
  if (!value) return;
  std::string named = value->data.substr(0, value->data.find('\0'));
  if (equalsIgnoringCase(named, programPath) || equalsIgnoringCase(named, platform.shortPath(programPath)))
    platform.deleteRegistryTree(RegistryRoot::localMachine, key);
}

std::string setupCommand(std::string_view shortSetupPath, std::string_view option) {
  std::string path(shortSetupPath);
  if (path.find(' ') != std::string::npos) path = "\"" + path + "\"";
  return path + " " + std::string(option);
}

VersionNumbers versionNumbers(std::string_view version) {
  VersionNumbers numbers;
  size_t at = 0;
  while (at < version.size() && (version[at] == ' ' || version[at] == '\t')) ++at;
  numbers.major = leadingNumber(version, at);
  if (at < version.size()) {
    ++at;
    numbers.minor = leadingNumber(version, at);
  }
  return numbers;
}

std::optional<std::pair<RegistryRoot, std::string>> uninstallKeyOf(const SetupScript& script) {
  std::string path = script.symbolValue(symbolUninstallRegPath);
  auto root = registryRootPrefix(path);
  if (!root) return std::nullopt;
  std::string key = path.substr(root->second);
  while (!key.empty() && key.front() == '\\') key.erase(0, 1);
  key = withoutTrailingSeparators(key);
  // An empty key would be the root itself: removal deletes this key with
  // everything below it.
  if (key.empty() || !hasOnlyPlainComponents(key)) return std::nullopt;
  return std::make_pair(root->first, key);
}

bool writeUninstallEntry(InstallContext& context) {
  SetupScript& script = context.script;
  InstallPlatform& platform = context.platform;
  auto key = uninstallKeyOf(script);
  if (!key) {
    context.log.event(eventRegistryFailed, {script.symbolValue(symbolUninstallRegPath)});
    return false;
  }
  RegistryRoot root = key->first;
  std::string keyPath = key->second;
  auto set = [&](std::string_view name, std::string_view value) {
    return platform.setRegistryString(root, keyPath, name, value);
  };
  std::string appFolder = context.appFolder();
  std::string setupPath = joinPath(appFolder, "Setup.exe");
  bool done = set("DisplayName", script.symbolValue(symbolUninstallTitle));
  done = set("UninstallString", setupCommand(platform.shortPath(setupPath), "/remove")) && done;
  if (!done) {
    context.log.event(eventRegistryFailed, {keyPath});
    return false;
  }
  const InstallSettings& settings = script.settings();
  std::string timestamp = script.value(script.section("Install", false), "Timestamp", "");
  if (!timestamp.empty()) set("InstallDate", timestamp);
  set("InstallLocation", appFolder);
  set("InstallSource", script.symbolValue(symbolSetupDir));
  std::string program = script.expand(settings.path);
  if (!program.empty()) set("DisplayIcon", program);
  std::string version = script.symbolValue(symbolAppVersion);
  set("DisplayVersion", version);
  set("Publisher", script.symbolValue(symbolCompany));
  if (context.options & optionWebSite) {
    std::string site = script.symbolValue(symbolWebSite);
    set("HelpLink", site);
    set("URLInfoAbout", site);
    set("URLUpdateInfo", site);
  }
  if (context.options & optionEmail) set("Contact", script.symbolValue(symbolEmail));
  if (context.options & optionTelephone) set("HelpTelephone", script.symbolValue(symbolTelephone));
  VersionNumbers numbers = versionNumbers(version);
  platform.setRegistryDword(root, keyPath, "VersionMajor", numbers.major);
  if (numbers.minor) platform.setRegistryDword(root, keyPath, "VersionMinor", *numbers.minor);
  context.log.event(eventRegistryWritten, {keyPath});
  return true;
}

bool writeRunOnceEntry(InstallContext& context) {
  InstallPlatform& platform = context.platform;
  std::uint64_t now = platform.systemTimeAsFileTime();
  std::string name = formatText("OVN%08lX%08lX", static_cast<unsigned long>(now >> 32),
                                static_cast<unsigned long>(now & 0xFFFFFFFFu));
  std::string setupPath = joinPath(context.appFolder(), "Setup.exe");
  if (!platform.setRegistryString(RegistryRoot::localMachine, runOnceKey, name,
                                  setupCommand(platform.shortPath(setupPath), "/register"))) {
    context.log.event(eventRegistryFailed, {runOnceKey, name});
    return false;
  }
  context.runOnceValueName = name;
  context.log.event(eventRegistryWritten, {runOnceKey, name});
  return true;
}

}  // namespace veltrace::setup
