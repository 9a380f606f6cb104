// The workspace tree commands: questions, dialogs, the order of their steps
// and their messages.

#include <gtest/gtest.h>

#include <filesystem>

#include "base/files.h"
#include "effect/effect_factory.h"
#include "panes/workspace/workspace_commands.h"
#include "tests/effect/effect_test_support.h"
#include "tests/panes/workspace/workspace_fakes.h"
#include "tests/support/temp_folder.h"

namespace veltrace {
namespace {

using test::RecordingControl;
using test::RecordingPanes;
using test::ScriptedUi;

struct CommandsFixture : ::testing::Test {
  const std::string programFolder = test::shippedProgramFolder();
  Workspace workspace;
  RecordingControl control;
  RecordingPanes panes;
  WorkspaceTree tree{control, panes};
  ScriptedUi ui;
  MessageLog log;
  WorkspaceCommands commands{workspace, tree, ui, log, programFolder};

  void SetUp() override { ASSERT_TRUE(tree.build()); }

  std::vector<std::string> messages() { return log.takePending(); }

  Effect& addNewEffect(const std::string& name) {
    commands.newEffect();
    Effect& effect = *workspace.effects.back();
    effect.name = name;
    messages();
    return effect;
  }

  // A scene of one mesh with two subsets.
  void giveScene(Effect* meshEffect, Effect* first, Effect* second) {
    workspace.scene.meshes.resize(1);
    workspace.scene.meshes[0].subsets.resize(2);
    workspace.scene.meshes[0].effect = meshEffect;
    workspace.scene.meshes[0].subsets[0].effect = first;
    workspace.scene.meshes[0].subsets[1].effect = second;
  }

  ItemId menuTarget(const Effect& effect) { return tree.effectItem(effect); }
};

TEST_F(CommandsFixture, NewEffectAppendsAnEffectWithItsItem) {
  commands.runMenuCommand(tree.effectsItem(), 1);
  ASSERT_EQ(workspace.effects.size(), 1u);
  EXPECT_EQ(workspace.effects[0]->name, "New Effect");
  EXPECT_NE(tree.effectItem(*workspace.effects[0]), noItem);
  EXPECT_EQ(messages(), (std::vector<std::string>{"Created new effect..."}));
}

TEST_F(CommandsFixture, NewEffectThatTheTreeRefusesIsNotKept) {
  control.failInserts = true;
  commands.newEffect();
  EXPECT_TRUE(workspace.effects.empty());
  EXPECT_EQ(messages(), (std::vector<std::string>{"Error while creating new effect in workspace !"}));
}

TEST_F(CommandsFixture, LoadEffectOpensTheEffectsFolderAndFillsTheTree) {
  ui.chosenFiles.push_back(programFolder + "\\effects\\lit_textured.veff");
  commands.runMenuCommand(tree.effectsItem(), 2);
  ASSERT_EQ(ui.dialogs.size(), 1u);
  EXPECT_FALSE(ui.dialogs[0].save);
  EXPECT_EQ(ui.dialogs[0].filter, "Veltrace Effect (*.veff)|*.veff|All Files(*.*)|*.*||");
  EXPECT_EQ(ui.dialogs[0].defaultExtension, "veff");
  EXPECT_EQ(ui.dialogs[0].initialFolder, programFolder + "\\effects\\");
  ASSERT_EQ(workspace.effects.size(), 1u);
  const Effect& effect = *workspace.effects[0];
  EXPECT_EQ(messages(), (std::vector<std::string>{"Effect \"lit_textured.veff\" loaded successfully ..."}));
  EXPECT_EQ(control.items[tree.effectItem(effect)].label, effect.name);
  size_t variableItems = 0;
  for (VariableKind kind : {VariableKind::vector, VariableKind::matrix, VariableKind::color}) {
    EXPECT_EQ(tree.childrenOf(tree.variableFolder(effect, kind)).size(), variablesOfKind(effect, kind).size());
    variableItems += variablesOfKind(effect, kind).size();
  }
  EXPECT_GT(variableItems, 0u);
  EXPECT_FALSE(effect.vertexShader.source.empty()) << "shader sources are read for the renderer";
}

TEST_F(CommandsFixture, LoadEffectCancelledDoesNothing) {
  ui.chosenFiles.push_back(std::nullopt);
  commands.loadEffect();
  EXPECT_TRUE(workspace.effects.empty());
  EXPECT_TRUE(messages().empty());
}

TEST_F(CommandsFixture, AnEffectWithABadVariablesLineLeavesTheListAsItWas) {
  Effect& kept = addNewEffect("Kept");
  test::TempFolder folder;
  const std::filesystem::path effects = std::filesystem::path(VELTRACE_DATA_DIR) / "effects";
  std::filesystem::copy(effects / "lit_textured", folder.path() / "lit_textured",
                        std::filesystem::copy_options::recursive);
  std::filesystem::copy(effects / "lit_textured.veff", folder.path() / "broken.veff");
  test::writeText(folder.corePath() + "\\lit_textured\\variables.txt", "VECTOR,A,0,1,2,3,4,NA,NA\r\nNOT A VARIABLE\r\n");
  const size_t itemsBefore = tree.itemCount();

  ui.chosenFiles.push_back(folder.corePath() + "\\broken.veff");
  commands.loadEffect();
  ASSERT_EQ(workspace.effects.size(), 1u);
  EXPECT_EQ(workspace.effects[0].get(), &kept);
  EXPECT_EQ(tree.itemCount(), itemsBefore);
  const std::vector<std::string> lines = messages();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], "Error while initializing Variables !");
  EXPECT_EQ(lines.back(), "Failed to load effect \"broken.veff\" !");
}

TEST_F(CommandsFixture, CancellingAQuestionLeavesEverythingAndLogsNothing) {
  Effect& effect = addNewEffect("Kept");
  effect.vectors.push_back(createVariable(VariableKind::vector));
  ASSERT_TRUE(tree.fillEffect(effect));
  ui.answerOk = false;
  commands.deleteAllEffects();
  commands.deleteEffect(effect);
  commands.deleteVariable(effect, VariableKind::vector, 0);
  EXPECT_EQ(ui.questions, std::vector<std::string>(3, "Confirm Delete: Are you sure ?"));
  EXPECT_EQ(workspace.effects.size(), 1u);
  EXPECT_EQ(effect.vectors.size(), 1u);
  EXPECT_TRUE(messages().empty());
  EXPECT_TRUE(ui.steps.empty());
}

TEST_F(CommandsFixture, DeleteAllEffectsWithNoneOnlyAsks) {
  commands.runMenuCommand(tree.effectsItem(), 3);
  EXPECT_EQ(ui.questions.size(), 1u);
  EXPECT_TRUE(messages().empty());
  EXPECT_TRUE(ui.steps.empty());
}

TEST_F(CommandsFixture, DeleteAllEffectsClearsReferencesAndDeletesInListOrder) {
  Effect& first = addNewEffect("First");
  Effect& second = addNewEffect("Second");
  giveScene(&first, &first, &second);
  commands.deleteAllEffects();
  EXPECT_TRUE(workspace.effects.empty());
  EXPECT_EQ(workspace.scene.meshes[0].effect, nullptr);
  EXPECT_EQ(workspace.scene.meshes[0].subsets[0].effect, nullptr);
  EXPECT_EQ(workspace.scene.meshes[0].subsets[1].effect, nullptr);
  EXPECT_EQ(ui.steps, (std::vector<std::string>{"recovery copy", "forget First", "forget Second"}));
  EXPECT_EQ(messages(), (std::vector<std::string>{"Deleted effect \"First\"...", "Deleted effect \"Second\"..."}));
  EXPECT_TRUE(tree.childrenOf(tree.effectsItem()).empty());
}

TEST_F(CommandsFixture, DeleteAllEffectsStopsWhenTheTreeFails) {
  addNewEffect("First");
  addNewEffect("Second");
  control.failDeletes = true;
  commands.deleteAllEffects();
  EXPECT_EQ(messages(), (std::vector<std::string>{"Error while erasing effect tree items !"}));
  EXPECT_EQ(workspace.effects.size(), 2u);
}

TEST_F(CommandsFixture, DeleteEffectClearsItsReferencesClosesItsPanesAndKeepsOthers) {
  Effect& other = addNewEffect("Other");
  Effect& doomed = addNewEffect("Doomed");
  giveScene(&doomed, &doomed, &other);
  tree.activate(tree.childrenOf(tree.effectItem(doomed)).at(2));  // its RenderStates pane
  commands.runMenuCommand(menuTarget(doomed), 2);
  ASSERT_EQ(workspace.effects.size(), 1u);
  EXPECT_EQ(workspace.effects[0].get(), &other);
  EXPECT_EQ(workspace.scene.meshes[0].effect, nullptr);
  EXPECT_EQ(workspace.scene.meshes[0].subsets[0].effect, nullptr);
  EXPECT_EQ(workspace.scene.meshes[0].subsets[1].effect, &other);
  EXPECT_EQ(panes.calls.calls.back(), "destroy Doomed/2");
  EXPECT_EQ(messages(), (std::vector<std::string>{"Deleted effect \"Doomed\"..."}));
  EXPECT_EQ(ui.steps, (std::vector<std::string>{"recovery copy", "forget Doomed"}));
}

TEST_F(CommandsFixture, DeleteEffectReportsTheTreeAfterTheDeletion) {
  Effect& doomed = addNewEffect("Doomed");
  control.failDeletes = true;
  commands.deleteEffect(doomed);
  EXPECT_TRUE(workspace.effects.empty());
  EXPECT_EQ(messages(),
            (std::vector<std::string>{"Deleted effect \"Doomed\"...", "Error while erasing effect tree items !"}));
}

TEST_F(CommandsFixture, DeletingAnEffectNotInTheListIsReported) {
  Effect stray;
  commands.deleteEffect(stray);
  EXPECT_EQ(messages(), (std::vector<std::string>{"Error while deleting effect !"}));
}

TEST_F(CommandsFixture, EditLabelStartsEditingTheEffectItem) {
  Effect& effect = addNewEffect("Glass");
  commands.runMenuCommand(menuTarget(effect), 3);
  EXPECT_EQ(control.editing, tree.effectItem(effect));
}

TEST_F(CommandsFixture, NewVariablesTakeTheirDefaultsAndItems) {
  Effect& effect = addNewEffect("Glass");
  const std::pair<VariableKind, const char*> kinds[] = {
      {VariableKind::vector, "New Vector"}, {VariableKind::matrix, "New Matrix"}, {VariableKind::color, "New Color"}};
  for (const auto& [kind, name] : kinds) {
    commands.runMenuCommand(tree.variableFolder(effect, kind), 1);
    ASSERT_EQ(variablesOfKind(effect, kind).size(), 1u);
    EXPECT_EQ(tree.labelText(tree.childrenOf(tree.variableFolder(effect, kind)).at(0)), name);
  }
  EXPECT_TRUE(messages().empty());
}

TEST_F(CommandsFixture, ANewVariableTheTreeRefusesIsReportedAndNotKept) {
  Effect& effect = addNewEffect("Glass");
  control.failInserts = true;
  commands.newVariable(effect, VariableKind::matrix);
  EXPECT_TRUE(effect.matrices.empty());
  EXPECT_EQ(messages(), (std::vector<std::string>{"Error while creating new matrix in workspace !"}));
}

TEST_F(CommandsFixture, DeletingBoundVariablesFreesTheirRegistersInTheShaderPanes) {
  Effect& effect = addNewEffect("Glass");
  for (int i = 0; i < 3; ++i) commands.newVariable(effect, VariableKind::vector);
  effect.vectors[0].vsRegister = 12;
  effect.vectors[2].psRegister = 3;
  const ItemId item = tree.effectItem(effect);
  tree.activate(tree.childrenOf(item).at(4));  // Vertex Shader
  tree.activate(tree.childrenOf(item).at(5));  // Pixel Shader
  panes.calls.calls.clear();

  commands.deleteVariable(effect, VariableKind::vector, 1);  // bound nowhere
  EXPECT_TRUE(panes.calls.calls.empty());
  commands.runMenuCommand(tree.childrenOf(tree.variableFolder(effect, VariableKind::vector)).at(0), 1);
  commands.deleteVariable(effect, VariableKind::vector, 0);
  EXPECT_EQ(panes.calls.calls, (std::vector<std::string>{"Glass/4 clear c12", "Glass/5 clear c3"}));
  EXPECT_TRUE(effect.vectors.empty());
  EXPECT_TRUE(tree.childrenOf(tree.variableFolder(effect, VariableKind::vector)).empty());
  EXPECT_TRUE(messages().empty());
}

TEST_F(CommandsFixture, DeletingBoundVariablesWithoutShaderPanesTouchesNoPane) {
  Effect& effect = addNewEffect("Glass");
  commands.newVariable(effect, VariableKind::matrix);
  effect.matrices[0].vsRegister = 8;
  commands.deleteVariable(effect, VariableKind::matrix, 0);
  EXPECT_TRUE(effect.matrices.empty());
  EXPECT_TRUE(panes.made.empty());
}

TEST_F(CommandsFixture, VariableDeletionFailuresAreReportedPerKind) {
  Effect& effect = addNewEffect("Glass");
  commands.deleteVariable(effect, VariableKind::color, 0);
  commands.newVariable(effect, VariableKind::color);
  control.failDeletes = true;
  commands.deleteVariable(effect, VariableKind::color, 0);
  EXPECT_TRUE(effect.colors.empty());
  EXPECT_EQ(messages(),
            (std::vector<std::string>{"Error while deleting color !", "Error while erasing color tree item !"}));
}

TEST_F(CommandsFixture, SaveEffectWritesWhereTheUserChoseAndLivesThere) {
  Effect& effect = addNewEffect("Glass");
  test::TempFolder folder;
  const std::string path = folder.corePath() + "\\glass.veff";
  ui.chosenFiles.push_back(path);
  commands.runMenuCommand(menuTarget(effect), 1);
  ASSERT_EQ(ui.dialogs.size(), 1u);
  EXPECT_TRUE(ui.dialogs[0].save);
  EXPECT_EQ(ui.dialogs[0].filter, "Veltrace Effect (*.veff)|*.veff||");
  EXPECT_EQ(messages(), (std::vector<std::string>{"Effect file \"" + path + "\" saved ..."}));
  EXPECT_TRUE(fileExists(folder.corePath() + "\\glass\\variables.txt"));
  EXPECT_EQ(effect.folder, folder.corePath() + "\\glass\\");
  EXPECT_EQ(effect.indexFileName, "glass.veff");
}

TEST_F(CommandsFixture, SceneEntriesRunTheDocumentsSceneCommands) {
  commands.runMenuCommand(tree.sceneItem(), 1);
  commands.runMenuCommand(tree.sceneItem(), 2);
  EXPECT_EQ(ui.steps, (std::vector<std::string>{"recovery copy", "load scene", "recovery copy", "delete scene"}));
}

TEST_F(CommandsFixture, WorkspacesReadAndClearedThroughTheTreeHooksKeepTheTreeInStep) {
  const WorkspaceHooks hooks = treeHooks(tree, programFolder, log);
  ASSERT_TRUE(readWorkspace(programFolder + "\\Workspaces\\sample.vwork", workspace, programFolder, hooks, log));
  ASSERT_EQ(workspace.effects.size(), 2u);
  for (const auto& effect : workspace.effects)
    EXPECT_EQ(control.items[tree.effectItem(*effect)].label, effect->name);
  ASSERT_TRUE(clearWorkspace(workspace, hooks, log));
  EXPECT_TRUE(tree.childrenOf(tree.effectsItem()).empty());
}

TEST_F(CommandsFixture, AnEffectWhoseFillingFailsLeavesNoItemBehind) {
  WorkspaceHooks hooks = treeHooks(tree, programFolder, log);
  Effect effect;
  effect.vectors.push_back(createVariable(VariableKind::vector));
  ASSERT_TRUE(hooks.addEffectToTree(effect));
  control.failInserts = true;
  EXPECT_FALSE(hooks.fillEffectTree(effect));
  EXPECT_EQ(tree.effectItem(effect), noItem);
  EXPECT_TRUE(tree.childrenOf(tree.effectsItem()).empty());
}

}  // namespace
}  // namespace veltrace
