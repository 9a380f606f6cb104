#pragma once
// The thin file layer under the portable core. Paths inside the core keep the
// Windows form the data files use (backslashes); on other systems every
// backslash becomes a slash before the path reaches the file system.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace veltrace {

std::filesystem::path nativePath(std::string_view corePath);

// The path up to and including its last backslash ("" when there is none),
// and the part after it.
std::string folderPart(std::string_view corePath);
std::string namePart(std::string_view corePath);

// Data files store paths below the program folder with the folder cut off,
// leaving one leading backslash; this puts the folder back. Two leading
// backslashes start a network path, which stands as it is, as does any
// other path.
std::string underProgramFolder(std::string_view storedPath, std::string_view programFolder);

std::optional<std::string> readWholeFile(std::string_view corePath);

bool fileExists(std::string_view corePath);
bool folderExists(std::string_view corePath);

enum class FolderResult { created, alreadyExisted, failed };
FolderResult createFolder(std::string_view corePath);

// Writes the whole content under a temporary name beside the target and puts
// it in place only once it is complete, so a failed save never leaves a
// truncated file and never loses the previous one.
bool replaceFileWith(std::string_view corePath, std::string_view content);

}  // namespace veltrace
