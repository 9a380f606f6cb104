#include "setup/install_folder.h"

#include "setup/install_paths.h"
#include "setup/script_document.h"

namespace veltrace::setup {

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Backslashes only, one between names, none at the end; a leading pair
// (a network root) stays a pair.
std::string withPlainSeparators(std::string_view text) {
  std::string path;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = isSeparator(text[i]) ? '\\' : text[i];
    if (c == '\\' && !path.empty() && path.back() == '\\' && i > 1) continue;
    path += c;
  }
  while (path.size() > 2 && path.back() == '\\') path.pop_back();
  return path;
}

bool hasBadCharacter(std::string_view path) {
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (c < 32) return true;
    if (c == '"' || c == '*' || c == '<' || c == '>' || c == '?' || c == '|') return true;
    if (c == ':' && i != 1) return true;
  }
  return false;
}

}  // namespace

InstallFolder normaliseInstallFolder(std::string_view typed) {
  InstallFolder folder;
  folder.path = withPlainSeparators(trimmed(typed));
  const std::string& path = folder.path;
  if (path.empty()) {
    folder.problem = FolderProblem::empty;
  } else if (path.size() > maxInstallFolderLength) {
    folder.problem = FolderProblem::tooLong;
  } else if (hasBadCharacter(path)) {
    folder.problem = FolderProblem::badCharacter;
  } else {
    std::string root = pathRoot(path);
    bool onDrive = root.size() == 2 && isLetter(root[0]) && root[1] == ':';
    bool onShare = root.size() > 2 && root[0] == '\\' && root[1] == '\\' && root.find('\\', 2) != std::string::npos;
    // "\name" is on the current drive; the engine makes it absolute.
    bool onCurrentDrive = root == "\\";
    if (!onDrive && !onShare && !onCurrentDrive)
      folder.problem = FolderProblem::relative;
    else if (onDrive && path.size() > 2 && path[2] != '\\')
      folder.problem = FolderProblem::relative;  // "C:name" hangs on the drive's current folder
    else if (path.size() <= root.size() + 1)
      folder.problem = FolderProblem::driveRoot;
    else if (!hasOnlyPlainComponents(path))
      folder.problem = FolderProblem::relative;
  }
  return folder;
}

const char* folderProblemText(FolderProblem problem) {
  switch (problem) {
    case FolderProblem::none:
      return "";
    case FolderProblem::empty:
      return "No installation folder is given.";
    case FolderProblem::tooLong:
      return "The path of the installation folder is longer than 255 characters.";
    case FolderProblem::relative:
      return "The installation folder must be a full path that begins with a drive letter (such as C:\\) or a "
             "network share, without \".\" or \"..\".";
    case FolderProblem::driveRoot:
      return "The application cannot be installed into the root folder of a drive.";
    case FolderProblem::badCharacter:
      return "Folder names cannot contain any of the characters \" * : < > ? |.";
  }
  return "";
}

std::string folderFromBrowse(std::string_view picked, std::string_view defaultFolder) {
  std::string folder = withPlainSeparators(picked);
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';  // "C:" alone means the drive's root
  std::string name = lastComponent(withPlainSeparators(defaultFolder));
  if (name.empty() || (name.size() == 2 && name[1] == ':')) return folder;
  std::string pickedName = lastComponent(folder);
  if (equalsIgnoringCase(pickedName, name)) return folder;
  return joinPath(folder, name);
}

std::string freeSpaceDrive(std::string_view field) {
  if (field.empty() || !isLetter(field.front())) return {};
  char letter = field.front();
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  return std::string(1, letter) + ":\\";
}

std::string driveRootOf(std::string_view normalisedFolder) {
  std::string root = pathRoot(normalisedFolder);
  if (root.empty() || root == "\\") return root;
  return root + "\\";
}

}  // namespace veltrace::setup
