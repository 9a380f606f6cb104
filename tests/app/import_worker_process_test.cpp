// The program's side of Import Model under Wine: the worker (a stand-in
// that crashes, hoards memory, hangs or refuses on request) runs in its job
// and each end comes back as one result, with no file left behind.

#include "app/import_worker_process.h"

#include <gtest/gtest.h>

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

TEST_F(ImportWorkerProcess, AMissingWorkerIsReported) {
  ImportResult result =
      runImportWorkerProcess({besideThisTest("no_such_worker.exe"), "C:\\m.obj", folder.corePath() + "\\m.vase", false},
                             {}, nullptr);
  EXPECT_EQ(result.end, ImportEnd::notStarted);
  EXPECT_EQ(result.reason, "the import worker could not be started");
}

}  // namespace
}  // namespace veltrace
