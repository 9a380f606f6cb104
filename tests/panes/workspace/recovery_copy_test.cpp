// The recovery copy: written only when something changed, restored as the
// workspace was, and ignored with one line when damaged or half-written.

#include <gtest/gtest.h>

#include <filesystem>

#include "base/files.h"
#include "effect/effect_factory.h"
#include "panes/workspace/recovery_copy.h"
#include "panes/workspace/workspace_commands.h"
#include "scene/scene_reader.h"
#include "tests/effect/effect_test_support.h"
#include "tests/support/temp_folder.h"

namespace veltrace {
namespace {

namespace fs = std::filesystem;

// A program folder of its own with the shipped catalogues, effects and scenes.
struct RecoveryFixture : ::testing::Test {
  test::TempFolder program;
  std::string programFolder;
  Workspace workspace;
  MessageLog log;

  void SetUp() override {
    programFolder = program.corePath();
    const fs::path data = VELTRACE_DATA_DIR;
    for (const char* folder : {"prefs", "effects", "media"})
      fs::copy(data / folder, program.path() / folder, fs::copy_options::recursive);
  }

  std::vector<std::string> messages() { return log.takePending(); }
  // A session past its start-up check, which found no copy.
  RecoveryCopy started(const std::string& folder = {}) {
    RecoveryCopy copy(folder.empty() ? programFolder : folder);
    EXPECT_EQ(copy.inspect(log), RecoveryCopy::Found::none);
    return copy;
  }
  bool exists(const std::string& name) { return fs::exists(program.path() / name); }

  // A loaded effect with edits, a never-saved one, and a scene assigned to both.
  void buildWorkspace() {
    auto loaded = openEffectFile(programFolder + "\\effects\\lit_textured.veff", programFolder, log);
    ASSERT_TRUE(loaded);
    ASSERT_FALSE(loaded->vectors.empty());
    loaded->vectors[0].name = "Edited Vector";
    loaded->vectors[0].vsRegister = 40;
    loaded->vertexShader.source = "vs.1.1\r\nmov oPos, v0\r\n";
    workspace.effects.push_back(std::move(loaded));
    workspace.effects.push_back(std::make_unique<Effect>(createEffect(programFolder, log)));
    workspace.effects.back()->name = "Fresh";
    workspace.effects.back()->colors.push_back(createVariable(VariableKind::color));
    ASSERT_TRUE(loadScene(programFolder + "\\media\\scenes\\pedestal.vase", workspace.scene, log));
    workspace.sceneLoaded = true;
    ASSERT_GE(workspace.scene.meshes.size(), 2u);
    workspace.scene.meshes[1].effect = workspace.effects[1].get();
    workspace.scene.meshes[0].subsets[0].effect = workspace.effects[0].get();
    messages();
  }
};

TEST_F(RecoveryFixture, ACopyRestoresTheWorkspaceAsItWasEdited) {
  buildWorkspace();
  RecoveryCopy copy = started();
  ASSERT_EQ(copy.update(workspace, log), RecoveryCopy::UpdateResult::written);
  EXPECT_TRUE(messages().empty()) << "saving the copy says nothing";
  EXPECT_EQ(workspace.effects[0]->indexFileName, "lit_textured.veff") << "the workspace is not touched";
  EXPECT_TRUE(exists("recovery"));
  EXPECT_FALSE(exists("recovery.writing"));

  // The next start.
  RecoveryCopy next(programFolder);
  ASSERT_EQ(next.inspect(log), RecoveryCopy::Found::usable);
  Workspace restored;
  int treeSteps = 0;
  WorkspaceHooks hooks;
  hooks.addEffectToTree = [&](Effect&) { return ++treeSteps > 0; };
  ASSERT_TRUE(next.restore(restored, hooks, log));
  EXPECT_EQ(treeSteps, 2);
  ASSERT_EQ(restored.effects.size(), 2u);
  const Effect& edited = *restored.effects[0];
  EXPECT_EQ(edited.vectors[0].name, "Edited Vector");
  EXPECT_EQ(edited.vectors[0].vsRegister, 40);
  EXPECT_EQ(edited.vertexShader.source, "vs.1.1\r\nmov oPos, v0\r\n");
  EXPECT_EQ(edited.folder, workspace.effects[0]->folder) << "saving goes back to the user's files";
  EXPECT_EQ(edited.indexFileName, "lit_textured.veff");
  const Effect& fresh = *restored.effects[1];
  EXPECT_EQ(fresh.name, "Fresh");
  EXPECT_EQ(fresh.colors.size(), 1u);
  EXPECT_EQ(fresh.indexFileName, "") << "a never-saved effect stays unsaved";
  EXPECT_EQ(fresh.folder, "\\effects\\");
  ASSERT_TRUE(restored.sceneLoaded);
  EXPECT_EQ(restored.scene.name, "pedestal.vase");
  EXPECT_EQ(restored.scene.meshes[1].effect, &fresh);
  EXPECT_EQ(restored.scene.meshes[0].subsets[0].effect, &edited);
}

TEST_F(RecoveryFixture, ACopyIsWrittenOnlyWhenSomethingChanged) {
  buildWorkspace();
  RecoveryCopy copy = started();
  ASSERT_EQ(copy.update(workspace, log), RecoveryCopy::UpdateResult::written);
  EXPECT_EQ(copy.update(workspace, log), RecoveryCopy::UpdateResult::unchanged);
  workspace.effects[1]->colors[0].value[0] = 0.5f;
  EXPECT_EQ(copy.update(workspace, log), RecoveryCopy::UpdateResult::written);
  workspace.scene.meshes[1].effect = nullptr;
  EXPECT_EQ(copy.update(workspace, log), RecoveryCopy::UpdateResult::written);
  EXPECT_TRUE(messages().empty());
}

TEST_F(RecoveryFixture, SavingOrAnEmptyWorkspaceLeavesNoCopy) {
  buildWorkspace();
  RecoveryCopy copy = started();
  copy.update(workspace, log);
  copy.settle(workspace);
  EXPECT_FALSE(exists("recovery"));
  EXPECT_EQ(copy.update(workspace, log), RecoveryCopy::UpdateResult::unchanged);

  workspace.effects[0]->name = "Changed";
  copy.update(workspace, log);
  ASSERT_TRUE(exists("recovery"));
  Workspace empty;
  copy.update(empty, log);
  EXPECT_FALSE(exists("recovery"));
}

TEST_F(RecoveryFixture, TheLastSessionsCopyIsNotReplacedBeforeItWasOffered) {
  buildWorkspace();
  RecoveryCopy copy = started();
  copy.update(workspace, log);
  RecoveryCopy next(programFolder);
  Workspace empty;
  EXPECT_EQ(next.update(empty, log), RecoveryCopy::UpdateResult::unchanged);
  EXPECT_EQ(next.inspect(log), RecoveryCopy::Found::usable);
}

TEST_F(RecoveryFixture, ANormalExitRemovesTheCopy) {
  buildWorkspace();
  RecoveryCopy copy = started();
  copy.update(workspace, log);
  copy.remove();
  RecoveryCopy next(programFolder);
  EXPECT_EQ(next.inspect(log), RecoveryCopy::Found::none);
  EXPECT_TRUE(messages().empty());
}

TEST_F(RecoveryFixture, ADamagedCopyIsIgnoredWithOneLineAndKeptAside) {
  buildWorkspace();
  RecoveryCopy copy = started();
  copy.update(workspace, log);
  const fs::path variables = program.path() / "recovery" / "effects" / "effect1" / "variables.txt";
  ASSERT_TRUE(fs::exists(variables));
  test::writeText(program.corePath() + "\\recovery\\effects\\effect1\\variables.txt", "VECTOR,A,0,1,2,3,4,NA,NA\r\n");

  RecoveryCopy next(programFolder);
  EXPECT_EQ(next.inspect(log), RecoveryCopy::Found::damaged);
  EXPECT_EQ(messages(), (std::vector<std::string>{"Recovery copy \"" + programFolder + "\\recovery\" is damaged - ignored !"}));
  EXPECT_TRUE(exists("recovery.damaged"));
  EXPECT_EQ(next.inspect(log), RecoveryCopy::Found::none);
  EXPECT_TRUE(messages().empty()) << "reported once";
}

TEST_F(RecoveryFixture, ACopyWithoutItsClosingLineIsDamaged) {
  buildWorkspace();
  RecoveryCopy copy = started();
  copy.update(workspace, log);
  const std::string manifest = program.corePath() + "\\recovery\\recovery.txt";
  std::string text = test::fileText(manifest);
  test::writeText(manifest, text.substr(0, text.size() / 2));
  EXPECT_EQ(RecoveryCopy(programFolder).inspect(log), RecoveryCopy::Found::damaged);
  EXPECT_EQ(messages().size(), 1u);
}

TEST_F(RecoveryFixture, AHalfWrittenCopyIsIgnoredWithOneLine) {
  fs::create_directories(program.path() / "recovery.writing" / "effects");
  test::writeText(program.corePath() + "\\recovery.writing\\workspace.vwork", "EFFECTS,1\r\n");
  RecoveryCopy next(programFolder);
  EXPECT_EQ(next.inspect(log), RecoveryCopy::Found::none);
  EXPECT_EQ(messages().size(), 1u);
  EXPECT_FALSE(exists("recovery.writing"));
}

TEST_F(RecoveryFixture, ACopyCaughtBetweenItsRenamesIsFoundUnderItsOldName) {
  buildWorkspace();
  RecoveryCopy copy = started();
  copy.update(workspace, log);
  fs::rename(program.path() / "recovery", program.path() / "recovery.old");
  EXPECT_EQ(RecoveryCopy(programFolder).inspect(log), RecoveryCopy::Found::usable);
  EXPECT_TRUE(exists("recovery"));
}

TEST_F(RecoveryFixture, AFailingWriteLogsOneLineAndLeavesTheWorkspaceAlone) {
  buildWorkspace();
  const std::string missing = programFolder + "\\missing-folder";
  RecoveryCopy copy = started(missing);
  EXPECT_EQ(copy.update(workspace, log), RecoveryCopy::UpdateResult::failed);
  EXPECT_EQ(messages(), (std::vector<std::string>{"Error while writing recovery copy \"" + missing + "\\recovery\" !"}));
  EXPECT_EQ(workspace.effects.size(), 2u);
  EXPECT_EQ(workspace.effects[0]->indexFileName, "lit_textured.veff");
  EXPECT_FALSE(exists("missing-folder"));
}

}  // namespace
}  // namespace veltrace
