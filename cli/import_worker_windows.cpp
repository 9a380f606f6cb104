// The Windows veltrace-cli.exe is itself the import worker: the program
// starts it inside a job object that holds the memory and time limits, so
// the work runs here, in this process.

#include <windows.h>

#include <new>

#include "base/files.h"
#include "cli/import_worker.h"

namespace veltrace::cli {

namespace {

// A fault in the import library ends the worker at once with the
// exception's code, which the program reports; no error dialog or debugger
// is to hold it up.
LONG WINAPI endWithExceptionCode(EXCEPTION_POINTERS* exception) {
  TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

ImportResult runImportWork(const std::function<WorkReport()>& work, const ImportLimits&) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(endWithExceptionCode);
  try {
    WorkReport report = work();
    if (report.done) return {ImportEnd::written, {}, report.text};
    return {ImportEnd::refused, report.text, {}};
  } catch (const std::bad_alloc&) {
    return {ImportEnd::outOfMemory, {}, {}};
  } catch (const std::exception& e) {
    return {ImportEnd::refused, std::string("the import library failed: ") + e.what(), {}};
  }
}

bool placeNewFile(const std::string& temporaryCorePath, const std::string& finalCorePath) {
  // Without MOVEFILE_REPLACE_EXISTING the move fails where the name is taken.
  return MoveFileExW(nativePath(temporaryCorePath).c_str(), nativePath(finalCorePath).c_str(), 0) != 0;
}

}  // namespace veltrace::cli
