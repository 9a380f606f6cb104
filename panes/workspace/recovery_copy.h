#pragma once
// A copy of the open workspace with all its effects, kept below the program
// folder so that work survives a crash or a killed process. The copy is
// written into a fresh folder and put in place by renaming, so a copy is
// always either complete or absent; it never goes near the user's own files.
// A normal exit removes it, so finding one at start-up means the last session
// ended abnormally.
//
// The window side calls update() every recoveryIntervalSeconds and before any
// command that discards the workspace, settle() after the workspace was saved
// or opened from a file, remove() at a normal exit, and inspect() / restore()
// (or discard()) once at start-up.

#include <cstdint>
#include <string>

#include "app/message_log.h"
#include "effect/workspace_file.h"

namespace veltrace {

inline constexpr int recoveryIntervalSeconds = 60;
inline constexpr const char* recoveryQuestion =
    "Veltrace was not closed normally last time. Restore the workspace it recovered?";
inline constexpr const char* recoveryCaption = "Recover Workspace";

class RecoveryCopy {
 public:
  // programFolder: core path form, no trailing backslash.
  explicit RecoveryCopy(std::string programFolder);

  // programFolder + "\recovery".
  const std::string& folder() const { return folder_; }

  enum class UpdateResult { written, unchanged, failed };
  // Writes a new copy when the workspace differs from the last one written
  // (or settled). A failure logs one line and keeps the previous copy; the
  // workspace itself is never changed. Does nothing before inspect() ran, so
  // that the last session's copy is never replaced unseen.
  UpdateResult update(const Workspace& workspace, MessageLog& log);

  // The workspace now matches its files (just saved or opened): remembers its
  // state and drops the copy, which holds nothing the files do not.
  void settle(const Workspace& workspace);

  // A normal exit: the copy goes.
  void remove();

  enum class Found { none, usable, damaged };
  // At start-up: whether a copy was left behind. A damaged or half-written
  // copy logs one line and is moved aside (recovery.damaged), so it is
  // neither offered again nor lost.
  Found inspect(MessageLog& log);

  // Loads the copy into an empty workspace as a new, unsaved workspace: the
  // scene and assignments as they were, each effect as it was edited but
  // belonging where it came from (its own index file, or none for an effect
  // never saved), so that saving writes to the user's files, not into the
  // copy. hooks carry the tree steps and the scene loading; their openEffect
  // is not used. False when reading stopped early (reported).
  bool restore(Workspace& workspace, const WorkspaceHooks& hooks, MessageLog& log);

  // The user chose not to restore: the copy goes.
  void discard() { remove(); }

 private:
  std::string snapshotOf(const Workspace& workspace) const;
  bool writeInto(const std::string& staging, const Workspace& workspace, MessageLog& scratch) const;
  bool verified(std::string& manifest) const;

  std::string programFolder_;
  std::string folder_;
  std::uint64_t lastSnapshot_ = 0;
  bool haveSnapshot_ = false;
  bool startupChecked_ = false;
};

}  // namespace veltrace
