#include "panes/shader/shader_pane_model.h"

#include "base/files.h"
#include "base/text.h"
#include "effect/effect_files.h"
#include "effect/shader_numbering.h"
#include "panes/shader/shader_source_text.h"
#include "render/shader/shader_validation.h"

namespace veltrace {

namespace {

constexpr ShaderPaneTexts vertexTexts{
    "%s - Vertex Shader", "vsh", "VertexShader Files (*.vsh,*.txt)|*.vsh;*.txt|All Files(*.*)|*.*||",
    "%s Vertex Shader #%d", "::/html/vertex shader.htm"};
constexpr ShaderPaneTexts pixelTexts{
    "%s - Pixel Shader", "psh", "Pixel Shader Files (*.psh,*.txt)|*.psh;*.txt|All Files(*.*)|*.*||",
    "%s Pixel Shader #%d", "::/html/pixel shader.htm"};

// Assembler flag that skips validation, for devices that run vertex shaders
// in software.
constexpr std::uint32_t softwareVertexShaderFlags = 16;

}  // namespace

const ShaderPaneTexts& shaderPaneTexts(ShaderPaneKind kind) {
  return kind == ShaderPaneKind::vertex ? vertexTexts : pixelTexts;
}

ShaderPaneModel::ShaderPaneModel(ShaderPaneKind kind, Effect& effect, MessageLog& log,
                                 ShaderPaneEnvironment environment)
    : kind_(kind), effect_(effect), log_(log), environment_(std::move(environment)), binding_(kind, effect, log) {
  if (!environment_.readFile) environment_.readFile = [](const std::string& path) { return readWholeFile(path); };
}

ShaderSlot& ShaderPaneModel::slot() {
  return kind_ == ShaderPaneKind::vertex ? effect_.vertexShader : effect_.pixelShader;
}

void ShaderPaneModel::replaceEditorText(std::string text) {
  editorText_ = std::move(text);
  ++editorTextVersion_;
}

void ShaderPaneModel::initialise() {
  replaceEditorText({});
  const std::string& fileName = kind_ == ShaderPaneKind::vertex ? effect_.vertexShaderFile : effect_.pixelShaderFile;
  if (fileName.empty() || !slot().present) return;
  // A source the effect already holds is the one being drawn: read when
  // the effect was opened, or an edit restored after a crash. Reading the
  // file again would silently replace that edit.
  if (!slot().source.empty()) {
    replaceEditorText(slot().source);
  } else {
    LoadSourceFile(effect_.folder + fileName);
    slot().source = editorText_;
  }
  binding_.RefreshConstantsList();
}

bool ShaderPaneModel::LoadSourceFile(const std::string& path) {
  if (path.empty()) return true;
  std::optional<std::string> content = environment_.readFile(path);
  if (!content) {
    log_.append(formatText("Error while opening \"%s\" !", path.c_str()));
    return false;
  }
  replaceEditorText(editorTextFromFile(*content));
  return true;
}

void ShaderPaneModel::showOrHide() {
  binding_.resetRows();
  enableBoxTicked_ = slot().present;
  enableToggled(enableBoxTicked_);
}

void ShaderPaneModel::enableToggled(bool ticked) {
  enableBoxTicked_ = ticked;
  ShaderSlot& shader = slot();
  if (ticked) {
    shader.present = true;
    binding_.writeLabels();
    editorEnabled_ = true;
    replaceEditorText(shader.source);
    binding_.RefreshConstantsList();
  } else {
    shader.present = false;
    // An empty editor keeps what was stored before.
    if (!editorText_.empty()) shader.source = editorText_;
    replaceEditorText({});
    editorEnabled_ = false;
    binding_.blankRows();
  }
  effect_.shadersChanged = true;
}

void ShaderPaneModel::loadShaderFile(const std::optional<std::string>& chosenPath) {
  if (!chosenPath) return;
  LoadSourceFile(*chosenPath);  // a failure is logged; the shader is renamed all the same
  ShaderSlot& shader = slot();
  shader.name = formatText(shaderPaneTexts(kind_).shaderNameOnLoad, effect_.name.c_str(), takeNextShaderNumber());
  shader.source = editorText_;
  binding_.RefreshConstantsList();
  effect_.shadersChanged = true;
}

void ShaderPaneModel::apply() {
  if (!editorEnabled_) return;
  ShaderSlot& shader = slot();
  shader.source = editorText_;
  if (shader.source.empty()) return;
  if (kind_ == ShaderPaneKind::vertex) {
    std::uint32_t flags = environment_.hardwareVertexShaders ? 0 : softwareVertexShaderFlags;
    shader.buildState = shader::validateVertexShader(shader.source, flags, log_, preprocessOptions());
  } else if (environment_.pixelShaderVersion >= 1.0f) {
    shader.buildState = shader::validatePixelShader(shader.source, log_, preprocessOptions());
  } else {
    shader.buildState = false;
  }
  effect_.shadersChanged = true;
}

shader::PreprocessOptions ShaderPaneModel::preprocessOptions() const {
  return shader::effectShaderOptions(shaderSourcePath(effect_, kind_ == ShaderPaneKind::vertex),
                                     environment_.shaderFolder, environment_.includeReader);
}

std::array<int, 6> constantsColumnWidths(int clientWidth) {
  int value = clientWidth / 10;
  return {clientWidth / 8, clientWidth / 3 + 30, value, value, value, value};
}

std::optional<PaneResize::Change> PaneResize::resized(int width, int height) {
  if (height <= minimumHeight) return std::nullopt;
  Change change{width - width_, height - height_};
  width_ = width;
  height_ = height;
  return change;
}

}  // namespace veltrace
