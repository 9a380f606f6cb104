#pragma once
// A fresh folder for one test, removed with everything in it afterwards.

#include <atomic>
#include <filesystem>
#include <random>
#include <string>

namespace veltrace::test {

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    static const unsigned processTag = std::random_device{}();
    auto base = std::filesystem::temp_directory_path();
    for (;;) {
      path_ = base / ("veltrace-test-" + std::to_string(processTag) + "-" + std::to_string(counter++));
      std::error_code error;
      if (std::filesystem::create_directory(path_, error)) break;
    }
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // The folder in the core's path form: backslashes, no trailing backslash.
  std::string corePath() const {
    std::string text = path_.string();
    for (char& c : text)
      if (c == '/') c = '\\';
    return text;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace veltrace::test
