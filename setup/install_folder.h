#pragma once
// The installation folder as the user types or picks it on the wizard's
// options page: the text is made into one plain absolute Windows path or
// refused with the reason, the folder browser's pick gets the application's
// folder name, and the drive whose free space the page shows.

#include <string>
#include <string_view>

namespace veltrace::setup {

// What the system keeps as a path; longer folders are refused, never cut.
constexpr std::size_t maxInstallFolderLength = 255;

enum class FolderProblem {
  none,
  empty,
  tooLong,        // more than 255 characters once normalised
  relative,       // no drive or network share in front, or "." / ".." inside
  driveRoot,      // the root of a drive or share itself
  badCharacter,   // one of " * : < > ? | or a control character inside a name
};

struct InstallFolder {
  std::string path;  // normalised; meaningful only when problem is none
  FolderProblem problem = FolderProblem::none;
  bool ok() const { return problem == FolderProblem::none; }
};

// Trims surrounding blanks, turns "/" into "\", collapses doubled
// separators (the two of a network root stay) and drops trailing ones;
// then accepts "X:\name...", "\\server\share\name..." and "\name..." (on
// the current drive, made absolute by the engine) only.
InstallFolder normaliseInstallFolder(std::string_view typed);

// The reason shown in the message that refuses a folder.
const char* folderProblemText(FolderProblem problem);

// A folder picked in the browser: when its last component differs (ASCII
// case-insensitively) from the last component of the application's
// default folder, that name is appended ("C:\Program Files" gives
// "C:\Program Files\Veltrace"); otherwise the pick is used as it is.
std::string folderFromBrowse(std::string_view picked, std::string_view defaultFolder);

// The drive whose free space the page shows: the field's first character
// as "X:\", or nothing when it is not a letter.
std::string freeSpaceDrive(std::string_view field);

// The root the drive checks ask about: "X:\", "\\server\share\" or "\".
std::string driveRootOf(std::string_view normalisedFolder);

}  // namespace veltrace::setup
