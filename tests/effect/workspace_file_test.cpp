// The workspace file: path forms, reading with its assignments and its
// stops, writing with never-saved effects, and a save/read round trip.

#include <gtest/gtest.h>

#include "effect/effect_files.h"
#include "effect/workspace_file.h"
#include "scene/authoring/samples.h"
#include "scene/authoring/scene_writer.h"
#include "scene/scene_reader.h"
#include "tests/effect/effect_test_support.h"
#include "tests/support/temp_folder.h"

namespace veltrace {
namespace {

using test::fileText;
using test::writeText;

TEST(WorkspacePathForm, LowersTheFolderAndCutsTheProgramFolder) {
  EXPECT_EQ(workspacePathForm("C:\\Veltrace\\Media\\Scenes\\Cube.vase", "c:\\veltrace"), "\\media\\scenes\\Cube.vase");
  EXPECT_EQ(workspacePathForm("C:\\Veltrace\\Effects\\Bump.veff", "C:\\VELTRACE\\"), "\\effects\\Bump.veff");
  EXPECT_EQ(workspacePathForm("D:\\Models\\Big Scene.vase", "c:\\veltrace"), "d:\\models\\Big Scene.vase");
  EXPECT_EQ(workspacePathForm("Loose.vase", "c:\\veltrace"), "Loose.vase");
}

TEST(WorkspacePathForm, CutsOnlyAWholeFolder) {
  // "c:\prog" is a prefix of "c:\program files\" as text, not as a folder.
  EXPECT_EQ(workspacePathForm("C:\\Program Files\\A.vase", "C:\\Prog"), "c:\\program files\\A.vase");
}

TEST(WorkspacePathForm, ResolvesRelativePathsBelowTheProgramFolder) {
  EXPECT_EQ(resolveWorkspacePath("\\effects\\a.veff", "C:\\Veltrace"), "C:\\Veltrace\\effects\\a.veff");
  EXPECT_EQ(resolveWorkspacePath("d:\\x\\a.veff", "C:\\Veltrace"), "d:\\x\\a.veff");
  // A scene or effect on a network share is not moved below the program.
  EXPECT_EQ(resolveWorkspacePath("\\\\server\\art\\a.vase", "C:\\Veltrace"), "\\\\server\\art\\a.vase");
  EXPECT_EQ(resolveWorkspacePath("", "C:\\Veltrace"), "");
}

// A program folder in a temporary folder: the shipped catalogues, a sample
// scene with two meshes, and effects saved from new ones.
class WorkspaceFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = folder_.corePath();
    ASSERT_NE(createFolder(program_ + "\\prefs"), FolderResult::failed);
    for (const char* catalogue : {"AllRenderStates.txt", "AllTextureStates.txt"})
      writeText(program_ + "\\prefs\\" + catalogue, fileText(test::shippedProgramFolder() + "\\prefs\\" + catalogue));
    std::string failed;
    ASSERT_TRUE(writeSampleMedia(program_, failed)) << failed;
    ASSERT_NE(createFolder(program_ + "\\effects"), FolderResult::failed);
    saveNewEffect("Glow");
    saveNewEffect("Bump");
  }

  void saveNewEffect(const std::string& name) {
    MessageLog log;
    Effect effect = createEffect(program_, log);
    effect.name = name;
    ASSERT_TRUE(saveEffect(effect, program_ + "\\effects\\" + name + ".veff", program_, log));
  }

  bool read(const std::string& text, Workspace& workspace, MessageLog& log) {
    writeText(program_ + "\\test.vwork", text);
    return readWorkspace(program_ + "\\test.vwork", workspace, program_, WorkspaceHooks{}, log);
  }

  test::TempFolder folder_;
  std::string program_;
};

TEST_F(WorkspaceFiles, ReadsTheSceneTheEffectsAndTheirAssignments) {
  Workspace workspace;
  MessageLog log;
  ASSERT_TRUE(read("SCENE,\\media\\scenes\\pedestal.vase\r\nEFFECTS,2\r\n"
                   "EFFECT_FILE,\\effects\\Glow.veff\r\nMESH,1\r\nSUBSET,1,0\r\n"
                   "EFFECT_FILE,\\effects\\Bump.veff\r\nSUBSET,0,2\r\nSUBSET,0,0\r\n",
                   workspace, log));
  ASSERT_EQ(workspace.effects.size(), 2u);
  EXPECT_EQ(workspace.effects[0]->name, "Glow");
  EXPECT_EQ(workspace.effects[1]->name, "Bump");
  ASSERT_EQ(workspace.scene.meshCount(), 2);
  const Scene& scene = workspace.scene;
  EXPECT_EQ(scene.meshes[1].effect, workspace.effects[0].get());
  EXPECT_EQ(scene.meshes[1].subsets[0].effect, workspace.effects[0].get());
  EXPECT_EQ(scene.meshes[0].effect, nullptr);
  EXPECT_EQ(scene.meshes[0].subsets[0].effect, workspace.effects[1].get());
  EXPECT_EQ(scene.meshes[0].subsets[1].effect, nullptr);
  EXPECT_EQ(scene.meshes[0].subsets[2].effect, workspace.effects[1].get());
}

TEST_F(WorkspaceFiles, AssignmentsGoToTheLastEffectReadAndNeedOne) {
  // The second EFFECT_FILE line is missing: its SUBSET lines land on the
  // first effect. Lines before any effect, negative numbers and numbers
  // beyond the scene are passed over; the EFFECTS count does not matter.
  Workspace workspace;
  MessageLog log;
  ASSERT_TRUE(read("SCENE,\\media\\scenes\\pedestal.vase\r\nSUBSET,0,1\r\nMESH,0\r\nEFFECTS,7\r\n"
                   "EFFECT_FILE,\\effects\\Glow.veff\r\nSUBSET,0,2\r\nSUBSET,0,1\r\nSUBSET,5,0\r\n"
                   "SUBSET,0,99\r\nMESH,-1\r\nSUBSET,-1,0\r\nMESH,2\r\nNONSENSE,1,2\r\n",
                   workspace, log));
  ASSERT_EQ(workspace.effects.size(), 1u);
  const Scene& scene = workspace.scene;
  EXPECT_EQ(scene.meshes[0].effect, nullptr);
  EXPECT_EQ(scene.meshes[0].subsets[0].effect, nullptr);
  EXPECT_EQ(scene.meshes[0].subsets[1].effect, workspace.effects[0].get());
  EXPECT_EQ(scene.meshes[0].subsets[2].effect, workspace.effects[0].get());
  EXPECT_EQ(scene.meshes[1].effect, nullptr);
}

TEST_F(WorkspaceFiles, AMissingFileStopsTheReadingAndKeepsWhatCameBefore) {
  Workspace workspace;
  MessageLog log;
  EXPECT_FALSE(read("SCENE,\\media\\scenes\\cube.vase\r\nEFFECT_FILE,\\effects\\Glow.veff\r\nMESH,0\r\n"
                    "EFFECT_FILE,\\effects\\Missing.veff\r\nEFFECT_FILE,\\effects\\Bump.veff\r\n",
                    workspace, log));
  ASSERT_EQ(workspace.effects.size(), 1u);
  EXPECT_EQ(workspace.scene.meshes[0].effect, workspace.effects[0].get());

  Workspace noScene;
  EXPECT_FALSE(read("SCENE,\\media\\scenes\\gone.vase\r\nEFFECT_FILE,\\effects\\Glow.veff\r\n", noScene, log));
  EXPECT_TRUE(noScene.effects.empty());
  auto lines = log.takePending();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Failed to load Scene \"gone.vase\" !");

  Workspace none;
  EXPECT_FALSE(readWorkspace(program_ + "\\nowhere.vwork", none, program_, WorkspaceHooks{}, log));
  EXPECT_EQ(log.takePending().back(), "Error while opening \"" + program_ + "\\nowhere.vwork\" !");
}

TEST_F(WorkspaceFiles, TreeStepsThatFailStopTheReading) {
  WorkspaceHooks hooks;
  hooks.fillEffectTree = [](Effect&) { return false; };
  writeText(program_ + "\\test.vwork", "EFFECT_FILE,\\effects\\Glow.veff\r\n");
  Workspace workspace;
  MessageLog log;
  EXPECT_FALSE(readWorkspace(program_ + "\\test.vwork", workspace, program_, hooks, log));
  EXPECT_TRUE(workspace.effects.empty());
  EXPECT_EQ(log.takePending().back(), "Error while updating new effect in workspace !");
}

TEST_F(WorkspaceFiles, SavingWritesEveryEffectAndTheAssignmentsAndReadsBack) {
  Workspace workspace;
  MessageLog log;
  ASSERT_TRUE(read("SCENE,\\media\\scenes\\pedestal.vase\r\nEFFECT_FILE,\\effects\\Glow.veff\r\nMESH,1\r\n"
                   "SUBSET,1,0\r\n",
                   workspace, log));
  // A second, never saved effect with a subset of its own.
  workspace.effects.push_back(std::make_unique<Effect>(createEffect(program_, log)));
  workspace.scene.meshes[0].subsets[2].effect = workspace.effects[1].get();
  log.takePending();

  const std::string path = program_ + "\\Saved.vwork";
  ASSERT_TRUE(writeWorkspace(path, workspace, program_, log));
  EXPECT_EQ(fileText(path),
            "SCENE,\\media\\scenes\\pedestal.vase\r\nEFFECTS,2\r\n"
            "EFFECT_FILE,\\effects\\Glow.veff\r\nMESH,1\r\nSUBSET,1,0\r\n"
            "EFFECT_FILE,\\effects\\New Effect.veff\r\nSUBSET,0,2\r\n");
  EXPECT_TRUE(fileExists(program_ + "\\effects\\New Effect.veff"));
  EXPECT_TRUE(folderExists(program_ + "\\effects\\New Effect"));
  EXPECT_EQ(log.pending().back(), "Workspace \"" + path + "\" saved successfully ...");

  Workspace again;
  ASSERT_TRUE(readWorkspace(path, again, program_, WorkspaceHooks{}, log));
  ASSERT_EQ(again.effects.size(), 2u);
  EXPECT_EQ(again.effects[1]->name, "New Effect");
  EXPECT_EQ(again.scene.meshes[0].subsets[2].effect, again.effects[1].get());
  EXPECT_EQ(again.scene.meshes[1].effect, again.effects[0].get());
}

TEST_F(WorkspaceFiles, ANewEffectSavedOnceIsSavedToTheSamePlaceAgain) {
  // After the first save the effect has an index file name but still its
  // folder in relative form: the second save must find the same files.
  Workspace workspace;
  MessageLog log;
  workspace.effects.push_back(std::make_unique<Effect>(createEffect(program_, log)));
  const std::string path = program_ + "\\Twice.vwork";
  ASSERT_TRUE(writeWorkspace(path, workspace, program_, log));
  const std::string first = fileText(path);
  ASSERT_EQ(first, "EFFECTS,1\r\nEFFECT_FILE,\\effects\\New Effect.veff\r\n");

  ASSERT_TRUE(writeWorkspace(path, workspace, program_, log));
  EXPECT_EQ(fileText(path), first);
  EXPECT_FALSE(fileExists(program_ + "\\New Effect.veff"));

  Workspace again;
  ASSERT_TRUE(readWorkspace(path, again, program_, WorkspaceHooks{}, log));
  ASSERT_EQ(again.effects.size(), 1u);
  EXPECT_EQ(again.effects[0]->name, "New Effect");
}

TEST_F(WorkspaceFiles, NewEffectsOfTheSameNameDoNotOverwriteEachOther) {
  // Two new effects both named "New Effect", and a loaded effect whose index
  // file a new one named "Glow" would take: each keeps files of its own.
  Workspace workspace;
  MessageLog log;
  ASSERT_TRUE(read("EFFECT_FILE,\\effects\\Glow.veff\r\n", workspace, log));
  for (int i = 0; i < 3; ++i) workspace.effects.push_back(std::make_unique<Effect>(createEffect(program_, log)));
  workspace.effects[3]->name = "Glow";
  // Each effect's own mark: the register of its first stream entry.
  for (int i = 0; i < 4; ++i) workspace.effects[i]->streamMapping.entries[0].inputRegister = 10 + i;

  const std::string path = program_ + "\\Same.vwork";
  ASSERT_TRUE(writeWorkspace(path, workspace, program_, log));
  EXPECT_EQ(fileText(path),
            "EFFECTS,4\r\nEFFECT_FILE,\\effects\\Glow.veff\r\nEFFECT_FILE,\\effects\\New Effect.veff\r\n"
            "EFFECT_FILE,\\effects\\New Effect 2.veff\r\nEFFECT_FILE,\\effects\\Glow 2.veff\r\n");

  Workspace again;
  ASSERT_TRUE(readWorkspace(path, again, program_, WorkspaceHooks{}, log));
  ASSERT_EQ(again.effects.size(), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(again.effects[i]->streamMapping.entries[0].inputRegister, 10 + i) << i;
  EXPECT_EQ(again.effects[2]->name, "New Effect");
  EXPECT_EQ(again.effects[3]->name, "Glow");
}

TEST_F(WorkspaceFiles, ScenesOutsideTheProgramFolderAreWrittenAbsolute) {
  test::TempFolder elsewhere;
  std::string scenePath = elsewhere.corePath() + "\\Outside.vase";
  writeText(scenePath, fileText(program_ + "\\media\\scenes\\cube.vase"));
  Workspace workspace;
  MessageLog log;
  ASSERT_TRUE(loadScene(scenePath, workspace.scene, log));
  workspace.sceneLoaded = true;
  workspace.effects.push_back(std::make_unique<Effect>(createEffect(program_, log)));
  const std::string path = program_ + "\\Outside.vwork";
  ASSERT_TRUE(writeWorkspace(path, workspace, program_, log));
  std::string firstLine = splitLines(fileText(path))[0];
  EXPECT_EQ(firstLine, "SCENE," + toLowerAscii(elsewhere.corePath()) + "\\Outside.vase");
}

TEST_F(WorkspaceFiles, PathsWithCommasReadBackAsWritten) {
  // The path is the last field of its line: commas inside it belong to it.
  const std::string folder = program_ + "\\media\\old, kept";
  ASSERT_NE(createFolder(folder), FolderResult::failed);
  writeText(folder + "\\Cube, v2.vase", fileText(program_ + "\\media\\scenes\\cube.vase"));
  Workspace workspace;
  MessageLog log;
  ASSERT_TRUE(loadScene(folder + "\\Cube, v2.vase", workspace.scene, log));
  workspace.sceneLoaded = true;
  workspace.effects.push_back(std::make_unique<Effect>(createEffect(program_, log)));
  workspace.scene.meshes[0].effect = workspace.effects[0].get();
  const std::string path = program_ + "\\Commas.vwork";
  ASSERT_TRUE(writeWorkspace(path, workspace, program_, log));

  Workspace again;
  ASSERT_TRUE(readWorkspace(path, again, program_, WorkspaceHooks{}, log));
  EXPECT_EQ(again.scene.name, "Cube, v2.vase");
  ASSERT_EQ(again.effects.size(), 1u);
  ASSERT_EQ(again.scene.meshCount(), 1);
  EXPECT_EQ(again.scene.meshes[0].effect, again.effects[0].get());
}

TEST_F(WorkspaceFiles, NothingToSaveWithoutEffectsAndAFailedSaveKeepsTheOldFile) {
  Workspace empty;
  MessageLog log;
  EXPECT_FALSE(writeWorkspace(program_ + "\\x.vwork", empty, program_, log));
  EXPECT_EQ(log.takePending().back(), "No effect present - nothing to save ...");
  EXPECT_FALSE(fileExists(program_ + "\\x.vwork"));

  Workspace workspace;
  workspace.effects.push_back(std::make_unique<Effect>(createEffect(program_, log)));
  EXPECT_FALSE(writeWorkspace(program_ + "\\no such folder\\x.vwork", workspace, program_, log));
  EXPECT_EQ(log.takePending().back(), "Error while saving \"" + program_ + "\\no such folder\\x.vwork\" !");
}

TEST_F(WorkspaceFiles, ClearingForgetsEffectsAndTheirAssignments) {
  Workspace workspace;
  MessageLog log;
  ASSERT_TRUE(read("SCENE,\\media\\scenes\\cube.vase\r\nEFFECT_FILE,\\effects\\Glow.veff\r\nMESH,0\r\n", workspace,
                   log));
  int erased = 0;
  WorkspaceHooks hooks;
  hooks.eraseEffectTree = [&](Effect&) { return ++erased > 0; };
  ASSERT_TRUE(clearWorkspace(workspace, hooks, log));
  EXPECT_EQ(erased, 1);
  EXPECT_TRUE(workspace.effects.empty());
  EXPECT_FALSE(workspace.sceneLoaded);
  EXPECT_EQ(workspace.scene.meshCount(), 0);
}

}  // namespace
}  // namespace veltrace
