// The program's side of Import Model under Wine: the worker (a stand-in
// that crashes, hoards memory, hangs or refuses on request) runs in its job
// and each end comes back as one result, with no file left behind.

#include "app/import_worker_process.h"

#include <gtest/gtest.h>

#include <thread>

#include "base/files.h"
#include "tests/support/temp_folder.h"

namespace veltrace {
namespace {

std::string besideThisTest(const char* name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return folderPart(path) + name;
}

class ImportWorkerProcess : public ::testing::Test {
 protected:
  ImportResult run(const std::string& model, ImportLimits limits = {}) {
    scene = folder.corePath() + "\\" + model + ".vase";
    return runImportWorkerProcess({besideThisTest("fake_import_worker.exe"), "C:\\models\\" + model, scene, keepUnits},
                                  limits, nullptr);
  }
  bool leftBehind() const { return fileExists(scene) || fileExists(scene + ".importing"); }

  test::TempFolder folder;
  std::string scene;
  bool keepUnits = false;
};

TEST_F(ImportWorkerProcess, AWrittenSceneIsInPlace) {
  keepUnits = true;
  EXPECT_EQ(run("good.obj").end, ImportEnd::written);
  auto written = readWholeFile(scene);
  ASSERT_TRUE(written);
  EXPECT_EQ(written->rfind("*GEOMOBJECT", 0), 0u);
}

TEST_F(ImportWorkerProcess, ARefusalComesBackWithTheWorkersReason) {
  ImportResult result = run("refuse.obj");
  EXPECT_EQ(result.end, ImportEnd::refused);
  EXPECT_EQ(result.reason, "the model holds only lines, no triangles");
  EXPECT_FALSE(leftBehind());
}

TEST_F(ImportWorkerProcess, ACrashIsNamedAndLeavesNoFile) {
  ImportResult result = run("crash.3ds");
  EXPECT_EQ(result.end, ImportEnd::crashed);
  EXPECT_EQ(result.reason, "the import library crashed (exception 0xC0000005)");
  EXPECT_FALSE(leftBehind());
}

TEST_F(ImportWorkerProcess, AWorkerPastTheMemoryLimitIsStopped) {
  ImportLimits limits;
  limits.memoryBytes = 256LL << 20;
  EXPECT_EQ(run("hog.off", limits).end, ImportEnd::outOfMemory);
  EXPECT_FALSE(leftBehind());
}

TEST_F(ImportWorkerProcess, AWorkerPastTheTimeLimitIsStopped) {
  ImportLimits limits;
  limits.seconds = 2;
  const ULONGLONG started = GetTickCount64();
  EXPECT_EQ(run("slow.fbx", limits).end, ImportEnd::outOfTime);
  EXPECT_LT(GetTickCount64() - started, 10000u);
  EXPECT_FALSE(leftBehind());
}

TEST_F(ImportWorkerProcess, CancelInTheProgressWindowStopsTheWorker) {
  // A second thread presses Cancel once the progress window shows.
  std::thread user([] {
    for (int tries = 0; tries < 100; ++tries) {
      Sleep(100);
      if (HWND progress = FindWindowA(nullptr, importProgressTitle)) {
        PostMessageA(progress, WM_COMMAND, IDCANCEL, 0);
        return;
      }
    }
  });
  const ULONGLONG started = GetTickCount64();
  ImportResult result = run("slow.fbx");
  user.join();
  EXPECT_EQ(result.end, ImportEnd::cancelled);
  EXPECT_LT(GetTickCount64() - started, 20000u);
  EXPECT_FALSE(leftBehind());
}

TEST_F(ImportWorkerProcess, AMissingWorkerIsReported) {
  ImportResult result =
      runImportWorkerProcess({besideThisTest("no_such_worker.exe"), "C:\\m.obj", folder.corePath() + "\\m.vase", false},
                             {}, nullptr);
  EXPECT_EQ(result.end, ImportEnd::notStarted);
  EXPECT_EQ(result.reason, "the import worker could not be started");
}

// The real worker, where it imports (tools/bootstrap built assimp for this
// processor): a model from Debian's assimp-testmodels, and a PLY file of a
// few hundred bytes that announces 400 million vertices, on which assimp
// info grows past 4 GB.
class RealImportWorker : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fileExists(worker) || !fileExists(modelsFolder + "\\OBJ\\box.obj"))
      GTEST_SKIP() << "no veltrace-cli.exe or no assimp test models";
    probe = runImportWorkerProcess({worker, modelsFolder + "\\OBJ\\box.obj", folder.corePath() + "\\box.vase", false},
                                   {}, nullptr);
    if (probe.end == ImportEnd::refused && probe.reason.find("no model import") != std::string::npos)
      GTEST_SKIP() << "this veltrace-cli.exe has no model import";
  }
  const std::string worker = VELTRACE_CLI_WINDOWS_PATH;
  const std::string modelsFolder = "Z:\\usr\\share\\assimp\\models";
  test::TempFolder folder;
  ImportResult probe;
};

TEST_F(RealImportWorker, ImportsAModelAndStopsOneThatNeedsTooMuchMemory) {
  EXPECT_EQ(probe.end, ImportEnd::written) << probe.reason;
  EXPECT_TRUE(fileExists(folder.corePath() + "\\box.vase"));
  const std::string scene = folder.corePath() + "\\oom.vase";
  const std::string hungry = std::string(VELTRACE_SOURCE_DIR_WINDOWS) + "\\tests\\scene\\models\\vertex_count_too_large.ply";
  ImportResult result = runImportWorkerProcess({worker, hungry, scene, false}, {}, nullptr);
  EXPECT_EQ(result.end, ImportEnd::outOfMemory) << result.reason;
  EXPECT_FALSE(fileExists(scene));
  EXPECT_FALSE(fileExists(scene + ".importing"));
}

}  // namespace
}  // namespace veltrace
