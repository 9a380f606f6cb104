// File > Import Model... in the real main frame under Wine, with a stand-in
// worker: a model the import crashes on or that needs too much memory
// leaves the program running with its scene, logs one line and leaves no
// file; a good one is loaded as Load Scene loads it.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "base/files.h"
#include "panes/frame/main_frame.h"
#include "tests/support/temp_folder.h"

namespace veltrace::panes {
namespace {

void pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

std::string besideThisTest(const char* name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return folderPart(path) + name;
}

class ImportModelFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy(VELTRACE_DATA_DIR, folder.path(), std::filesystem::copy_options::recursive);
    frame = std::make_unique<CMainFrame>(folder.corePath(), log);
    frame->view().creationWidth = 320;
    frame->view().creationHeight = 240;
    ASSERT_TRUE(frame->create());
    frame->importWorkerPath = besideThisTest("fake_import_worker.exe");
    frame->answerQuestion = [](const std::string&, const std::string&) { return std::optional<bool>(true); };
    pump();
    ASSERT_TRUE(frame->document().loadScene(folder.corePath() + "\\media\\scenes\\cube.vase"));
    log.takePending();
  }
  void TearDown() override {
    if (frame && IsWindow(frame->handle())) DestroyWindow(frame->handle());
    frame.reset();
    pump();
  }
  void importModel(const std::string& name) {
    frame->answerModelDialog = [name](const FileDialogSpec&) {
      return std::optional<ModelChoice>(ModelChoice{"C:\\models\\" + name, false});
    };
    frame->runCommand(commandImportModel);
    pump();
  }
  std::string imported(const std::string& name) const {
    return folder.corePath() + "\\media\\scenes\\imported\\" + name;
  }

  test::TempFolder folder;
  MessageLog log;
  std::unique_ptr<CMainFrame> frame;
};

TEST_F(ImportModelFrame, AModelTheImportCrashesOnLeavesTheProgramAndItsSceneAsTheyWere) {
  importModel("crash.3ds");
  EXPECT_TRUE(IsWindow(frame->handle()));
  EXPECT_EQ(log.takePending(), (std::vector<std::string>{
                                   "Cannot import \"crash.3ds\": the import library crashed (exception 0xC0000005)"}));
  EXPECT_EQ(frame->document().workspace().scene.name, "cube.vase");
  EXPECT_FALSE(fileExists(imported("crash.vase")));
  EXPECT_FALSE(fileExists(imported("crash.vase.importing")));
}

TEST_F(ImportModelFrame, AModelThatNeedsTooMuchMemoryIsStoppedAndLoggedTheSameWay) {
  importModel("hog.off");
  EXPECT_TRUE(IsWindow(frame->handle()));
  EXPECT_EQ(log.takePending(),
            (std::vector<std::string>{"Cannot import \"hog.off\": it needs more than 1024 MB of memory"}));
  EXPECT_EQ(frame->document().workspace().scene.name, "cube.vase");
  EXPECT_FALSE(fileExists(imported("hog.vase.importing")));
}

TEST_F(ImportModelFrame, AnImportedSceneIsLoadedAsLoadSceneDoes) {
  importModel("good.obj");
  EXPECT_TRUE(fileExists(imported("good.vase")));
  EXPECT_EQ(log.takePending(), (std::vector<std::string>{"Scene \"good.vase\" loaded successfully ..."}));
  EXPECT_EQ(frame->document().workspace().scene.name, "good.vase");
  char title[256] = {};
  GetWindowTextA(frame->handle(), title, sizeof title);
  EXPECT_STREQ(title, "good.vase - Veltrace");
}

}  // namespace
}  // namespace veltrace::panes
