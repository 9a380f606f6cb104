#include "app/help_system.h"

#include <oleauto.h>

#include <optional>
#include <vector>

#include "app/help_file.h"

namespace veltrace::app {

namespace {

// Commands of the documented HtmlHelp interface.
constexpr UINT helpDisplayTopic = 0x0000;   // HH_DISPLAY_TOPIC
constexpr UINT helpDisplayContents = 0x0001;  // HH_DISPLAY_TOC
constexpr UINT helpCloseAll = 0x0012;       // HH_CLOSE_ALL
constexpr UINT helpGetLastError = 0x0014;   // HH_GET_LAST_ERROR

// HH_LAST_ERROR: filled by HH_GET_LAST_ERROR; the caller frees description.
struct HelpLastError {
  int cbStruct;
  HRESULT hr;
  BSTR description;
};

std::string narrowText(const wchar_t* wide) {
  int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::vector<char> text(static_cast<size_t>(size));
  WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), size, nullptr, nullptr);
  return std::string(text.data());
}

}  // namespace

HelpSystem::HelpSystem(std::string helpFile) : helpFile_(std::move(helpFile)) {}

HelpSystem::~HelpSystem() { closeAll(); }

HWND HelpSystem::showContents(HWND owner, MessageLog& log) {
  return open(owner, {}, helpDisplayContents, log);
}

HWND HelpSystem::showTopic(HWND owner, const std::string& topic, MessageLog& log) {
  return open(owner, topic, helpDisplayTopic, log);
}

void HelpSystem::closeAll() {
  if (htmlHelp_) htmlHelp_(nullptr, nullptr, helpCloseAll, 0);
}

HelpSystem::HtmlHelpFunction HelpSystem::viewer() {
  static HtmlHelpFunction function = [] {
    HMODULE module = LoadLibraryA("hhctrl.ocx");
    if (!module) return HtmlHelpFunction{};
    return reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(GetProcAddress(module, "HtmlHelpA")));
  }();
  return function;
}

HWND HelpSystem::open(HWND owner, const std::string& topic, UINT command, MessageLog& log) {
  htmlHelp_ = viewer();
  if (!htmlHelp_) {
    log.append("ERROR! The help viewer hhctrl.ocx could not be loaded to open \"" + helpFile_ + "\".");
    return nullptr;
  }
  std::string location = helpFile_ + topic;
  HWND window = htmlHelp_(owner, location.c_str(), command, 0);
  if (!window) reportFailure(topic, log);
  return window;
}

void HelpSystem::reportFailure(const std::string& topic, MessageLog& log) {
  HelpLastError lastError{};
  lastError.cbStruct = sizeof lastError;
  htmlHelp_(nullptr, nullptr, helpGetLastError, reinterpret_cast<DWORD_PTR>(&lastError));

  std::optional<std::string> description;
  if (lastError.description) {
    description = narrowText(lastError.description);
    SysFreeString(lastError.description);
  }
  bool systemDescribed = description && !description->empty();
  log.append(helpFailureLine(description, helpFile_, topic));
  if (systemDescribed) closeAll();
}

}  // namespace veltrace::app
