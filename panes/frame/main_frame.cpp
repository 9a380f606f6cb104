#include "panes/frame/main_frame.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "app/frame_strings.h"
#include "app/import_worker_process.h"
#include "app/model_file_dialog.h"
#include "base/files.h"
#include "app/resource_ids.h"
#include "panes/frame/toolbar_images.h"
#include "panes/shader/shader_pane.h"
#include "panes/states/state_pane_factory.h"
#include "panes/workspace/render_settings_pane.h"
#include "render/preview/preview_messages.h"
#include "ui/command_ui.h"
#include "ui/dialog.h"
#include "ui/file_dialog.h"

namespace veltrace::panes {

namespace {

constexpr int toolbarId = 0xE800;
constexpr int statusBarId = 0xE801;
constexpr int viewId = 0xE900;
constexpr UINT_PTR recoveryTimer = 1;

// The three bars in the order the View menu lists them: their command, title
// and the side they start on.
struct BarStart {
  int command;
  int title;  // in the string table
  DockSide side;
};
constexpr BarStart barStarts[] = {
    {commandViewWorkspace, stringWorkspaceBar, DockSide::left},
    {commandViewMessages, stringMessagesBar, DockSide::bottom},
    {commandViewParameter, stringParameterBar, DockSide::right},
};

// A text of the program's string table.
std::string resourceText(int id) {
  char text[256] = {};
  int length = LoadStringA(ui::programInstance(), static_cast<UINT>(id), text, sizeof text);
  return std::string(text, static_cast<size_t>(std::max(length, 0)));
}

constexpr char recentListKey[] = "Software\\Veltrace\\Veltrace\\Recent File List";

}  // namespace

CMainFrame::CMainFrame(std::string programFolder, MessageLog& log)
    : programFolder_(programFolder),
      log_(log),
      document_(programFolder, log, *this),
      view_(programFolder, log),
      recovery_(programFolder) {
  commands_ = makeFrameCommands(makeActions());
  for (const BarStart& start : barStarts) {
    DockedBar bar;
    bar.id = start.command;
    bar.side = start.side;
    bar.lastDockedSide = start.side;
    bar.columnWidth = start.command == commandViewParameter ? 250 : 220;
    bar.rowHeight = 140;
    layout_.add(bar);
  }
}

CMainFrame::~CMainFrame() = default;

FrameActions CMainFrame::makeActions() {
  FrameActions actions;
  actions.newWorkspace = [this] { document_.newWorkspace(); };
  actions.openWorkspace = [this] { document_.openWorkspace(); };
  actions.saveWorkspace = [this] { document_.saveWorkspace(); };
  actions.loadScene = [this] { document_.loadScene(""); };
  actions.importModel = [this] { document_.importModel(""); };
  actions.exit = [this] { PostMessageA(handle(), WM_CLOSE, 0, 0); };
  actions.toggleBar = [this](int bar) { toggleBar(bar); };
  actions.barVisible = [this](int bar) { return layout_.isVisible(bar); };
  actions.toggleTangents = [this] {
    view_.preview.showTangents = !view_.preview.showTangents;
    view_.preview.showNormals = false;
  };
  actions.toggleNormals = [this] {
    view_.preview.showNormals = !view_.preview.showNormals;
    view_.preview.showTangents = false;
  };
  actions.tangentsShown = [this] { return view_.preview.showTangents; };
  actions.normalsShown = [this] { return view_.preview.showNormals; };
  actions.helpContent = [this] { view_.help.showContents(view_.handle(), log_); };
  actions.about = [this] { showAbout(); };
  actions.edit = [this](int command) { editFocused(command); };
  actions.openRecent = [this](int index) {
    if (static_cast<size_t>(index) < recent_.paths().size()) {
      std::string path = recent_.paths()[static_cast<size_t>(index)];
      document_.openWorkspaceFile(path, true);
    }
  };
  return actions;
}

bool CMainFrame::create() {
  ui::WindowPlacement placement;
  placement.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  ui::WindowClassStyle classStyle;
  classStyle.background = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  classStyle.icon = LoadIconA(ui::programInstance(), MAKEINTRESOURCEA(resourceProgramIcon));
  classStyle.smallIcon = static_cast<HICON>(
      LoadImageA(ui::programInstance(), MAKEINTRESOURCEA(resourceProgramIcon), IMAGE_ICON, 16, 16, 0));
  if (!Window::create(mainFrameClassName, programTitle, placement, classStyle)) return false;

  menu_ = ui::buildMenuBar(commands_);
  SetMenu(handle(), menu_.get());
  accelerators_ = ui::buildAccelerators(commands_);
  loadRecentFiles();
  rebuildRecentMenu();

  toolbar_ = ui::createToolbar(handle(), toolbarId, commands_, toolbarImages());
  statusBar_ = CreateWindowExA(0, STATUSCLASSNAMEA, resourceText(stringReady).c_str(), WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                               handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(statusBarId)),
                               ui::programInstance(), nullptr);
  if (!toolbar_ || !statusBar_) return false;
  if (!view_.createWindow(handle(), viewId)) return false;
  if (!createBars()) return false;

  // The view's client area gets the stored size: the frame is made as
  // large as that needs, so that the first device has that size.
  // The bars and the toolbar settle their sizes as the frame changes, so
  // the frame is corrected until the view has the size (or the display
  // stops it growing).
  for (int pass = 0; pass < 3; ++pass) {
    arrange();
    RECT viewArea = view_.clientArea();
    int missingWidth = view_.creationWidth - viewArea.right;
    int missingHeight = view_.creationHeight - viewArea.bottom;
    if (missingWidth == 0 && missingHeight == 0) break;
    RECT frame{};
    GetWindowRect(handle(), &frame);
    SetWindowPos(handle(), nullptr, 0, 0, (frame.right - frame.left) + missingWidth,
                 (frame.bottom - frame.top) + missingHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  arrange();
  updateIndicators();
  return true;
}

bool CMainFrame::createBars() {
  for (size_t index = 0; index < bars_.size(); ++index) {
    bars_[index] =
        std::make_unique<CViewBar>(barStarts[index].command, resourceText(barStarts[index].title), *this);
    if (!bars_[index]->create(handle())) return false;
    bars_[index]->setSide(barStarts[index].side);
  }
  if (!workspaceView_.create(bar(commandViewWorkspace).handle())) return false;
  if (!workspaceView_.attach(document_.workspace(), *this, *this, log_, programFolder_)) return false;
  if (!messagesView_.create(bar(commandViewMessages).handle())) return false;
  if (!parameterView_.create(bar(commandViewParameter).handle(), view_)) return false;
  bar(commandViewWorkspace).setView(workspaceView_.handle());
  bar(commandViewMessages).setView(messagesView_.handle());
  bar(commandViewParameter).setView(parameterView_.handle());

  // Keys pressed in the panes of the bars reach the preview.
  auto forward = [this](UINT message, WPARAM key, LPARAM flags) {
    render::applyPreviewMessage(view_.preview, view_.handle(), message, key, flags);
  };
  workspaceView_.forwardKey = forward;
  parameterView_.forwardKey = forward;
  view_.parameters = [this] { return std::optional<render::PreviewParameters>(parameterView_.parameters()); };
  view_.wheelTurned = [this](int wheelDelta) { parameterView_.wheelTurned(wheelDelta); };
  view_.afterFrame = [this] {
    messagesView_.flush(log_);
    parameterView_.followPreviewReset();
    // A scene load, a texture load or delete, or an assignment asked for
    // the scene information to be shown again.
    if (sceneInformation_.pending() && workspaceView_.treeView()) {
      std::vector<std::string> textures;
      for (const auto& entry : view_.renderer.textures().entries()) textures.push_back(entry.name);
      workspaceView_.treeView()->tree().rebuildSceneInformation(document_.workspace().scene, textures,
                                                                sceneInformation_);
    }
  };
  return true;
}

bool CMainFrame::firstUpdate() {
  bool made = view_.firstUpdate();
  // The pane shows the preview's starting values once they exist.
  parameterView_.initialUpdate();
  return made;
}

CViewBar& CMainFrame::bar(int barCommand) { return *bars_[barIndex(barCommand)]; }

size_t CMainFrame::barIndex(int barCommand) const {
  for (size_t index = 0; index < std::size(barStarts); ++index) {
    if (barStarts[index].command == barCommand) return index;
  }
  return 0;
}

Rectangle CMainFrame::dockArea() const {
  RECT client = clientArea();
  Rectangle area{client.left, client.top, client.right, client.bottom};
  if (toolbar_ && IsWindowVisible(toolbar_)) {
    RECT bounds{};
    GetWindowRect(toolbar_, &bounds);
    area.top += bounds.bottom - bounds.top;
  }
  if (statusBar_ && IsWindowVisible(statusBar_)) {
    RECT bounds{};
    GetWindowRect(statusBar_, &bounds);
    area.bottom -= bounds.bottom - bounds.top;
  }
  if (area.bottom < area.top) area.bottom = area.top;
  return area;
}

void CMainFrame::arrange() {
  // The first WM_SIZE comes while the frame is being created, before its
  // bars and view exist.
  if (!handle() || !bars_.back() || !view_.handle()) return;
  if (toolbar_) SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);
  if (statusBar_) {
    SendMessageA(statusBar_, WM_SIZE, 0, 0);
    RECT client = clientArea();
    int width = client.right;
    int parts[4] = {width - 150, width - 100, width - 50, -1};
    SendMessageA(statusBar_, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(parts));
  }
  DockArrangement arrangement = layout_.arrange(dockArea());
  HDWP moves = BeginDeferWindowPos(4);
  for (const auto& [barId, bounds] : arrangement.bars) {
    CViewBar& docked = bar(barId);
    moves = DeferWindowPos(moves, docked.handle(), nullptr, bounds.left, bounds.top, bounds.width(), bounds.height(),
                           SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const Rectangle& view = arrangement.view;
  moves = DeferWindowPos(moves, view_.handle(), nullptr, view.left, view.top, view.width(), view.height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
  EndDeferWindowPos(moves);
}

void CMainFrame::applyBarPlacement(int barCommand) {
  const DockedBar* placement = layout_.find(barCommand);
  if (!placement) return;
  CViewBar& theBar = bar(barCommand);
  std::unique_ptr<FloatingBar>& floating = floating_[barIndex(barCommand)];
  if (placement->side == DockSide::floating) {
    if (floating && placement->visible) {
      floating->show(SW_SHOWNOACTIVATE);
    } else if (floating) {
      floating->hide();
    }
  } else {
    if (floating) {
      SetParent(theBar.handle(), handle());
      floating.reset();
    }
    ShowWindow(theBar.handle(), placement->visible ? SW_SHOW : SW_HIDE);
  }
  arrange();
}

void CMainFrame::showBar(int barCommand, bool visible) {
  layout_.setVisible(barCommand, visible);
  applyBarPlacement(barCommand);
}

void CMainFrame::toggleBar(int barCommand) { showBar(barCommand, !layout_.isVisible(barCommand)); }

void CMainFrame::barResized(int barId, int newSize) {
  layout_.resize(barId, newSize, dockArea());
  arrange();
}

void CMainFrame::barHidden(int barId) { showBar(barId, false); }

void CMainFrame::barDropped(int barId, POINT screenPoint) {
  POINT client = screenPoint;
  ScreenToClient(handle(), &client);
  Rectangle area = dockArea();
  DockSide side = dropSide(client.x, client.y, area);
  CViewBar& theBar = bar(barId);
  if (side == DockSide::floating) {
    RECT bounds{};
    GetWindowRect(theBar.handle(), &bounds);
    int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    RECT screen{screenPoint.x - width / 2, screenPoint.y - 8, screenPoint.x + width / 2, screenPoint.y + height};
    std::unique_ptr<FloatingBar>& floating = floating_[barIndex(barId)];
    if (!floating) {
      floating = std::make_unique<FloatingBar>();
      if (!floating->create(handle(), theBar.barTitle(), screen)) {
        floating.reset();
        return;
      }
      floating->closed = [this, barId] { barHidden(barId); };
      floating->hold(theBar.handle());
    } else {
      floating->moveTo(screen);
    }
    layout_.dock(barId, DockSide::floating);
    theBar.setSide(DockSide::floating);
    floating->show(SW_SHOWNOACTIVATE);
  } else {
    layout_.dock(barId, side);
    theBar.setSide(side);
  }
  applyBarPlacement(barId);
}

void CMainFrame::updateIndicators() {
  if (!statusBar_) return;
  // Status-bar parts after the prompt: caps lock, num lock and scroll lock,
  // each showing its label while its lock is on.
  auto indicator = [this](int part, int key, int label) {
    bool on = (GetKeyState(key) & 1) != 0;
    std::string text = on ? resourceText(label) : std::string();
    SendMessageA(statusBar_, SB_SETTEXTA, part, reinterpret_cast<LPARAM>(text.c_str()));
  };
  indicator(1, VK_CAPITAL, stringCapsIndicator);
  indicator(2, VK_NUMLOCK, stringNumIndicator);
  indicator(3, VK_SCROLL, stringScrollIndicator);
}

void CMainFrame::showPrompt(const std::string& text) {
  if (statusBar_) SendMessageA(statusBar_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool CMainFrame::preTranslate(MSG& message) {
  if (message.message == WM_KEYDOWN || message.message == WM_KEYUP) updateIndicators();
  if (!handle() || !accelerators_) return false;
  // Accelerators work wherever the focus is in the frame and its bars; a
  // floating bar's window counts as the frame's.
  HWND root = GetAncestor(message.hwnd, GA_ROOT);
  if (root != handle() && GetWindow(root, GW_OWNER) != handle()) return false;
  return TranslateAcceleratorA(handle(), accelerators_.get(), &message) != 0;
}

bool CMainFrame::routeDialogMessage(MSG& message) {
  // Tab and the arrow keys move between the controls of the bar panes.
  HWND pane = parameterView_.handle();
  if (pane && (message.hwnd == pane || IsChild(pane, message.hwnd)) && message.message == WM_KEYDOWN &&
      message.wParam == VK_TAB)
    return IsDialogMessageA(pane, &message) != 0;
  return false;
}

bool CMainFrame::idle(long pass) {
  if (pass == 0) ui::updateToolbarStates(toolbar_, commands_);
  return view_.idle(pass);
}

void CMainFrame::editFocused(int editCommand) {
  HWND focus = GetFocus();
  if (!focus) return;
  UINT message = editCommand == commandUndo  ? WM_UNDO
                 : editCommand == commandCut ? WM_CUT
                 : editCommand == commandCopy ? WM_COPY
                                              : WM_PASTE;
  SendMessageA(focus, message, 0, 0);
}

void CMainFrame::showAbout() {
  class AboutBox : public ui::Dialog {
   protected:
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM) override {
      if (message == WM_INITDIALOG) return TRUE;
      if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(handle(), LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    }
  } about;
  about.runModal(resourceAboutBox, handle());
}

// ---- recent workspaces

void CMainFrame::loadRecentFiles() {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, recentListKey, 0, KEY_READ, &opened) != ERROR_SUCCESS) return;
  ui::RegistryKey key(opened);
  std::vector<std::string> stored;
  for (int index = 1; index <= recentWorkspaceCount; ++index) {
    char value[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH, type = 0;
    std::string name = "File" + std::to_string(index);
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
            ERROR_SUCCESS &&
        type == REG_SZ) {
      value[std::min<DWORD>(size, MAX_PATH)] = '\0';
      stored.emplace_back(value);
    }
  }
  recent_.assign(stored);
}

void CMainFrame::saveRecentFiles() const {
  HKEY created = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, recentListKey, 0, nullptr, 0, KEY_WRITE, nullptr, &created, nullptr) !=
      ERROR_SUCCESS)
    return;
  ui::RegistryKey key(created);
  for (int index = 1; index <= recentWorkspaceCount; ++index) {
    std::string name = "File" + std::to_string(index);
    if (static_cast<size_t>(index) <= recent_.paths().size()) {
      const std::string& path = recent_.paths()[static_cast<size_t>(index) - 1];
      RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                     static_cast<DWORD>(path.size() + 1));
    } else {
      RegDeleteValueA(key.get(), name.c_str());
    }
  }
}

void CMainFrame::rebuildRecentMenu() {
  HMENU file = GetSubMenu(menu_.get(), 0);
  if (!file) return;
  for (int index = 0; index < recentWorkspaceCount; ++index) DeleteMenu(file, commandRecentWorkspace1 + index, MF_BYCOMMAND);
  // The separator that goes with the list sits before Exit.
  int count = GetMenuItemCount(file);
  if (count >= 2 && GetMenuItemID(file, count - 2) == 0 && GetMenuItemID(file, count - 3) == 0)
    DeleteMenu(file, count - 2, MF_BYPOSITION);
  if (recent_.paths().empty()) return;
  int exitPosition = GetMenuItemCount(file) - 1;
  for (size_t index = 0; index < recent_.paths().size(); ++index) {
    std::string text = recentWorkspaceMenuText(static_cast<int>(index), recent_.paths()[index]);
    InsertMenuA(file, static_cast<UINT>(exitPosition + index), MF_BYPOSITION | MF_STRING,
                commandRecentWorkspace1 + index, text.c_str());
  }
  InsertMenuA(file, static_cast<UINT>(exitPosition + recent_.paths().size()), MF_BYPOSITION | MF_SEPARATOR, 0,
              nullptr);
}

void CMainFrame::workspaceFileUsed(const std::string& path) {
  // The list keeps full paths: a path relative to the folder the program
  // started in would point elsewhere the next time.
  char full[MAX_PATH] = {};
  DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  recent_.add(length > 0 && length < MAX_PATH ? std::string(full, length) : path);
  saveRecentFiles();
  rebuildRecentMenu();
}

// ---- DocumentUi

bool CMainFrame::confirm(const std::string& text, const std::string& caption) {
  if (answerQuestion) {
    if (auto answer = answerQuestion(text, caption)) return *answer;
  }
  return MessageBoxA(handle(), text.c_str(), caption.c_str(), MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) == IDOK;
}

// The common file dialog for opening (file and path must exist) or saving
// (asking before overwriting).
std::optional<std::string> CMainFrame::runFileDialog(const FileDialogSpec& spec, bool save) {
  if (answerFileDialog) return answerFileDialog(spec, save);
  return ui::chooseFile({handle(), spec.filter, spec.initialFolder, spec.defaultExtension, save});
}

std::optional<ModelChoice> CMainFrame::chooseModelToImport(const FileDialogSpec& spec) {
  if (answerModelDialog) return answerModelDialog(spec);
  return chooseModelFile(handle(), spec);
}

ImportResult CMainFrame::runModelImport(const std::string& modelPath, const std::string& scenePath, bool keepUnits) {
  // The worker is veltrace-cli.exe beside the program's own file.
  std::string worker = importWorkerPath;
  if (worker.empty()) {
    char programFile[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, programFile, MAX_PATH);
    worker = folderPart(programFile) + "veltrace-cli.exe";
  }
  ImportWorkerRequest request{worker, modelPath, scenePath, keepUnits};
  return runImportWorkerProcess(request, ImportLimits{}, handle());
}

void CMainFrame::sceneLoadStarting() {
  view_.loading = true;
  view_.idle(loadingNoticePass);
}

void CMainFrame::sceneLoadFinished() { view_.loading = false; }

void CMainFrame::setDrawnScene(Scene* scene) { view_.renderer.setScene(scene); }

void CMainFrame::releaseTexturesAndShaders() { view_.renderer.releaseTexturesAndShaders(); }

void CMainFrame::workspaceChanged() {
  if (WorkspaceTreeView* tree = workspaceView_.treeView()) tree->tree().sceneReplaced();
  sceneInformation_.set();
}

WorkspaceHooks CMainFrame::treeHooks() {
  WorkspaceTreeView* tree = workspaceView_.treeView();
  return tree ? tree->hooks() : WorkspaceHooks{};
}

void CMainFrame::workspaceOpened() { recovery_.settle(document_.workspace()); }

void CMainFrame::workspaceSaved() { recovery_.settle(document_.workspace()); }

void CMainFrame::beforeDiscard() { recovery_.update(document_.workspace(), log_); }

std::optional<std::string> CMainFrame::chooseFile(const FileDialogRequest& request) {
  FileDialogSpec spec{request.filter, request.defaultExtension, request.initialFolder};
  return request.save ? chooseFileToSave(spec) : chooseFileToOpen(spec);
}

void CMainFrame::deleteScene() {
  setDrawnScene(nullptr);
  document_.workspace().scene = Scene{};
  document_.workspace().sceneLoaded = false;
  setTitle(programTitle);
  workspaceChanged();
}

namespace {

struct OwnedWindows {
  HWND owner;
  std::vector<HWND> found;
};

BOOL CALLBACK collectOwnedWindow(HWND window, LPARAM search) {
  auto& owned = *reinterpret_cast<OwnedWindows*>(search);
  if (GetWindow(window, GW_OWNER) == owned.owner) owned.found.push_back(window);
  return TRUE;
}

// The top-level windows the frame owns: its panes, its floating bars.
std::vector<HWND> ownedWindows(HWND owner) {
  OwnedWindows owned{owner, {}};
  EnumThreadWindows(GetCurrentThreadId(), collectOwnedWindow, reinterpret_cast<LPARAM>(&owned));
  return owned.found;
}

}  // namespace

std::unique_ptr<Pane> CMainFrame::createPane(const PaneRequest& request) {
  std::vector<HWND> before = ownedWindows(handle());
  std::unique_ptr<Pane> pane = makePane(request);
  if (pane) placeNewPanes(before);
  return pane;
}

// A new pane opens over the preview, cascaded from its top-left corner,
// rather than where its template says (over the workspace tree the user is
// working in), and never beyond the work area.
void CMainFrame::placeNewPanes(const std::vector<HWND>& before) {
  constexpr int cascadeStep = 24;
  constexpr int cascadeSteps = 8;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(handle(), MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  for (HWND window : ownedWindows(handle())) {
    if (std::find(before.begin(), before.end(), window) != before.end()) continue;
    POINT origin{0, 0};
    ClientToScreen(view_.handle(), &origin);
    int step = cascadeStep * (panesPlaced_++ % cascadeSteps);
    RECT bounds{};
    GetWindowRect(window, &bounds);
    int width = bounds.right - bounds.left;
    int height = bounds.bottom - bounds.top;
    int x = std::max<int>(work.left, std::min<int>(origin.x + step, work.right - width));
    int y = std::max<int>(work.top, std::min<int>(origin.y + step, work.bottom - height));
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

std::unique_ptr<Pane> CMainFrame::makePane(const PaneRequest& request) {
  if (!request.effect) return nullptr;
  auto showHelp = [this](HWND owner, const std::string& topic) { view_.help.showTopic(owner, topic, log_); };
  switch (request.kind) {
    case PaneKind::renderSettings: {
      auto pane =
          std::make_unique<RenderSettingsPane>(*request.effect, document_.workspace().scene, sceneInformation_);
      pane->openHelp = [this, showHelp](const char* topic) { showHelp(handle(), topic); };
      if (!pane->create(handle())) return nullptr;
      return pane;
    }
    case PaneKind::vertexShader:
    case PaneKind::pixelShader: {
      ShaderPaneSettings settings;
      settings.pixelShaderVersion = view_.shaderSupport.pixelShaderVersion;
      settings.hardwareVertexShaders = view_.shaderSupport.hardwareVertexShaders;
      settings.shaderFolder = view_.renderer.shaders().vertexShaderFolder();
      settings.showHelp = showHelp;
      auto kind = request.kind == PaneKind::vertexShader ? ShaderPaneKind::vertex : ShaderPaneKind::pixel;
      auto pane = std::make_unique<ShaderPane>(kind, *request.effect, log_, settings);
      if (!pane->create(handle())) return nullptr;
      return pane;
    }
    default: {
      // Variable editors, textures, render states and stream mapping.
      StatePaneServices services;
      services.owner = handle();
      services.textureStore = &view_.renderer.textures();
      services.log = &log_;
      services.programFolder = programFolder_;
      services.openHelp = [this, showHelp](const char* topic) { showHelp(handle(), topic); };
      services.requestSceneInformation = [this] { sceneInformation_.set(); };
      return createStatePane(request, services);
    }
  }
}

bool CMainFrame::offerRecovery() {
  bool restored = false;
  if (recovery_.inspect(log_) == RecoveryCopy::Found::usable) {
    if (confirm(recoveryQuestion, recoveryCaption)) {
      setDrawnScene(nullptr);
      restored = recovery_.restore(document_.workspace(), treeHooks(), log_);
      if (document_.workspace().sceneLoaded) {
        setDrawnScene(&document_.workspace().scene);
        setTitle(documentTitle(document_.workspace().scene.name));
      }
      workspaceChanged();
    } else {
      recovery_.discard();
    }
  }
  SetTimer(handle(), recoveryTimer, recoveryIntervalSeconds * 1000, nullptr);
  return restored;
}

// ---- messages

LRESULT CMainFrame::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      arrange();
      return 0;
    case WM_COMMAND:
      if (lParam == 0 || reinterpret_cast<HWND>(lParam) == toolbar_) {
        if (commands_.execute(LOWORD(wParam))) return 0;
      }
      break;
    case WM_INITMENUPOPUP:
      ui::updateMenuStates(reinterpret_cast<HMENU>(wParam), commands_);
      return 0;
    case WM_MENUSELECT: {
      UINT flags = HIWORD(wParam);
      if (flags == 0xFFFF && lParam == 0) {
        showPrompt(resourceText(stringReady));
      } else if (!(flags & (MF_POPUP | MF_SEPARATOR))) {
        showPrompt(commands_.promptFor(LOWORD(wParam)));
      }
      return 0;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->code == TTN_GETDISPINFOA) {
        auto* tip = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        static std::string text;
        text = commands_.promptFor(static_cast<int>(header->idFrom));
        tip->lpszText = const_cast<char*>(text.c_str());
        return 0;
      }
      break;
    }
    case WM_ACTIVATE:
      updateIndicators();
      break;
    case WM_SETFOCUS:
      SetFocus(view_.handle());
      return 0;
    case WM_CLOSE:
      if (!document_.confirmExit()) return 0;
      DestroyWindow(handle());
      return 0;
    case WM_TIMER:
      if (wParam == recoveryTimer) {
        recovery_.update(document_.workspace(), log_);
        return 0;
      }
      break;
    case WM_DESTROY:
      KillTimer(handle(), recoveryTimer);
      // A normal end needs no recovery copy.
      recovery_.remove();
      for (auto& floating : floating_) {
        if (floating && floating->held()) SetParent(floating->held(), handle());
        floating.reset();
      }
      view_.shutdown();
      PostQuitMessage(0);
      return 0;
  }
  return Window::handleMessage(message, wParam, lParam);
}

}  // namespace veltrace::panes
