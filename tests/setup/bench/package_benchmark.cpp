// Reading a package of about 32 MB inflated: listing it (every record's data
// inflated and skipped) and extracting it to files, against plain zlib
// inflating the same stream from memory in the same run. The "of_zlib"
// counter is the reader's throughput as a share of zlib's; for extraction
// "of_zlib_writing" compares with zlib that also writes the same files.

#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zlib.h>

#include <ctime>
#include <filesystem>
#include <cstdio>
#include <random>
#include <vector>

#include "base/files.h"
#include "setup/package_reader.h"
#include "setup/packager.h"

namespace {

using namespace veltrace::setup;

// The machine is shared: the thread's own processor time (user and system)
// compares the reader with zlib more steadily than the wall clock.
double threadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

constexpr std::size_t fileCount = 200;
constexpr std::size_t averageFileSize = 168 * 1024;

// A payload that compresses roughly like the shipped one: text files
// (effects, catalogues, scenes) and less compressible binary data.
std::string payloadFile(std::mt19937& random, std::size_t index) {
  static const char* words[] = {"texture", "stage", "D3DTOP_MODULATE", "vertex", "0.500000", "1.000000",
                                "render", "state", "mesh", "*MESH_VERTEX", "normal", "\r\n", "\t", ","};
  std::size_t size = averageFileSize / 2 + random() % averageFileSize;
  std::string data;
  data.reserve(size);
  if (index % 3 == 0) {
    while (data.size() < size) data += static_cast<char>(random() % 64 + (random() % 4 == 0 ? random() % 128 : 0));
  } else {
    while (data.size() < size) {
      data += words[random() % (sizeof words / sizeof *words)];
      data += ' ';
    }
  }
  data.resize(size);
  return data;
}

struct Package {
  std::string folder;
  std::string path;
  std::string container;
  std::uint64_t inflatedSize = 0;
  std::vector<std::pair<std::size_t, std::size_t>> layout;  // per record: header and name, data
  double zlibSeconds = 0;         // best plain inflate of the stream
  double zlibWritingSeconds = 0;  // best inflate that also writes every record's data to a file
};

Package& package() {
  static Package built = [] {
    Package p;
    p.folder = (std::filesystem::temp_directory_path() / ("veltrace-bench-" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(p.folder);
    p.path = p.folder + "/package.ovz";
    std::mt19937 random(7);
    ContainerWriter writer;
    const std::string script = "Version=2.66.1387\r\n";
    writer.addRecord(FileInfo{}, "Setup.ini", script);
    p.layout.emplace_back(recordHeaderSize + 9, script.size());
    p.inflatedSize += recordHeaderSize + 9 + script.size();
    for (std::size_t i = 0; i < fileCount; ++i) {
      std::string data = payloadFile(random, i);
      std::string name = "0001\\F7\\file" + std::to_string(i) + ".dat";
      p.inflatedSize += recordHeaderSize + name.size() + data.size();
      p.layout.emplace_back(recordHeaderSize + name.size(), data.size());
      writer.addRecord(FileInfo{}, name, data);
    }
    p.container = *writer.finish();
    veltrace::replaceFileWith(p.path, p.container);
    return p;
  }();
  return built;
}

std::uint64_t inflateFromMemory(const std::string& container) {
  z_stream zlib{};
  inflateInit(&zlib);
  zlib.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(container.data())) + containerHeaderSize;
  zlib.avail_in = static_cast<uInt>(container.size() - containerHeaderSize);
  static unsigned char scratch[64 * 1024];
  std::uint64_t total = 0;
  int result = Z_OK;
  while (result == Z_OK) {
    zlib.next_out = scratch;
    zlib.avail_out = sizeof scratch;
    result = inflate(&zlib, Z_NO_FLUSH);
    total += sizeof scratch - zlib.avail_out;
  }
  inflateEnd(&zlib);
  return total;
}

// The baseline for extraction: plain zlib over the same stream, writing each
// record's data to a file of its own in the pieces inflate delivers.
void inflateToFiles(const Package& p, const std::string& folder) {
  z_stream zlib{};
  inflateInit(&zlib);
  zlib.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(p.container.data())) + containerHeaderSize;
  zlib.avail_in = static_cast<uInt>(p.container.size() - containerHeaderSize);
  static unsigned char scratch[64 * 1024];
  for (std::size_t record = 0; record < p.layout.size(); ++record) {
    auto [skip, data] = p.layout[record];
    std::FILE* file = nullptr;
    for (std::size_t left = skip + data; left > 0;) {
      if (!file && left == data) file = std::fopen((folder + "/" + std::to_string(record)).c_str(), "wb");
      std::size_t want = left > data ? left - data : (data < sizeof scratch ? data : sizeof scratch);
      zlib.next_out = scratch;
      zlib.avail_out = static_cast<uInt>(want);
      inflate(&zlib, Z_NO_FLUSH);
      std::size_t got = want - zlib.avail_out;
      if (file) std::fwrite(scratch, 1, got, file);
      left -= got;
      if (left <= data) data = left;
    }
    if (!file) file = std::fopen((folder + "/" + std::to_string(record)).c_str(), "wb");
    std::fclose(file);
  }
  inflateEnd(&zlib);
}

void setThroughput(benchmark::State& state, double seconds, double baselineSeconds, const char* name) {
  Package& p = package();
  state.SetBytesProcessed(static_cast<std::int64_t>(p.inflatedSize * state.iterations()));
  if (baselineSeconds > 0) state.counters[name] = baselineSeconds / seconds;
}

void BM_ZlibInflate(benchmark::State& state) {
  Package& p = package();
  for (auto _ : state) {
    double start = threadSeconds();
    benchmark::DoNotOptimize(inflateFromMemory(p.container));
    double seconds = threadSeconds() - start;
    if (p.zlibSeconds == 0 || seconds < p.zlibSeconds) p.zlibSeconds = seconds;
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(p.inflatedSize * state.iterations()));
  state.counters["packed_MB"] = static_cast<double>(p.container.size()) / 1e6;
  state.counters["inflated_MB"] = static_cast<double>(p.inflatedSize) / 1e6;
}

void BM_PackageList(benchmark::State& state) {
  Package& p = package();
  double best = 0;
  for (auto _ : state) {
    double start = threadSeconds();
    PackageReader reader;
    if (reader.open(p.path, 0) != 0) state.SkipWithError("cannot open");
    FileInfo info;
    std::string name;
    std::size_t records = 0;
    while (reader.readHeader(info, name) == RecordRead::record && reader.skipData(info)) ++records;
    if (records != fileCount + 1) state.SkipWithError("records missing");
    double seconds = threadSeconds() - start;
    if (best == 0 || seconds < best) best = seconds;
  }
  setThroughput(state, best, p.zlibSeconds, "of_zlib");
}

void BM_ZlibInflateToFiles(benchmark::State& state) {
  Package& p = package();
  std::string target = p.folder + "/baseline";
  std::filesystem::create_directories(target);
  for (auto _ : state) {
    double start = threadSeconds();
    inflateToFiles(p, target);
    double seconds = threadSeconds() - start;
    if (p.zlibWritingSeconds == 0 || seconds < p.zlibWritingSeconds) p.zlibWritingSeconds = seconds;
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(p.inflatedSize * state.iterations()));
}

void BM_PackageExtract(benchmark::State& state) {
  Package& p = package();
  std::string target = p.folder + "/extracted";
  std::filesystem::create_directories(target);
  double best = 0;
  for (auto _ : state) {
    double start = threadSeconds();
    PackageReader reader;
    if (reader.open(p.path, 0) != 0) state.SkipWithError("cannot open");
    FileInfo info;
    std::string name;
    std::size_t records = 0;
    while (reader.readHeader(info, name) == RecordRead::record) {
      std::string file = target + "/" + std::to_string(records++);
      if (!reader.extractToFile(info, file, nullptr)) state.SkipWithError("cannot extract");
    }
    double seconds = threadSeconds() - start;
    if (best == 0 || seconds < best) best = seconds;
  }
  setThroughput(state, best, p.zlibSeconds, "of_zlib");
  state.counters["of_zlib_writing"] = p.zlibWritingSeconds > 0 ? p.zlibWritingSeconds / best : 0;
}

// zlib first, so the reader's runs can be compared with it.
BENCHMARK(BM_ZlibInflate)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_PackageList)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ZlibInflateToFiles)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_PackageExtract)->Unit(benchmark::kMillisecond)->MinTime(1.0);

struct Cleanup {
  ~Cleanup() {
    std::error_code ignored;
    if (!package().folder.empty()) std::filesystem::remove_all(package().folder, ignored);
  }
} cleanup;

}  // namespace

BENCHMARK_MAIN();
