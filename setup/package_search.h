#pragma once
// How the setup program finds its package and script at start-up:
//   1. the path named on the command line, as it is;
//   2. else its own file, when the DOS header's locator is valid;
//   3. else "Setup.ini" in the current folder, then beside the program.
// A ".ovz" path is opened as a container, a ".ini" path parsed as a plain
// script; with a container open the script is its first record. Any failure
// ends start-up with message 131 and exit code 3.

#include <string>

#include "app/message_log.h"
#include "setup/package_reader.h"
#include "setup/setup_script.h"

namespace veltrace::setup {

constexpr int exitCodePackageInvalid = 3;
// Message 131, filled in with the path.
inline constexpr const char* messageDatabaseInvalid =
    "%s\n\nThe installation database is not valid.\n\nThe installation will be cancelled.";

struct PackageSearch {
  std::string commandLinePath;   // empty when the command line named none
  std::string setupProgramPath;  // the program's own path, as recorded at start-up
  std::string currentFolder;     // empty: relative paths stay relative
};

struct PackageFound {
  bool ok = false;
  int exitCode = 0;            // exitCodePackageInvalid on failure
  std::string chosenPath;      // the package or script in use
  bool hasArchive = false;     // false: files are copied from beside a plain script
  std::string workingFolder;   // the caller makes this the current folder
  std::string failureMessage;  // message 131; shown unless the run is quiet
};

PackageFound findAndLoadPackage(const PackageSearch& search, PackageReader& reader, SetupScript& script,
                                MessageLog& log);

}  // namespace veltrace::setup
