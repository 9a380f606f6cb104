#pragma once
// The in-memory effect: user constants, the effect's copy of every render
// state and texture stage state with its choices, the textures it binds, the
// mapping of vertex data to shader input registers and its two shader slots.
// Plain data owned by value; the workspace owns the effects.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "effect/state_value_type.h"

namespace veltrace {

enum class VariableKind : std::int32_t { vector = 0, matrix = 1, color = 2 };

// Number of floats a variable of each kind uses from EffectVariable::value.
constexpr int valueCount(VariableKind kind) { return kind == VariableKind::matrix ? 16 : 4; }

// Register number meaning "not bound" for shader constants and "not mapped"
// for vertex input registers.
constexpr std::int32_t noRegister = -1;
// Stage number meaning "on no stage" for textures and material roles.
constexpr std::int32_t noStage = -1;

constexpr int textureStageCount = 8;

struct EffectVariable {
  std::string name;
  VariableKind kind = VariableKind::vector;
  bool predefined = false;      // value computed each frame from predefinedName
  std::string predefinedName;   // e.g. "world", "light_pos_world"
  std::int32_t vsRegister = noRegister;
  std::int32_t psRegister = noRegister;
  // Vector and colour use the first four (colour: red, green, blue, alpha in
  // 0..1); a matrix uses all sixteen, row after row.
  std::array<float, 16> value{};
};

struct StateEnumerant {
  std::string name;           // e.g. "D3DCULL_CW", "TRUE"
  std::int32_t value = 0;     // the Direct3D value
  bool selected = false;      // the effect's choice
};

// One render state or texture stage state with the effect's choice. Which of
// the value fields counts depends on valueType.
struct StateEntry {
  std::string name;               // e.g. "D3DRS_CULLMODE", "D3DTSS_COLOROP"
  std::int32_t stateNumber = 0;   // D3DRENDERSTATETYPE / D3DTEXTURESTAGESTATETYPE
  StateValueType valueType = StateValueType::unknown;
  std::string textValue;          // MASK, COLOR: the literal as written ("0x00000000")
  float numericValue = 0.0f;      // INT, FLOAT
  std::vector<StateEnumerant> enumerants;  // ENUM, BOOL
  // INT, FLOAT, MASK, COLOR: whether the effect files record this state. An
  // ENUM or BOOL state counts as set when one of its enumerants is selected.
  bool isSet = false;
};
using RenderStateSetting = StateEntry;
using TextureStageSetting = StateEntry;

struct StageStates {
  std::int32_t stage = 0;  // 0..7
  std::vector<TextureStageSetting> settings;  // catalogue order
};

struct TextureSlot {
  std::string name;   // file name, e.g. "toonshade.bmp"
  std::string path;   // folder and name
  std::int32_t kind = 0;  // always 0: a file texture
  std::int32_t stage = noStage;
};

struct TextureStageTable {
  std::vector<TextureSlot> textures;  // file order
  std::array<StageStates, textureStageCount> stages{};
  // Stages receiving the mesh material's textures; noStage = none.
  std::int32_t baseStage = noStage;
  std::int32_t bumpStage = noStage;
  std::int32_t alphaStage = noStage;
};

struct StreamMappingEntry {
  std::int32_t inputRegister = noRegister;  // v0..v15
  std::string dataName;  // "Position", "Normal", "TexCoord", "Tangent", "BiNormal"
  std::string dataType;  // "Float3" or "Float2"
};

constexpr int declarationWordCount = 16;

struct StreamMapping {
  std::uint32_t stream = 0;
  std::vector<StreamMappingEntry> entries;
  // Direct3D 8 vertex shader declaration built from the entries
  // (effect/declaration.h).
  std::array<std::uint32_t, declarationWordCount> declaration{};
};

struct ShaderSlot {
  std::string name = "New Shader";
  std::string source;          // assembly text
  bool present = false;        // the effect has this shader
  bool buildState = true;      // last validation result; built only while true
};

struct Effect {
  std::string variablesFile;
  std::vector<EffectVariable> vectors;
  std::vector<EffectVariable> matrices;
  std::vector<EffectVariable> colors;
  std::string textureStatesFile;
  TextureStageTable textureStages;
  std::string renderStatesFile;
  std::vector<RenderStateSetting> renderStates;  // catalogue order
  std::string streamMappingFile;
  StreamMapping streamMapping;
  std::string vertexShaderFile;  // "NULL" or empty = none
  ShaderSlot vertexShader;
  std::string pixelShaderFile;
  ShaderSlot pixelShader;
  bool shadersChanged = true;  // the renderer rebuilds the device shaders when set
  std::string name = "New Effect";
  std::string folder;         // holds the component files; ends in a backslash
  std::string indexFileName;  // name of the index file, without folder
};

// The list an effect keeps variables of this kind in.
std::vector<EffectVariable>& variablesOfKind(Effect& effect, VariableKind kind);
const std::vector<EffectVariable>& variablesOfKind(const Effect& effect, VariableKind kind);

// Lookups by exact, case-sensitive name; nullptr when there is none.
StateEntry* findState(std::vector<StateEntry>& entries, std::string_view name);
const StateEntry* findState(const std::vector<StateEntry>& entries, std::string_view name);
StateEnumerant* findEnumerant(StateEntry& entry, std::string_view name);
StreamMappingEntry* findStreamEntry(StreamMapping& mapping, std::string_view dataName);

// True when the effect sets this state: an ENUM or BOOL state with a selected
// enumerant, or any other state with isSet.
bool stateIsSet(const StateEntry& entry);

}  // namespace veltrace
