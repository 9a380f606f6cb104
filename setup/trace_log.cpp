#include "setup/trace_log.h"

#include "base/text.h"
#include "setup/install_paths.h"
#include "setup/install_platform.h"

namespace veltrace::setup {

std::string withCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

std::string formatTraceEvent(std::uint32_t code, std::initializer_list<std::string_view> arguments) {
  std::string line = formatText("%08lX", static_cast<unsigned long>(code));
  for (std::string_view argument : arguments) {
    line += '|';
    line += argument;
  }
  return line;
}

std::string formatTraceBanner(const LocalTime& time, std::string_view programPath) {
  std::string separator(78, '=');
  std::string engine(engineName), version(engineVersion), build(engineBuildText), program(programPath);
  std::string banner = formatText("%s\n%s %s\n%s\n%s\n", separator.c_str(), engine.c_str(), version.c_str(),
                                  build.c_str(), separator.c_str());
  banner += formatText("%04u-%02u-%02u %02u:%02u:%02u - %s\n", time.year, time.month, time.day, time.hour,
                       time.minute, time.second, program.c_str());
  return withCrLf(banner);
}

std::string traceLogPath(std::string_view programPath, std::string_view tempFolder) {
  std::string name = lastComponent(programPath);
  size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.resize(dot);
  return joinPath(tempFolder, name + ".log");
}

void TraceLog::open(InstallPlatform& platform, std::string_view logPath, std::string_view programPath) {
  platform_ = &platform;
  path_ = std::string(logPath);
  auto size = platform.fileSize(path_);
  if (size && *size > maxTraceLogSize) platform.deleteFile(path_);
  write(formatTraceBanner(platform.localTime(), programPath));
}

void TraceLog::event(std::uint32_t code, std::initializer_list<std::string_view> arguments) {
  write(formatTraceEvent(code, arguments) + "\r\n");
}

void TraceLog::write(std::string_view text) {
  if (platform_ && !path_.empty()) platform_->appendToFile(path_, text);
}

}  // namespace veltrace::setup
