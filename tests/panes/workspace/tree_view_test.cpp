// The workspace tree in a real tree view: items and on-demand labels, label
// edits through the edit control, New and Delete Effect, double clicks.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>

#include "panes/workspace/tree_view_control.h"
#include "tests/effect/effect_test_support.h"
#include "tests/panes/workspace/workspace_fakes.h"

namespace veltrace {
namespace {

WorkspaceTreeView* activeView = nullptr;

LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY && activeView) {
    LRESULT result = 0;
    if (activeView->onNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) return result;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

struct TreeViewFixture : ::testing::Test {
  HWND host = nullptr;
  HWND treeView = nullptr;
  test::RecordingPanes panes;
  test::ScriptedUi ui;
  MessageLog log;
  Workspace workspace;
  std::unique_ptr<WorkspaceTreeView> view;
  TreeViewControl* control = nullptr;
  WorkspaceTree* tree = nullptr;
  WorkspaceCommands* commands = nullptr;

  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = hostProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "WorkspaceTreeTestHost";
    RegisterClassA(&windowClass);
    host = CreateWindowExA(0, "WorkspaceTreeTestHost", "host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 600,
                           nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(host, nullptr);
    treeView = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_EDITLABELS, 0, 0, 380,
                               560, host, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(treeView, nullptr);
    view = std::make_unique<WorkspaceTreeView>(treeView, workspace, ui, panes, log, test::shippedProgramFolder());
    control = &view->control();
    tree = &view->tree();
    commands = &view->commands();
    activeView = view.get();
    ASSERT_TRUE(view->build());
  }
  void TearDown() override {
    activeView = nullptr;
    view.reset();
    if (host) DestroyWindow(host);
  }

  // The text the tree view shows, asked the way it asks when drawing.
  std::string shownText(ItemId item) {
    char buffer[256] = {};
    TVITEMA query{};
    query.mask = TVIF_TEXT | TVIF_HANDLE;
    query.hItem = control->handleOf(item);
    query.pszText = buffer;
    query.cchTextMax = sizeof buffer;
    if (!SendMessageA(treeView, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query))) return "<no item>";
    if (query.pszText == LPSTR_TEXTCALLBACKA) return "<callback>";
    return query.pszText;
  }
  unsigned itemCount() { return static_cast<unsigned>(SendMessageA(treeView, TVM_GETCOUNT, 0, 0)); }
};

TEST_F(TreeViewFixture, ModelItemsShowWithVariableNamesAskedOnDemand) {
  commands->newEffect();
  Effect& effect = *workspace.effects.at(0);
  commands->newVariable(effect, VariableKind::vector);
  EXPECT_EQ(shownText(tree->effectsItem()), "Effects");
  EXPECT_EQ(shownText(tree->effectItem(effect)), "New Effect");
  const ItemId vector = tree->childrenOf(tree->variableFolder(effect, VariableKind::vector)).at(0);
  EXPECT_EQ(shownText(vector), "New Vector");
  effect.vectors[0].name = "Light Direction";
  EXPECT_EQ(shownText(vector), "Light Direction");
  EXPECT_EQ(itemCount(), 2u + 11u + 1u);
}

TEST_F(TreeViewFixture, ALabelEditWithACommaStoresAFullStop) {
  commands->newEffect();
  Effect& effect = *workspace.effects.at(0);
  const ItemId item = tree->effectItem(effect);
  commands->runMenuCommand(item, 3);  // Edit Label
  auto edit = reinterpret_cast<HWND>(SendMessageA(treeView, TVM_GETEDITCONTROL, 0, 0));
  ASSERT_NE(edit, nullptr);
  SetWindowTextA(edit, "Red,Blue");
  SendMessageA(treeView, TVM_ENDEDITLABELNOW, FALSE, 0);
  EXPECT_EQ(effect.name, "Red.Blue");
  EXPECT_EQ(shownText(item), "Red.Blue");
}

TEST_F(TreeViewFixture, OnlyEffectLabelsCanBeEdited) {
  commands->newEffect();
  SetFocus(treeView);
  const auto refused = SendMessageA(treeView, TVM_EDITLABELA, 0,
                                    reinterpret_cast<LPARAM>(control->handleOf(tree->effectsItem())));
  EXPECT_EQ(refused, 0);
  EXPECT_EQ(SendMessageA(treeView, TVM_GETEDITCONTROL, 0, 0), 0);
}

TEST_F(TreeViewFixture, DeleteEffectAsksAndOnlyOkRemovesTheItems) {
  commands->newEffect();
  Effect& effect = *workspace.effects.at(0);
  const unsigned withEffect = itemCount();
  ui.answerOk = false;
  commands->runMenuCommand(tree->effectItem(effect), 2);
  EXPECT_EQ(itemCount(), withEffect);
  EXPECT_EQ(workspace.effects.size(), 1u);
  ui.answerOk = true;
  commands->runMenuCommand(tree->effectItem(effect), 2);
  EXPECT_EQ(itemCount(), 2u);
  EXPECT_TRUE(workspace.effects.empty());
  EXPECT_EQ(ui.questions.size(), 2u);
}

TEST_F(TreeViewFixture, ADoubleClickOrEnterOpensTheSelectedItemsPane) {
  commands->newEffect();
  Effect& effect = *workspace.effects.at(0);
  effect.name = "Glass";
  const ItemId renderStates = tree->childrenOf(tree->effectItem(effect)).at(2);
  const ItemId vertexShader = tree->childrenOf(tree->effectItem(effect)).at(4);
  SendMessageA(treeView, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(control->handleOf(renderStates)));
  NMHDR click{treeView, 0, static_cast<UINT>(NM_DBLCLK)};
  SendMessageA(host, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
  SendMessageA(treeView, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(control->handleOf(vertexShader)));
  // What the tree view sends for the Enter key (the end-to-end drive
  // presses the real key).
  NMHDR enter{treeView, 0, static_cast<UINT>(NM_RETURN)};
  SendMessageA(host, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&enter));
  EXPECT_EQ(panes.calls.calls,
            (std::vector<std::string>{"show Glass - RenderStates", "show Glass - Vertex Shader"}));
}

TEST_F(TreeViewFixture, AWorkspaceReadThroughTheHooksShowsItsEffects) {
  const std::string programFolder = test::shippedProgramFolder();
  WorkspaceHooks hooks = view->hooks();
  hooks.loadScene = [](Workspace&, const std::string&) { return true; };
  ASSERT_TRUE(readWorkspace(programFolder + "\\Workspaces\\sample.vwork", workspace, programFolder, hooks, log));
  ASSERT_EQ(workspace.effects.size(), 2u);
  EXPECT_EQ(shownText(tree->effectItem(*workspace.effects[1])), workspace.effects[1]->name);
  ASSERT_TRUE(clearWorkspace(workspace, hooks, log));
  EXPECT_EQ(itemCount(), 2u);
}

}  // namespace
}  // namespace veltrace
