#include "setup/package_search.h"

#include "base/files.h"
#include "base/text.h"
#include "setup/package_locator.h"

namespace veltrace::setup {

namespace {

bool hasExtension(std::string_view path, std::string_view extension) {
  return path.size() >= extension.size() && equalsIgnoringCase(path.substr(path.size() - extension.size()), extension);
}

std::string joined(const std::string& folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  if (folder.back() == '\\') return folder + std::string(name);
  return folder + "\\" + std::string(name);
}

PackageFound failed(const std::string& path) {
  PackageFound found;
  found.exitCode = exitCodePackageInvalid;
  found.chosenPath = path;
  found.failureMessage = formatText(messageDatabaseInvalid, path.c_str());
  return found;
}

}  // namespace

PackageFound findAndLoadPackage(const PackageSearch& search, PackageReader& reader, SetupScript& script,
                                MessageLog& log) {
  reader.close();
  std::string path;
  if (!search.commandLinePath.empty()) {
    path = search.commandLinePath;
  } else if (auto locator = readPackageLocator(search.setupProgramPath)) {
    path = search.setupProgramPath;
    if (reader.open(path, locator->packageOffset) != 0) {
      log.append(formatText("No package at offset %u of \"%s\".", locator->packageOffset, path.c_str()));
      return failed(path);
    }
  } else {
    path = joined(search.currentFolder, scriptRecordName);
    if (!fileExists(path)) {
      path = joined(folderPart(search.setupProgramPath), scriptRecordName);
      if (!fileExists(path)) {
        log.append("No package and no \"Setup.ini\" found.");
        return failed(path);
      }
    }
  }

  if (!reader.isOpen()) {
    if (hasExtension(path, ".ovz")) {
      if (reader.open(path, 0) != 0) {
        log.append(formatText("\"%s\" is not a setup package.", path.c_str()));
        return failed(path);
      }
    } else if (hasExtension(path, ".ini")) {
      if (!script.loadScriptFile(path, log)) return failed(path);
    } else {
      log.append(formatText("\"%s\" is neither a package nor a script.", path.c_str()));
      return failed(path);
    }
  }
  if (reader.isOpen() && !reader.loadScript(script, log)) {
    reader.close();
    return failed(path);
  }

  PackageFound found;
  found.ok = true;
  found.chosenPath = path;
  found.hasArchive = reader.isOpen();
  found.workingFolder = folderPart(path);
  if (found.workingFolder.size() > 1 && found.workingFolder.back() == '\\' &&
      found.workingFolder[found.workingFolder.size() - 2] != ':')
    found.workingFolder.pop_back();
  return found;
}

}  // namespace veltrace::setup
