#pragma once
// The main window: menu bar, toolbar and status bar from the command
// table, the preview view in the middle and the three docking bars around
// it ("Workspace" left, "Parameter" right, "Messages" bottom), which can be
// resized, hidden, docked on any side or floated. It also answers the
// document's questions (message boxes, file dialogs) and hands the scene to
// the view.

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "app/message_log.h"
#include "app/veltrace_doc.h"
#include "app/veltrace_view.h"
#include "panes/frame/dock_layout.h"
#include "panes/frame/floating_bar.h"
#include "panes/frame/frame_commands.h"
#include "panes/frame/messages_view.h"
#include "panes/frame/parameter_view.h"
#include "panes/frame/recent_files.h"
#include "panes/frame/sizing_control_bar.h"
#include "panes/frame/workspace_view.h"
#include "panes/workspace/pane_factory.h"
#include "panes/workspace/recovery_copy.h"
#include "panes/workspace/workspace_commands.h"
#include "panes/workspace/workspace_tree.h"
#include "ui/command_table.h"
#include "ui/handles.h"
#include "ui/window.h"

namespace veltrace::panes {

inline constexpr char mainFrameClassName[] = "VeltraceMainFrame";

class CMainFrame : public ui::Window,
                   public DockHost,
                   public DocumentUi,
                   public WorkspaceUi,
                   public PaneFactory {
 public:
  CMainFrame(std::string programFolder, MessageLog& log);
  ~CMainFrame() override;

  // Creates the frame, its bars and the view, hidden, with the view's
  // client area at the stored size. False when a window cannot be made.
  bool create();
  // The view's first update: the device. False when none could be made.
  bool firstUpdate();

  // Lets the frame see a message before it is dispatched: accelerators and
  // the keyboard indicators. True when the message was used up.
  bool preTranslate(MSG& message);
  // Dialog keys (Tab) for the panes in the bars.
  bool routeDialogMessage(MSG& message);
  // One idle pass of the application; true while more are wanted.
  bool idle(long pass);

  CVeltraceView& view() { return view_; }
  CVeltraceDoc& document() { return document_; }
  const ui::CommandTable& commands() const { return commands_; }
  DockLayout& layout() { return layout_; }
  CViewBar& bar(int barCommand);
  CVeltraceViewMessages& messagesView() { return messagesView_; }
  CVeltraceViewParameter& parameterView() { return parameterView_; }
  CVeltraceViewWorkspace& workspaceView() { return workspaceView_; }
  HWND statusBar() const { return statusBar_; }
  HWND toolbar() const { return toolbar_; }
  const RecentFiles& recentFiles() const { return recent_; }

  // Runs a command as the menu would.
  bool runCommand(int id) { return commands_.execute(id); }

  // Puts the bars and the view where the layout says.
  void arrange();

  // DockHost
  void barResized(int barId, int newSize) override;
  void barHidden(int barId) override;
  void barDropped(int barId, POINT screenPoint) override;

  // After start-up: offers the workspace a session that ended without
  // closing left behind, and starts keeping a recovery copy. True when the
  // recovered workspace was restored.
  bool offerRecovery();

  // DocumentUi (confirm also serves WorkspaceUi)
  bool confirm(const std::string& text, const std::string& caption) override;
  std::optional<std::string> chooseFileToOpen(const FileDialogSpec& spec) override {
    return runFileDialog(spec, false);
  }
  std::optional<std::string> chooseFileToSave(const FileDialogSpec& spec) override {
    return runFileDialog(spec, true);
  }
  std::optional<ModelChoice> chooseModelToImport(const FileDialogSpec& spec) override;
  ImportResult runModelImport(const std::string& modelPath, const std::string& scenePath, bool keepUnits) override;
  void sceneLoadStarting() override;
  void sceneLoadFinished() override;
  void setDrawnScene(Scene* scene) override;
  void releaseTexturesAndShaders() override;
  void setTitle(const std::string& title) override { Window::setTitle(title); }
  void workspaceChanged() override;
  void workspaceFileUsed(const std::string& path) override;
  WorkspaceHooks treeHooks() override;
  void workspaceOpened() override;
  void workspaceSaved() override;

  // WorkspaceUi
  std::optional<std::string> chooseFile(const FileDialogRequest& request) override;
  void loadScene() override { document_.loadScene(""); }
  void deleteScene() override;
  void effectDeleting(Effect& effect) override { view_.renderer.forgetEffect(effect); }
  void beforeDiscard() override;

  // PaneFactory
  std::unique_ptr<Pane> createPane(const PaneRequest& request) override;

  // Tests answer the questions and dialogs instead of a person.
  std::function<std::optional<bool>(const std::string& text, const std::string& caption)> answerQuestion;
  std::function<std::optional<std::string>(const FileDialogSpec& spec, bool save)> answerFileDialog;
  std::function<std::optional<ModelChoice>(const FileDialogSpec& spec)> answerModelDialog;
  // The import worker; empty for veltrace-cli.exe beside the program.
  std::string importWorkerPath;

 protected:
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  FrameActions makeActions();
  std::unique_ptr<Pane> makePane(const PaneRequest& request);
  void placeNewPanes(const std::vector<HWND>& before);
  std::optional<std::string> runFileDialog(const FileDialogSpec& spec, bool save);
  bool createBars();
  void toggleBar(int barCommand);
  void showBar(int barCommand, bool visible);
  void applyBarPlacement(int barCommand);
  void updateIndicators();
  void showPrompt(const std::string& text);
  void rebuildRecentMenu();
  void loadRecentFiles();
  void saveRecentFiles() const;
  void showAbout();
  void editFocused(int editCommand);
  Rectangle dockArea() const;
  size_t barIndex(int barCommand) const;

  std::string programFolder_;
  MessageLog& log_;
  CVeltraceDoc document_;
  CVeltraceView view_;
  ui::CommandTable commands_;
  ui::MenuHandle menu_;
  ui::AcceleratorHandle accelerators_;
  HWND toolbar_ = nullptr;
  HWND statusBar_ = nullptr;
  DockLayout layout_;
  std::array<std::unique_ptr<CViewBar>, 3> bars_;
  std::array<std::unique_ptr<FloatingBar>, 3> floating_;
  CVeltraceViewWorkspace workspaceView_;
  CVeltraceViewParameter parameterView_;
  CVeltraceViewMessages messagesView_;
  RecentFiles recent_{recentWorkspaceCount};
  SceneInformationRequest sceneInformation_;
  RecoveryCopy recovery_;
  // Panes open cascaded over the preview, each a step further than the last.
  int panesPlaced_ = 0;
  ui::FontHandle statusFont_;
};

}  // namespace veltrace::panes
