// Flushing the message log into the Messages pane late in a long session:
// 1,000 new lines into an edit control that already holds 1 MB of messages.
// Appending only the new text keeps this independent of what the pane holds;
// the figure to watch is the time of one flush (goal: 5 ms at most).
//
// usage: message_log_benchmark.exe [ROUNDS]

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/message_log_edit.h"

using namespace veltrace;
using namespace veltrace::app;

namespace {

constexpr int linesPerFlush = 1000;
constexpr std::size_t filledCharacters = 1'000'000;

// A line of the length of a usual log line (about 80 characters).
std::string logLine(int number) {
  return "Texture \"media\\textures\\stone_wall_" + std::to_string(number) +
         ".png\" loaded successfully ... (256 x 256)";
}

double milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  HWND edit = CreateWindowExA(0, "EDIT", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL |
                                                 ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_READONLY,
                              0, 0, 800, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!edit) {
    std::printf("message_log_benchmark: no edit control could be created\n");
    return 1;
  }

  MessageLog log;
  int number = 0;
  while (static_cast<std::size_t>(GetWindowTextLengthA(edit)) < filledCharacters) {
    for (int i = 0; i < linesPerFlush; ++i) log.append(logLine(number++));
    flushMessageLog(edit, log);
  }
  std::printf("pane filled with %d characters in %d lines\n", GetWindowTextLengthA(edit),
              static_cast<int>(SendMessageA(edit, EM_GETLINECOUNT, 0, 0)));

  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> times;
  for (int round = 0; round < rounds; ++round) {
    for (int i = 0; i < linesPerFlush; ++i) log.append(logLine(number++));
    QueryPerformanceCounter(&start);
    flushMessageLog(edit, log);
    QueryPerformanceCounter(&end);
    times.push_back(milliseconds(start, end, frequency));
  }
  std::sort(times.begin(), times.end());
  double median = times[times.size() / 2];
  std::printf("flush of %d lines into a pane of 1 MB or more: median %.2f ms, slowest %.2f ms over %d rounds "
              "(goal <= 5 ms) %s\n",
              linesPerFlush, median, times.back(), rounds, median <= 5.0 ? "met" : "MISSED");
  DestroyWindow(edit);
  return 0;
}
