#pragma once
// Readers and writers of the component files of an effect. Each reader takes
// the effect and the file's full path, reports problems as message-log lines
// and returns a success flag. Each writer gives the file's lines, each with
// the message to log should writing it fail; effect_files.cpp writes them.

#include <string>
#include <string_view>
#include <vector>

#include "app/message_log.h"
#include "effect/effect.h"
#include "effect/staged_files.h"

namespace veltrace {

// The index file's key,value lines: sets the name, the folder (EFFECT_PATH,
// relative to the index file's folder when it starts with a backslash) and
// the component file names. An unknown key or a key without a value fails
// with the line number; the rest of that line is still read.
bool parseIndexFile(Effect& effect, const std::string& indexPath, std::string_view text, MessageLog& log);

// variables.txt: VECTOR, MATRIX and COLOR lines. A line that does not start
// with one of these words (an empty line included), or that ends before its
// variable does, fails the read with the line number.
bool readVariablesFile(Effect& effect, const std::string& path, MessageLog& log);
bool parseVariables(Effect& effect, std::string_view text, MessageLog& log);
std::vector<FileLine> variablesFileLines(const Effect& effect);

// texturesstagesstates.txt: TEXTURE and STAGE lines. Any other line ends the
// reading quietly; what was read stands. Texture paths stored relative to the
// program folder (one leading backslash) are completed with programFolder; a
// network path (two) is kept. A texture line of more than five fields is a
// name or path holding commas.
bool readTextureStageFile(Effect& effect, const std::string& path, const std::string& programFolder,
                          MessageLog& log);
void parseTextureStages(Effect& effect, std::string_view text, const std::string& programFolder);
std::vector<FileLine> textureStageFileLines(const Effect& effect, const std::string& programFolder);
// The path a texture slot is stored with: its folder in small letters, made
// relative when it lies in the program folder, then its name as it is.
std::string storedTexturePath(const TextureSlot& slot, const std::string& programFolder);

// renderstates.txt: "state,value" lines; the file's choice replaces the
// catalogue default of each state it names.
bool readRenderStateFile(Effect& effect, const std::string& path, MessageLog& log);
void parseRenderStates(Effect& effect, std::string_view text);
std::vector<FileLine> renderStateFileLines(const Effect& effect);

// streammapping.txt: "dataName,vN" lines; rebuilds the declaration.
bool readStreamMappingFile(Effect& effect, const std::string& path, MessageLog& log);
void parseStreamMapping(Effect& effect, std::string_view text);
std::vector<FileLine> streamMappingFileLines(const Effect& effect);

// vertexshader.txt / pixelshader.txt: the source with every CR dropped and
// each LF written as CR LF.
std::vector<FileLine> shaderFileLines(const ShaderSlot& slot, const char* failureMessage);

}  // namespace veltrace
