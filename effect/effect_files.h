#pragma once
// Loading and saving an effect as its file set: the index file base.veff and,
// beside it, the folder base holding variables.txt, texturesstagesstates.txt,
// renderstates.txt, streammapping.txt and the shader sources. Paths are in the
// core's form (backslashes). Every problem is reported as a message-log line.

#include <string>

#include "app/message_log.h"
#include "effect/effect.h"

namespace veltrace {

// Reads the index file and its component files into an effect freshly made by
// createEffect (its state tables already hold the catalogues). programFolder
// (no trailing backslash) completes texture paths stored relative to it. On
// failure the effect holds what was read so far and should be discarded.
// Shader sources are not read here; see readShaderSources.
bool loadEffect(Effect& effect, const std::string& indexPath, const std::string& programFolder,
                MessageLog& log);

// Writes the file set for the index path. Every file is written under a
// temporary name first and put in place only once all of them are complete,
// so a failed save leaves the previous files as they were. Sets
// indexFileName; leaves the effect's name and folder alone.
bool saveEffect(Effect& effect, const std::string& indexPath, const std::string& programFolder,
                MessageLog& log);

// What the shader panes do when they open: reads the source of each present
// shader from folder + its file name, each line followed by CR LF. A file that
// cannot be read is reported ("Error while opening ...") and leaves the slot's
// source unchanged. Returns false when any present shader could not be read.
bool readShaderSources(Effect& effect, MessageLog& log);

// The file a present shader's source comes from (folder + its file name), the
// folder that its #include lines search first; empty when it names none.
std::string shaderSourcePath(const Effect& effect, bool vertexShader);

}  // namespace veltrace
