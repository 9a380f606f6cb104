#pragma once
// What a vertex or pixel shader pane does, without its window: the enable
// box, the editor's text and which controls are enabled, loading a source
// file, Apply with validation, and the constant binding. The dialog mirrors
// these states into its controls, hands user edits of the editor back with
// setEditorText, and recolours the editor whenever editorTextVersion moves.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/message_log.h"
#include "effect/effect.h"
#include "panes/shader/constant_binding.h"
#include "panes/shader/shader_pane_kind.h"
#include "render/shader/shader_preprocessor.h"

namespace veltrace {

// The fixed texts of each kind.
struct ShaderPaneTexts {
  const char* caption;           // "%s - Vertex Shader"
  const char* defaultExtension;  // of the open dialog
  const char* fileFilter;        // description|pattern|...||
  const char* shaderNameOnLoad;  // "%s Vertex Shader #%d"
  const char* helpTopic;         // appended to the help file path
};
const ShaderPaneTexts& shaderPaneTexts(ShaderPaneKind kind);

// What the pane needs to know of the program and the device.
struct ShaderPaneEnvironment {
  float pixelShaderVersion = 0.0f;
  bool hardwareVertexShaders = true;
  // Reads a whole file; nothing when it cannot be opened.
  std::function<std::optional<std::string>(const std::string& corePath)> readFile;
  // Where #include lines look after the shader's own folder, and what reads
  // the files they name (none: every #include is refused).
  std::string shaderFolder;
  const shader::IncludeFileReader* includeReader = nullptr;
};

class ShaderPaneModel {
 public:
  ShaderPaneModel(ShaderPaneKind kind, Effect& effect, MessageLog& log, ShaderPaneEnvironment environment);

  ShaderPaneKind kind() const { return kind_; }
  ShaderSlot& slot();
  ConstantBinding& binding() { return binding_; }
  const ConstantBinding& binding() const { return binding_; }

  // Control states.
  bool enableBoxTicked() const { return enableBoxTicked_; }
  bool editorEnabled() const { return editorEnabled_; }
  bool constantsListEnabled() const { return editorEnabled_; }
  bool loadButtonEnabled() const { return editorEnabled_; }
  const std::string& editorText() const { return editorText_; }
  // Moves whenever the model replaced the editor's text: the dialog puts
  // the new text in and colours it all.
  std::uint32_t editorTextVersion() const { return editorTextVersion_; }
  // The user typed: the dialog keeps the model's copy of the text current.
  void setEditorText(std::string text) { editorText_ = std::move(text); }

  // When the window is created: the effect's shader source, read from its
  // folder when the effect has this shader and holds no source yet.
  void initialise();
  // Every show and every hide: rows again, the box from the slot, then the
  // enable toggle (unapplied text is replaced by the stored source).
  void showOrHide();
  void enableToggled(bool ticked);
  // An empty path does nothing; an unreadable file is logged and leaves the
  // editor as it is. True when the text was loaded (or the path was empty).
  bool LoadSourceFile(const std::string& path);
  // "Load Shader File" with the file the user chose, or nothing when the
  // dialog was cancelled.
  void loadShaderFile(const std::optional<std::string>& chosenPath);
  void apply();
  // How Apply, the live check and the renderer preprocess this pane's shader.
  shader::PreprocessOptions preprocessOptions() const;

 private:
  void replaceEditorText(std::string text);

  ShaderPaneKind kind_;
  Effect& effect_;
  MessageLog& log_;
  ShaderPaneEnvironment environment_;
  ConstantBinding binding_;
  bool enableBoxTicked_ = false;
  bool editorEnabled_ = true;
  std::string editorText_;
  std::uint32_t editorTextVersion_ = 0;
};

// --- Layout rules ---------------------------------------------------------------------

// Widths of the columns "Constant", "Name", "X", "Y", "Z", "W" for a client
// width in pixels.
std::array<int, 6> constantsColumnWidths(int clientWidth);

// The splitter moves from 170 pixels above to 70 below where it started.
struct SplitterRange {
  static constexpr int above = 170;
  static constexpr int below = 70;
  int centre = 0;
  int clamp(int y) const { return y < centre - above ? centre - above : (y > centre + below ? centre + below : y); }
};

// Resizing moves and stretches the controls by the change of the client
// size, only while the pane is higher than 400 pixels.
class PaneResize {
 public:
  static constexpr int minimumHeight = 400;
  PaneResize(int width, int height) : width_(width), height_(height) {}
  struct Change {
    int dx;
    int dy;
  };
  // The change against the remembered size, which becomes the new size;
  // nothing (and nothing remembered) at 400 pixels or less.
  std::optional<Change> resized(int width, int height);

 private:
  int width_;
  int height_;
};

}  // namespace veltrace
