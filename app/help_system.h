#pragma once
// Opens the compiled help file through the platform's HTML Help viewer
// (hhctrl.ocx, loaded when help is first asked for). A window that does not
// open is reported as one message-log line; nothing else happens.

#include <windows.h>

#include <string>

#include "app/message_log.h"

namespace veltrace::app {

class HelpSystem {
 public:
  // helpFile: the full path of the .chm (the viewer does not search for it).
  explicit HelpSystem(std::string helpFile);
  // Closes every help window. The viewer stays loaded for the rest of the
  // process: its window class would otherwise point into an unloaded module.
  ~HelpSystem();
  HelpSystem(const HelpSystem&) = delete;
  HelpSystem& operator=(const HelpSystem&) = delete;

  // The table of contents, for the owner window. Returns the help window, or
  // nullptr after logging why not.
  HWND showContents(HWND owner, MessageLog& log);

  // One page, given as a topic string such as help_topic::color.
  HWND showTopic(HWND owner, const std::string& topic, MessageLog& log);

  void closeAll();

  const std::string& helpFile() const { return helpFile_; }

 private:
  using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

  // hhctrl.ocx's HtmlHelpA, loaded on first use; nullptr when unavailable.
  static HtmlHelpFunction viewer();

  HWND open(HWND owner, const std::string& topic, UINT command, MessageLog& log);
  void reportFailure(const std::string& topic, MessageLog& log);

  std::string helpFile_;
  HtmlHelpFunction htmlHelp_ = nullptr;  // set once a window was asked for
};

}  // namespace veltrace::app
