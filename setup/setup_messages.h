#pragma once
// The setup program's numbered messages (string-table ids) and the texts of
// its processing and uninstall windows. "%s" is the path or the title.

namespace veltrace::setup {

enum MessageId : int {
  messageFileInUse = 128,
  messageAdministratorRequired = 129,
  messageFolderCache = 130,
  messageDatabaseNotValid = 131,
  messageScriptNotSaved = 133,
  messageNotOnHardDisk = 135,
  messageInsufficientSpace = 136,
  messageCancelInstallation = 137,
  messageFolderNotCreated = 139,
  messageFileNotInstalled = 140,
  messageRegistrationFailed = 141,
  messageApplicationRunning = 143,
  messageFolderNotValid = 144,
};

inline constexpr const char* textFileInUse =
    "%s\n\nThis file cannot be installed; it may be in use.\n\nPlease close all other applications, then click "
    "Retry.\n\nAlternatively, click Cancel to skip this file and install\nit later. This will require a system "
    "restart.";
inline constexpr const char* textAdministratorRequired =
    "This installation requires Administrator rights.\n\nPlease cancel the installation, log on as a user "
    "with\nAdministrator rights, then restart the program.";
inline constexpr const char* textFolderCache =
    "There was a problem initializing the folder cache.\n\nThe installation will be cancelled.";
inline constexpr const char* textScriptNotSaved = "%s\n\nThere was a problem saving the installation database.";
inline constexpr const char* textFolderNotCreated =
    "%s\n\nThere was a problem creating this folder.\n\nThe installation will be cancelled.";
inline constexpr const char* textFileNotInstalled =
    "%s\n\nThere was a problem installing this file.\n\nThe installation will be cancelled.";
inline constexpr const char* textRegistrationFailed =
    "%s\n\nThere was a problem registering this file.\n\nThe installation will be cancelled.";
inline constexpr const char* textApplicationRunning =
    "%s is currently active.\n\nPlease close this application before continuing.";

inline constexpr const char* textNotOnHardDisk =
    "%s\n\nThe installation folder should be located on a hard disk or network drive.\n\nPlease select an "
    "installation folder on a different disk.";
inline constexpr const char* textInsufficientSpace =
    "%s\n\nThis folder has insufficient disk space available.\n\nPlease select an installation folder on a "
    "different disk.";
inline constexpr const char* textCancelInstallation =
    "The installation of %s is not complete yet.\nCancelling at this point will leave the application "
    "unusable.\n\nDo you want to cancel it anyway?";
// A folder the installation cannot go into: the folder, then the reason.
inline constexpr const char* textFolderNotValid = "%s\n\n%s\n\nPlease select a different installation folder.";
inline constexpr const char* textDriveAbsent = "This drive does not exist.";
inline constexpr const char* textFileInTheWay = "A file has the name of this folder or of a folder above it.";

// Processing window (quiet and register runs).
inline constexpr const char* textProcessing = "Please wait while %s is being processed...";

// Uninstall window.
inline constexpr const char* textUninstallTitle = "Uninstall %s";
inline constexpr const char* textUninstallExplanation =
    "Orvane Installer will remove %s from your system, including all program files and system settings.";
inline constexpr const char* textUninstallPrompt = "Please click Uninstall to start the removal process.";
inline constexpr const char* textUninstallDone =
    "The program has been removed from your system.\nPlease press Finish to close Orvane Installer.";
inline constexpr const char* textRemovalSteps[4] = {
    "Removing program group and shortcuts...",
    "Unregistering COM objects...",
    "Restoring system settings...",
    "Removing program files and folders...",
};
inline constexpr const char* textInstallSteps[5] = {
    "Installing files...",
    "Registering COM servers...",
    "Creating application shortcuts...",
    "Updating system settings...",
    "Cleaning up...",
};

}  // namespace veltrace::setup
