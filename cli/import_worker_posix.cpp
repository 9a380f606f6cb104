// The import worker as a child process of veltrace-cli, watched from here.

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <new>
#include <thread>

#include "base/files.h"
#include "cli/import_worker.h"

namespace veltrace::cli {

namespace {

// How the child ends: 0 done, refusedExit (both with their text on the
// pipe), outOfMemoryExit when an allocation failed. Any other end is a
// crash: codes not used by runtimes or sanitizers for their own deaths.
constexpr int refusedExit = 10;
constexpr int outOfMemoryExit = 11;

void writeAll(int fd, const std::string& text) {
  const char* data = text.data();
  size_t left = text.size();
  while (left > 0) {
    ssize_t written = ::write(fd, data, left);
    if (written <= 0) return;
    data += written;
    left -= static_cast<size_t>(written);
  }
}

[[noreturn]] void runChild(const std::function<WorkReport()>& work, int reportFd) {
  // A crash should not leave a core file behind; an allocation that fails
  // ends the worker as out of memory, whatever the library does with it.
  rlimit noCore{0, 0};
  ::setrlimit(RLIMIT_CORE, &noCore);
  // A fault in the library ends the child by its signal, which names the
  // crash, rather than in a handler a sanitizer may have installed.
  for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) ::signal(signal, SIG_DFL);
  std::set_new_handler([] { ::_exit(outOfMemoryExit); });
  WorkReport report;
  try {
    report = work();
  } catch (const std::bad_alloc&) {
    ::_exit(outOfMemoryExit);
  } catch (const std::exception& e) {
    report = {false, std::string("the import library failed: ") + e.what()};
  } catch (...) {
    report = {false, "the import library failed"};
  }
  writeAll(reportFd, report.text);
  // _exit: the parent's buffered output and exit handlers are not the
  // child's to run.
  ::_exit(report.done ? 0 : refusedExit);
}

long long residentBytes(pid_t pid) {
  std::ifstream statm("/proc/" + std::to_string(pid) + "/statm");
  long long pages = 0, resident = 0;
  if (!(statm >> pages >> resident)) return 0;
  return resident * ::sysconf(_SC_PAGESIZE);
}

void drain(int fd, std::string& text) {
  char buffer[4096];
  ssize_t got;
  while ((got = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(got));
}

}  // namespace

ImportResult runImportWork(const std::function<WorkReport()>& work, const ImportLimits& limits) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return {ImportEnd::notStarted, "the import worker could not be started", {}};
  ::fflush(nullptr);  // nothing buffered is written twice
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    return {ImportEnd::notStarted, "the import worker could not be started", {}};
  }
  if (child == 0) {
    ::close(pipeFds[0]);
    runChild(work, pipeFds[1]);
  }
  ::close(pipeFds[1]);
  ::fcntl(pipeFds[0], F_SETFL, O_NONBLOCK);

  // Watched every few milliseconds: memory, time, and the report.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(limits.seconds);
  std::string text;
  ImportEnd stoppedFor = ImportEnd::written;
  int status = 0;
  for (;;) {
    drain(pipeFds[0], text);
    pid_t ended = ::waitpid(child, &status, WNOHANG);
    if (ended == child) break;
    if (ended < 0) {
      status = 0;
      stoppedFor = ImportEnd::crashed;
      break;
    }
    if (residentBytes(child) > limits.memoryBytes) stoppedFor = ImportEnd::outOfMemory;
    else if (std::chrono::steady_clock::now() >= deadline) stoppedFor = ImportEnd::outOfTime;
    if (stoppedFor != ImportEnd::written) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  drain(pipeFds[0], text);
  ::close(pipeFds[0]);

  if (stoppedFor != ImportEnd::written) return {stoppedFor, {}, {}};
  if (WIFEXITED(status)) {
    switch (WEXITSTATUS(status)) {
      case 0: return {ImportEnd::written, {}, text};
      case refusedExit: return {ImportEnd::refused, text, {}};
      case outOfMemoryExit: return {ImportEnd::outOfMemory, {}, {}};
      default: return {ImportEnd::crashed, "the import worker ended with code " + std::to_string(WEXITSTATUS(status)), {}};
    }
  }
  if (WIFSIGNALED(status)) {
    const int signal = WTERMSIG(status);
    if (signal == SIGXCPU) return {ImportEnd::outOfTime, {}, {}};
    const char* name = ::strsignal(signal);
    return {ImportEnd::crashed, std::string("the import library crashed (") + (name ? name : "signal") + ")", {}};
  }
  return {ImportEnd::crashed, "the import worker ended abnormally", {}};
}

bool placeNewFile(const std::string& temporaryCorePath, const std::string& finalCorePath) {
  // A hard link is made only where no file has the name yet.
  const std::string from = nativePath(temporaryCorePath).string();
  const std::string to = nativePath(finalCorePath).string();
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  return true;
}

}  // namespace veltrace::cli
