// The document commands with a recording stand-in for the windows: which
// questions are asked, what a Cancel keeps, what the title and the log say.

#include "app/veltrace_doc.h"

#include <gtest/gtest.h>

#include <deque>

#include "app/command_line.h"
#include "base/files.h"
#include "base/text.h"
#include "effect/effect_factory.h"
#include "scene/authoring/scene_writer.h"
#include "scene/authoring/shapes.h"
#include "scene/scene_reader.h"
#include "tests/support/temp_folder.h"

namespace veltrace {
namespace {

std::string coreForm(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

const std::string dataFolder = coreForm(VELTRACE_DATA_DIR);

class RecordingUi : public DocumentUi {
 public:
  bool confirm(const std::string& text, const std::string& caption) override {
    questions.push_back(caption + ": " + text);
    return answerOk;
  }
  std::optional<std::string> chooseFileToOpen(const FileDialogSpec& spec) override {
    dialogs.push_back(spec);
    return chosenFile;
  }
  std::optional<std::string> chooseFileToSave(const FileDialogSpec& spec) override {
    dialogs.push_back(spec);
    return chosenFile;
  }
  void sceneLoadStarting() override { events.push_back("loading"); }
  void sceneLoadFinished() override { events.push_back("loaded"); }
  void setDrawnScene(Scene* scene) override { events.push_back(scene ? "draw scene" : "draw nothing"); }
  void releaseTexturesAndShaders() override { events.push_back("release device objects"); }
  void setTitle(const std::string& text) override { title = text; }
  void workspaceChanged() override {}
  std::optional<ModelChoice> chooseModelToImport(const FileDialogSpec& spec) override {
    dialogs.push_back(spec);
    return chosenModel;
  }
  ImportResult runModelImport(const std::string& model, const std::string& scene, bool keepUnits) override {
    imports.push_back(model + " -> " + scene + (keepUnits ? " (units kept)" : ""));
    if (workerEnd.end == ImportEnd::written) replaceFileWith(scene, *readWholeFile(VELTRACE_DATA_DIR "/media/scenes/cube.vase"));
    return workerEnd;
  }

  bool answerOk = true;
  std::optional<std::string> chosenFile;
  std::optional<ModelChoice> chosenModel;
  ImportResult workerEnd{ImportEnd::written, {}, {}};
  std::vector<std::string> imports;
  std::vector<std::string> questions;
  std::vector<FileDialogSpec> dialogs;
  std::vector<std::string> events;
  std::string title = "Veltrace";
};

class Document : public ::testing::Test {
 protected:
  void addNewEffect() {
    doc.workspace().effects.push_back(std::make_unique<Effect>());
  }
  MessageLog log;
  RecordingUi ui;
  CVeltraceDoc doc{dataFolder, log, ui};
};

TEST_F(Document, LoadSceneCancelledInItsDialogWritesNothingAndKeepsTheScene) {
  ASSERT_TRUE(doc.loadScene(dataFolder + "\\media\\scenes\\cube.vase"));
  log.takePending();
  ui.events.clear();
  ui.chosenFile.reset();
  EXPECT_FALSE(doc.loadScene(""));
  EXPECT_TRUE(log.pending().empty());
  EXPECT_TRUE(ui.events.empty());
  EXPECT_EQ(doc.workspace().scene.meshCount(), 1);
  ASSERT_EQ(ui.dialogs.size(), 1u);
  EXPECT_EQ(ui.dialogs[0].filter, "Veltrace ASCII Scene File(*.vase)|*.vase|All Files(*.*)|*.*||");
  EXPECT_EQ(ui.dialogs[0].defaultExtension, "vase");
  EXPECT_EQ(ui.dialogs[0].initialFolder, dataFolder + "\\media\\scenes\\");
}

TEST_F(Document, LoadingASceneShowsTheNoticeFirstAndNamesTheWindowAfterTheFile) {
  ASSERT_TRUE(doc.loadScene(dataFolder + "\\media\\scenes\\cube.vase"));
  EXPECT_EQ(ui.title, "cube.vase - Veltrace");
  EXPECT_EQ(ui.events, (std::vector<std::string>{"loading", "draw nothing", "draw scene", "loaded"}));
  EXPECT_EQ(log.pending(), (std::vector<std::string>{"Scene \"cube.vase\" loaded successfully ..."}));
}

TEST_F(Document, ASceneThatCannotBeReadIsLoggedAndTheCurrentSceneKept) {
  ASSERT_TRUE(doc.loadScene(dataFolder + "\\media\\scenes\\cube.vase"));
  log.takePending();
  ui.events.clear();
  EXPECT_FALSE(doc.loadScene(dataFolder + "\\media\\scenes\\missing.vase"));
  EXPECT_EQ(ui.title, "cube.vase - Veltrace");
  EXPECT_EQ(doc.workspace().scene.meshCount(), 1);
  EXPECT_EQ(ui.events, (std::vector<std::string>{"loading", "loaded"}));
  EXPECT_EQ(log.pending(), (std::vector<std::string>{"Failed to load Scene \"missing.vase\" !"}));
}

TEST_F(Document, AWorkspaceFileThatCannotBeReadKeepsTheCurrentWorkspace) {
  addNewEffect();
  ui.chosenFile = dataFolder + "\\Workspaces\\missing.vwork";
  doc.openWorkspace();
  EXPECT_EQ(doc.workspace().effects.size(), 1u);
  EXPECT_EQ(log.pending(), (std::vector<std::string>{"Error while opening \"" + *ui.chosenFile + "\" !"}));
}

TEST_F(Document, ExitAsksOnlyWithEffectsLoadedWithABlankBeforeTheQuestionMark) {
  EXPECT_TRUE(doc.confirmExit());
  EXPECT_TRUE(ui.questions.empty());
  addNewEffect();
  ui.answerOk = false;
  EXPECT_FALSE(doc.confirmExit());
  EXPECT_EQ(ui.questions, (std::vector<std::string>{"Confirm Exit: Your current workspace will be lost - are you sure ?"}));
}

TEST_F(Document, NewWorkspaceCancelledKeepsEverythingAndConfirmedClearsAll) {
  ASSERT_TRUE(doc.loadScene(dataFolder + "\\media\\scenes\\cube.vase"));
  addNewEffect();
  ui.answerOk = false;
  doc.newWorkspace();
  EXPECT_EQ(ui.questions.back(), "Confirm Delete: Your current workspace will be deleted - are you sure?");
  EXPECT_EQ(doc.workspace().effects.size(), 1u);
  ui.answerOk = true;
  ui.events.clear();
  doc.newWorkspace();
  EXPECT_TRUE(doc.workspace().effects.empty());
  EXPECT_EQ(doc.workspace().scene.meshCount(), 0);
  EXPECT_EQ(ui.title, "Veltrace");
  EXPECT_EQ(ui.events.front(), "draw nothing");
  EXPECT_NE(std::find(ui.events.begin(), ui.events.end(), "release device objects"), ui.events.end());
}

TEST_F(Document, OpenWorkspaceAsksWithoutABlankOnlyWhenEffectsAreLoaded) {
  ui.chosenFile.reset();
  doc.openWorkspace();
  EXPECT_TRUE(ui.questions.empty());
  ASSERT_EQ(ui.dialogs.size(), 1u);
  EXPECT_EQ(ui.dialogs[0].filter, "Veltrace Workspace (*.vwork)|*.vwork|All Files(*.*)|*.*||");
  EXPECT_EQ(ui.dialogs[0].initialFolder, dataFolder + "\\Workspaces\\");
  addNewEffect();
  ui.answerOk = false;
  doc.openWorkspace();
  EXPECT_EQ(ui.questions, (std::vector<std::string>{"Confirm Delete: Your current workspace will be lost - are you sure?"}));
  EXPECT_EQ(ui.dialogs.size(), 1u);  // Cancel ends the command before the dialog
}

TEST_F(Document, OpeningTheSampleWorkspaceLoadsItsSceneAndEffects) {
  ui.chosenFile = dataFolder + "\\Workspaces\\sample.vwork";
  doc.openWorkspace();
  EXPECT_EQ(ui.title, "pedestal.vase - Veltrace");
  ASSERT_EQ(doc.workspace().effects.size(), 2u);
  EXPECT_EQ(doc.workspace().scene.meshes.at(1).effect, doc.workspace().effects[1].get());
}

TEST_F(Document, SavingWithoutEffectsOnlySaysThereIsNothingToSave) {
  doc.saveWorkspace();
  EXPECT_TRUE(ui.dialogs.empty());
  EXPECT_EQ(log.pending(), (std::vector<std::string>{"No effect present - nothing to save ..."}));
}

TEST(DocumentTitle, IsTheFileNameAfterTheLastBackslash) {
  EXPECT_EQ(documentTitle("C:\\any\\folder\\cube.vase"), "cube.vase - Veltrace");
  EXPECT_EQ(documentTitle("cube.vase"), "cube.vase - Veltrace");
}

TEST(CommandLine, TheExtensionDecidesWhatIsOpened) {
  struct Case {
    const char* arguments;
    const char* workspace;
    const char* scene;
    const char* unknown;
  } cases[] = {
      {"", "", "", ""},
      {"  Workspaces\\sample.vwork ", "Workspaces\\sample.vwork", "", ""},
      {"\"C:\\My Scenes\\cube.VASE\"", "", "C:\\My Scenes\\cube.VASE", ""},
      {"notes.txt", "", "", "notes.txt"},
      {"\"unterminated.vwork", "unterminated.vwork", "", ""},
  };
  for (const Case& c : cases) {
    StartRequest request = parseCommandLine(c.arguments);
    EXPECT_EQ(request.workspace, c.workspace) << c.arguments;
    EXPECT_EQ(request.scene, c.scene) << c.arguments;
    EXPECT_EQ(request.unknown, c.unknown) << c.arguments;
  }
}

// Import Model in a program folder of its own: the worker stand-in writes
// the cube scene where it is told to, or ends as set.
class ModelImportDocument : public ::testing::Test {
 protected:
  std::string imported(const std::string& name) { return folder.corePath() + "\\media\\scenes\\imported\\" + name; }
  test::TempFolder folder;
  MessageLog log;
  RecordingUi ui;
  CVeltraceDoc doc{folder.corePath(), log, ui};
};

TEST_F(ModelImportDocument, CancelledInItsDialogNothingHappens) {
  EXPECT_FALSE(doc.importModel(""));
  ASSERT_EQ(ui.dialogs.size(), 1u);
  EXPECT_EQ(ui.dialogs[0].filter, modelFileFilter);
  EXPECT_TRUE(ui.imports.empty());
  EXPECT_TRUE(log.pending().empty());
}

TEST_F(ModelImportDocument, TheWrittenSceneIsLoadedAsLoadSceneDoesAndNeverOverwritten) {
  ui.chosenModel = ModelChoice{"D:\\models\\chair.fbx", true};
  ASSERT_TRUE(doc.importModel(""));
  EXPECT_EQ(ui.imports, (std::vector<std::string>{"D:\\models\\chair.fbx -> " + imported("chair.vase") + " (units kept)"}));
  EXPECT_EQ(ui.title, "chair.vase - Veltrace");
  EXPECT_EQ(doc.workspace().scene.meshCount(), 1);
  EXPECT_EQ(log.takePending(), (std::vector<std::string>{"Scene \"chair.vase\" loaded successfully ..."}));
  ASSERT_TRUE(doc.importModel("D:\\models\\chair.fbx"));
  EXPECT_EQ(ui.imports.back(), "D:\\models\\chair.fbx -> " + imported("chair 2.vase"));
}

TEST_F(ModelImportDocument, AFailedImportIsOneLineAndTheSceneStays) {
  ASSERT_TRUE(doc.loadScene(dataFolder + "\\media\\scenes\\cube.vase"));
  log.takePending();
  ui.events.clear();
  for (ImportEnd end : {ImportEnd::crashed, ImportEnd::outOfMemory, ImportEnd::outOfTime, ImportEnd::cancelled}) {
    ui.workerEnd = {end, "the import library crashed (exception 0xC0000005)", {}};
    EXPECT_FALSE(doc.importModel("D:\\bad.3ds"));
    auto lines = log.takePending();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], importFailureLine("D:\\bad.3ds", ui.workerEnd, ImportLimits{}));
  }
  EXPECT_TRUE(ui.events.empty());
  EXPECT_EQ(ui.title, "cube.vase - Veltrace");
  EXPECT_EQ(doc.workspace().scene.meshCount(), 1);
  EXPECT_FALSE(fileExists(imported("bad.vase")));
}

TEST_F(ModelImportDocument, LoadSceneOffersTheImportForAFileWithStandardFaces) {
  AuthoredScene box;
  box.materials.emplace_back();
  const std::int32_t ids[6] = {0, 0, 0, 0, 0, 0};
  box.meshes.push_back(makeBox("Box", {0, 0, 0}, {1, 1, 1}, ids));
  const std::string ase = folder.corePath() + "\\exported.ase";
  ASSERT_TRUE(writePlainAseScene(ase, box));

  ui.answerOk = false;
  EXPECT_FALSE(doc.loadScene(ase));
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0], std::string("Import Model: ") + formatText(importInsteadQuestion, "exported.ase"));
  EXPECT_TRUE(ui.imports.empty());
  EXPECT_EQ(log.takePending(), (std::vector<std::string>{formatText(standardFacesMessage, "exported.ase")}));

  ui.answerOk = true;
  EXPECT_TRUE(doc.loadScene(ase));
  EXPECT_EQ(ui.imports, (std::vector<std::string>{ase + " -> " + imported("exported.vase")}));
  EXPECT_EQ(ui.title, "exported.vase - Veltrace");
}

}  // namespace
}  // namespace veltrace
