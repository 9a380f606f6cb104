#pragma once
// Running the model import where a misbehaving import library can do no
// harm, and putting its scene file in place.

#include <functional>
#include <string>

#include "app/model_import.h"

namespace veltrace::cli {

// What the work reports: done (with a summary of what it wrote) or refused
// (with the reason).
struct WorkReport {
  bool done = false;
  std::string text;
};

// Natively the work runs in a child process that is stopped when its
// resident memory passes the limit or the time runs out; a crash of the
// child ends only the child. In the Windows build the work runs in this
// process: the program starts veltrace-cli.exe inside a job object that
// holds the same limits.
ImportResult runImportWork(const std::function<WorkReport()>& work, const ImportLimits& limits);

// Moves the finished file to its name, never over a file that exists
// (even one that appeared while the import ran). False when it cannot.
bool placeNewFile(const std::string& temporaryCorePath, const std::string& finalCorePath);

}  // namespace veltrace::cli
