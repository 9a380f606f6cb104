// The import worker's ends, each made happen by a stand-in for the import
// library, and the names the program gives imported scenes.

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <thread>
#include <vector>

#include "base/files.h"
#include "cli/import_worker.h"
#include "tests/support/temp_folder.h"

namespace veltrace {
namespace {

using cli::WorkReport;

TEST(ImportWorker, TheWorksReportComesBackDoneOrRefused) {
  ImportResult done = cli::runImportWork([] { return WorkReport{true, "1 meshes"}; }, {});
  EXPECT_EQ(done.end, ImportEnd::written);
  EXPECT_EQ(done.summary, "1 meshes");
  ImportResult refused = cli::runImportWork([] { return WorkReport{false, "the model holds nothing to draw"}; }, {});
  EXPECT_EQ(refused.end, ImportEnd::refused);
  EXPECT_EQ(refused.reason, "the model holds nothing to draw");
}

TEST(ImportWorker, ACrashEndsOnlyTheWorkerAndIsNamed) {
  ImportResult result = cli::runImportWork(
      []() -> WorkReport {
        std::raise(SIGSEGV);
        return {true, ""};
      },
      {});
  EXPECT_EQ(result.end, ImportEnd::crashed);
  EXPECT_NE(result.reason.find("crashed"), std::string::npos) << result.reason;
  // A library that gives up by throwing is refused with its words.
  ImportResult thrown = cli::runImportWork([]() -> WorkReport { throw std::runtime_error("bad chunk"); }, {});
  EXPECT_EQ(thrown.end, ImportEnd::refused);
  EXPECT_EQ(thrown.reason, "the import library failed: bad chunk");
}

TEST(ImportWorker, AWorkerPastTheMemoryLimitIsStopped) {
  ImportLimits limits;
  limits.memoryBytes = 200LL << 20;
  ImportResult result = cli::runImportWork(
      [] {
        std::vector<std::vector<char>> hoard;
        for (;;) {
          hoard.emplace_back(16 << 20);
          std::memset(hoard.back().data(), 1, hoard.back().size());
        }
        return WorkReport{true, ""};
      },
      limits);
  EXPECT_EQ(result.end, ImportEnd::outOfMemory);
}

TEST(ImportWorker, AWorkerPastTheTimeLimitIsStopped) {
  ImportLimits limits;
  limits.seconds = 1;
  auto started = std::chrono::steady_clock::now();
  ImportResult result = cli::runImportWork(
      [] {
        std::this_thread::sleep_for(std::chrono::seconds(30));
        return WorkReport{true, ""};
      },
      limits);
  EXPECT_EQ(result.end, ImportEnd::outOfTime);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

TEST(ImportWorker, TheFinishedFileNeverReplacesOne) {
  test::TempFolder folder;
  const std::string temporary = folder.corePath() + "\\a.vase.importing";
  const std::string target = folder.corePath() + "\\a.vase";
  ASSERT_TRUE(replaceFileWith(temporary, "new"));
  ASSERT_TRUE(replaceFileWith(target, "old"));
  EXPECT_FALSE(cli::placeNewFile(temporary, target));
  EXPECT_EQ(readWholeFile(target), "old");
  std::filesystem::remove(nativePath(target));
  EXPECT_TRUE(cli::placeNewFile(temporary, target));
  EXPECT_EQ(readWholeFile(target), "new");
  EXPECT_FALSE(fileExists(temporary));
}

TEST(ModelImport, EachFailureIsOneLineNamingTheFileAndTheReason) {
  const ImportLimits limits;
  struct Case {
    ImportResult result;
    const char* line;
  } cases[] = {
      {{ImportEnd::refused, "the model holds only lines, no triangles", {}},
       "Cannot import \"wire.obj\": the model holds only lines, no triangles"},
      {{ImportEnd::crashed, "the import library crashed (Segmentation fault)", {}},
       "Cannot import \"wire.obj\": the import library crashed (Segmentation fault)"},
      {{ImportEnd::outOfMemory, {}, {}}, "Cannot import \"wire.obj\": it needs more than 1024 MB of memory"},
      {{ImportEnd::outOfTime, {}, {}}, "Cannot import \"wire.obj\": it takes longer than 60 seconds"},
      {{ImportEnd::cancelled, {}, {}}, "Cannot import \"wire.obj\": cancelled"},
  };
  for (const Case& c : cases) EXPECT_EQ(importFailureLine("C:\\models\\wire.obj", c.result, limits), c.line);
}

TEST(ModelImport, ImportedScenesAreNamedAfterTheModelAndNeverOverAFile) {
  std::vector<std::string> taken;
  auto exists = [&](const std::string& path) { return std::find(taken.begin(), taken.end(), path) != taken.end(); };
  EXPECT_EQ(importedScenePath("C:\\V", "D:\\models\\chair.fbx", exists), "C:\\V\\media\\scenes\\imported\\chair.vase");
  taken = {"C:\\V\\media\\scenes\\imported\\chair.vase", "C:\\V\\media\\scenes\\imported\\chair 2.vase"};
  EXPECT_EQ(importedScenePath("C:\\V", "D:\\models\\chair.fbx", exists),
            "C:\\V\\media\\scenes\\imported\\chair 3.vase");
  EXPECT_EQ(importedScenePath("C:\\V", "D:\\a,b.v2.obj", exists), "C:\\V\\media\\scenes\\imported\\a.b.v2.vase");
  EXPECT_EQ(importedScenePath("C:\\V", "D:\\.obj", exists), "C:\\V\\media\\scenes\\imported\\.obj.vase");
}

TEST(ModelImport, TheWorkersEndIsReadFromItsExitCodeAndLastErrorLine) {
  EXPECT_EQ(importResultOfWorker(0, "").end, ImportEnd::written);
  EXPECT_EQ(importResultOfWorker(3, "").end, ImportEnd::outOfMemory);
  ImportResult refused = importResultOfWorker(
      1, "warning\r\nveltrace-cli scene: Cannot import \"a: b.obj\": the model holds nothing to draw\r\n");
  EXPECT_EQ(refused.end, ImportEnd::refused);
  EXPECT_EQ(refused.reason, "the model holds nothing to draw");
  EXPECT_EQ(importResultOfWorker(1, "").reason, "the import failed");
  ImportResult crashed = importResultOfWorker(0xC0000005, "");
  EXPECT_EQ(crashed.end, ImportEnd::crashed);
  EXPECT_EQ(crashed.reason, "the import library crashed (exception 0xC0000005)");
}

}  // namespace
}  // namespace veltrace
