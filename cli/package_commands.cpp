// veltrace-cli package: builds setup packages, attaches them to the setup
// program, lists and extracts them.

#include <ctime>
#include <iostream>

#include "base/files.h"
#include "base/text.h"
#include "cli/groups.h"
#include "setup/package_locator.h"
#include "setup/package_reader.h"
#include "setup/packager.h"

namespace veltrace::cli {

namespace {

using namespace veltrace::setup;

void printPackageUsage(std::ostream& out) {
  out << "usage: veltrace-cli package COMMAND ARGS\n"
         "\n"
         "Commands:\n"
         "  build SETUP.INI PAYLOAD_DIR -o OUT.ovz   pack the script and the files its File lines name\n"
         "  attach SETUP.EXE PACKAGE.ovz -o OUT.EXE  append the package to the setup program\n"
         "  list FILE                                records of a package or of a setup program\n"
         "  extract FILE DIR                         write every record below DIR\n"
         "\n"
         "Exit codes: 0 done, 1 failed, 2 bad usage.\n";
}

void flushLog(MessageLog& log, std::ostream& err) {
  for (const auto& line : log.takePending()) err << "veltrace-cli package: " << line << "\n";
}

int usageError(const Context& context, const std::string& problem) {
  return cli::usageError(context, "package", problem);
}

// Empty, or what is wrong: here every option is unknown.
std::string checkNoOptions(const Arguments& arguments) {
  for (const auto& argument : arguments)
    if (isOption(argument)) return "unknown option '" + argument + "'";
  return {};
}

// Splits "-o OUT" off the arguments; empty when all is well, else what is
// wrong with the options.
std::string takeOutput(Arguments& arguments, std::string& output) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] != "-o") continue;
    if (i + 1 >= arguments.size()) return "-o needs a file name";
    if (!output.empty()) return "-o given twice";
    output = arguments[i + 1];
    arguments.erase(arguments.begin() + static_cast<long>(i), arguments.begin() + static_cast<long>(i) + 2);
    --i;
  }
  return checkNoOptions(arguments);
}

// A setup program with a valid locator is opened at its package; anything
// else as a bare container.
bool openPackage(const std::string& path, PackageReader& reader) {
  if (auto locator = readPackageLocator(path)) return reader.open(path, locator->packageOffset) == 0;
  return reader.open(path, 0) == 0;
}

// Opens the package named on the command line, or says why not.
bool openPackageArgument(const Context& context, const std::string& argument, PackageReader& reader) {
  std::string path = corePathFromArgument(argument);
  if (openPackage(path, reader)) return true;
  if (!fileExists(path))
    context.err << "veltrace-cli package: cannot read '" << argument << "'\n";
  else
    context.err << "veltrace-cli package: '" << argument << "' holds no setup package\n";
  return false;
}

std::string formatFileTime(std::uint64_t fileTime) {
  constexpr std::uint64_t ticksPerSecond = 10'000'000;
  constexpr std::uint64_t unixEpochSeconds = 11644473600ull;
  if (fileTime == 0) return "-";
  std::uint64_t seconds = fileTime / ticksPerSecond;
  if (seconds < unixEpochSeconds) return "before 1970";
  std::time_t unixTime = static_cast<std::time_t>(seconds - unixEpochSeconds);
  std::tm parts{};
#ifdef _WIN32
  if (gmtime_s(&parts, &unixTime) != 0) return "?";
#else
  if (!gmtime_r(&unixTime, &parts)) return "?";
#endif
  return formatText("%04d-%02d-%02d %02d:%02d:%02d", parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                    parts.tm_hour, parts.tm_min, parts.tm_sec);
}

int runBuild(const Context& context, Arguments arguments) {
  std::string output;
  std::string problem = takeOutput(arguments, output);
  if (!problem.empty()) return usageError(context, problem);
  if (output.empty() || arguments.size() != 2)
    return usageError(context, "build needs SETUP.INI PAYLOAD_DIR -o OUT.ovz");
  MessageLog log;
  auto container = buildPackage(corePathFromArgument(arguments[0]), corePathFromArgument(arguments[1]), log);
  flushLog(log, context.err);
  if (!container) return exitFailure;
  if (!replaceFileWith(corePathFromArgument(output), *container)) {
    context.err << "veltrace-cli package: cannot write '" << output << "'\n";
    return exitFailure;
  }
  context.out << "Package '" << output << "' written (" << container->size() << " bytes).\n";
  return exitSuccess;
}

int runAttach(const Context& context, Arguments arguments) {
  std::string output;
  std::string problem = takeOutput(arguments, output);
  if (!problem.empty()) return usageError(context, problem);
  if (output.empty() || arguments.size() != 2)
    return usageError(context, "attach needs SETUP.EXE PACKAGE.ovz -o OUT.EXE");
  auto program = readWholeFile(corePathFromArgument(arguments[0]));
  auto container = readWholeFile(corePathFromArgument(arguments[1]));
  if (!program || !container) {
    context.err << "veltrace-cli package: cannot read '" << (program ? arguments[1] : arguments[0]) << "'\n";
    return exitFailure;
  }
  if (container->size() < containerHeaderSize || container->compare(0, 4, "ovz1") != 0) {
    context.err << "veltrace-cli package: '" << arguments[1] << "' is not a setup package\n";
    return exitFailure;
  }
  MessageLog log;
  auto image = attachPackage(*program, *container, log);
  flushLog(log, context.err);
  if (!image) return exitFailure;
  if (!replaceFileWith(corePathFromArgument(output), *image)) {
    context.err << "veltrace-cli package: cannot write '" << output << "'\n";
    return exitFailure;
  }
  context.out << "Setup program '" << output << "' written (" << image->size() << " bytes).\n";
  return exitSuccess;
}

int runList(const Context& context, const Arguments& arguments) {
  std::string problem = checkNoOptions(arguments);
  if (!problem.empty()) return usageError(context, problem);
  if (arguments.size() != 1) return usageError(context, "list needs FILE");
  PackageReader reader;
  if (!openPackageArgument(context, arguments[0], reader)) return exitFailure;
  context.out << formatText("%-44s %10s  %-19s  %-15s  %-15s  %s\n", "name", "size", "time (UTC)", "file version",
                            "product version", "attributes");
  unsigned records = 0;
  for (;;) {
    FileInfo info;
    std::string name;
    RecordRead read = reader.readHeader(info, name);
    if (read == RecordRead::endOfArchive) break;
    if (read == RecordRead::failed || !reader.skipData(info)) {
      context.err << "veltrace-cli package: the package is damaged after " << records << " records\n";
      return exitFailure;
    }
    ++records;
    context.out << formatText("%-44s %10u  %-19s  %-15s  %-15s  0x%04X\n", name.c_str(), info.size,
                              formatFileTime(info.lastWriteTime).c_str(),
                              formatVersion(info.fileVersionHigh, info.fileVersionLow).c_str(),
                              formatVersion(info.productVersionHigh, info.productVersionLow).c_str(),
                              info.attributes);
  }
  context.out << records << " records\n";
  return exitSuccess;
}

// Creates every folder between `root` and the record's own file.
bool createFoldersFor(const std::string& root, const std::string& name) {
  std::string path = root;
  size_t start = 0;
  for (size_t separator = name.find('\\'); separator != std::string::npos; separator = name.find('\\', start)) {
    path += "\\" + name.substr(start, separator - start);
    if (createFolder(path) == FolderResult::failed) return false;
    start = separator + 1;
  }
  return true;
}

int runExtract(const Context& context, const Arguments& arguments) {
  std::string problem = checkNoOptions(arguments);
  if (!problem.empty()) return usageError(context, problem);
  if (arguments.size() != 2) return usageError(context, "extract needs FILE DIR");
  PackageReader reader;
  if (!openPackageArgument(context, arguments[0], reader)) return exitFailure;
  std::string folder = corePathFromArgument(arguments[1]);
  while (folder.size() > 1 && folder.back() == '\\') folder.pop_back();
  if (createFolder(folder) == FolderResult::failed) {
    context.err << "veltrace-cli package: cannot create '" << arguments[1] << "'\n";
    return exitFailure;
  }
  unsigned records = 0;
  for (;;) {
    FileInfo info;
    std::string name;
    RecordRead read = reader.readHeader(info, name);
    if (read == RecordRead::endOfArchive) break;
    if (read == RecordRead::failed) {
      context.err << "veltrace-cli package: the package is damaged after " << records << " records\n";
      return exitFailure;
    }
    std::string relative = corePathFromArgument(name);
    if (!isSafeRelativePath(relative)) {
      context.err << "veltrace-cli package: refusing the record name '" << name << "': it leaves the target folder\n";
      return exitFailure;
    }
    std::string target = folder + "\\" + relative;
    if (!createFoldersFor(folder, relative) || !reader.extractToFile(info, target, nullptr)) {
      context.err << "veltrace-cli package: cannot extract '" << name << "'\n";
      return exitFailure;
    }
    ++records;
  }
  context.out << records << " records extracted to '" << arguments[1] << "'\n";
  return exitSuccess;
}

}  // namespace

int runPackageGroup(const Context& context, const Arguments& arguments) {
  if (arguments.empty()) return usageError(context, "no command given");
  const std::string& command = arguments[0];
  Arguments rest(arguments.begin() + 1, arguments.end());
  if (command == "help" || asksForHelp(arguments)) {
    printPackageUsage(context.out);
    return exitSuccess;
  }
  if (command == "build") return runBuild(context, rest);
  if (command == "attach") return runAttach(context, rest);
  if (command == "list") return runList(context, rest);
  if (command == "extract") return runExtract(context, rest);
  return usageError(context, "unknown command '" + command + "'");
}

}  // namespace veltrace::cli
