// The shader pane without its window: reading the effect's source, show and
// hide, the enable box, loading files with the shared running number, Apply
// with validation, and the layout rules.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "panes/shader/shader_pane_model.h"
#include "panes/shader/shader_source_text.h"

namespace veltrace {
namespace {

constexpr const char* validVertexSource = "vs.1.1\r\nm4x4 oPos, v0, c0\r\n";

struct PaneFixture : testing::Test {
  PaneFixture() {
    effect.name = "Glass";
    effect.folder = "effects\\glass\\";
    effect.vertexShaderFile = "glass.vsh";
    effect.vertexShader.present = true;
    effect.pixelShaderFile = "glass.psh";
    effect.pixelShader.present = true;
    EffectVariable world;
    world.name = "World";
    world.kind = VariableKind::matrix;
    world.vsRegister = 4;
    effect.matrices.push_back(world);
    files["effects\\glass\\glass.vsh"] = "vs.1.1\nm4x4 oPos, v0, c4";  // no final line break
    environment.pixelShaderVersion = 1.4f;
    environment.readFile = [this](const std::string& path) -> std::optional<std::string> {
      auto found = files.find(path);
      if (found == files.end()) return std::nullopt;
      return found->second;
    };
  }

  ShaderPaneModel pane(ShaderPaneKind kind) { return ShaderPaneModel(kind, effect, log, environment); }

  Effect effect;
  MessageLog log;
  std::map<std::string, std::string> files;
  ShaderPaneEnvironment environment;
};

TEST_F(PaneFixture, InitialiseReadsTheSourceFromTheEffectFolderWithALineBreakAfterEveryLine) {
  ShaderPaneModel vertex = pane(ShaderPaneKind::vertex);
  vertex.initialise();
  EXPECT_EQ(vertex.editorText(), "vs.1.1\r\nm4x4 oPos, v0, c4\r\n");
  EXPECT_EQ(effect.vertexShader.source, vertex.editorText());

  ShaderPaneModel pixel = pane(ShaderPaneKind::pixel);
  pixel.initialise();
  EXPECT_EQ(log.pending(), std::vector<std::string>{"Error while opening \"effects\\glass\\glass.psh\" !"});
  EXPECT_EQ(effect.pixelShader.source, "");

  // A source the effect holds (an edit restored after a crash) is kept.
  effect.vertexShader.source = "vs.1.1\r\nmov oPos, v0\r\n";
  ShaderPaneModel restored = pane(ShaderPaneKind::vertex);
  restored.initialise();
  EXPECT_EQ(restored.editorText(), "vs.1.1\r\nmov oPos, v0\r\n");
  EXPECT_EQ(effect.vertexShader.source, restored.editorText());
}

TEST_F(PaneFixture, ShowingDiscardsUnappliedTextAndOkKeepsIt) {
  ShaderPaneModel vertex = pane(ShaderPaneKind::vertex);
  vertex.initialise();
  vertex.showOrHide();
  std::string stored = effect.vertexShader.source;
  vertex.setEditorText("typed but not applied");
  vertex.showOrHide();  // closed with the close box
  vertex.showOrHide();  // opened again
  EXPECT_EQ(vertex.editorText(), stored);

  vertex.setEditorText(validVertexSource);
  vertex.apply();  // OK applies, then the window hides and shows again
  vertex.showOrHide();
  vertex.showOrHide();
  EXPECT_EQ(vertex.editorText(), validVertexSource);
  EXPECT_EQ(log.pending().back(), "Vertex Shader is valid !!");
}

TEST_F(PaneFixture, UntickingStoresTheTextBlanksTheListAndTickingBringsItBack) {
  ShaderPaneModel vertex = pane(ShaderPaneKind::vertex);
  vertex.initialise();
  vertex.showOrHide();
  EXPECT_EQ(vertex.binding().rows()[4].name, "World[0]");
  vertex.setEditorText("edited\r\n");
  effect.shadersChanged = false;

  vertex.enableToggled(false);
  EXPECT_FALSE(effect.vertexShader.present);
  EXPECT_EQ(effect.vertexShader.source, "edited\r\n");
  EXPECT_EQ(vertex.editorText(), "");
  EXPECT_FALSE(vertex.editorEnabled());
  EXPECT_FALSE(vertex.loadButtonEnabled());
  EXPECT_EQ(vertex.binding().rows()[4], ConstantRow{});
  EXPECT_EQ(effect.matrices[0].vsRegister, 4);
  EXPECT_TRUE(effect.shadersChanged);

  // Unticking again with an empty editor keeps the stored source.
  vertex.enableToggled(false);
  EXPECT_EQ(effect.vertexShader.source, "edited\r\n");
  vertex.enableToggled(true);
  EXPECT_EQ(vertex.editorText(), "edited\r\n");
  EXPECT_EQ(vertex.binding().rows()[4].label, "c[4]");
  EXPECT_EQ(vertex.binding().rows()[7].name, "World[3]");
  EXPECT_TRUE(vertex.editorEnabled());
}

TEST_F(PaneFixture, LoadsTakeConsecutiveRunningNumbersAcrossBothKinds) {
  files["shaders\\a.vsh"] = "vs.1.1\n";
  files["shaders\\a.psh"] = "ps.1.1\n";
  ShaderPaneModel vertex = pane(ShaderPaneKind::vertex);
  ShaderPaneModel pixel = pane(ShaderPaneKind::pixel);
  vertex.loadShaderFile(std::string("shaders\\a.vsh"));
  std::string firstName = effect.vertexShader.name;
  int first = std::stoi(firstName.substr(firstName.find('#') + 1));
  EXPECT_EQ(firstName, "Glass Vertex Shader #" + std::to_string(first));
  vertex.loadShaderFile(std::string("shaders\\missing.vsh"));  // logged, renamed all the same
  EXPECT_EQ(effect.vertexShader.name, "Glass Vertex Shader #" + std::to_string(first + 1));
  EXPECT_EQ(effect.vertexShader.source, "vs.1.1\r\n");
  pixel.loadShaderFile(std::string("shaders\\a.psh"));
  EXPECT_EQ(effect.pixelShader.name, "Glass Pixel Shader #" + std::to_string(first + 2));
  EXPECT_EQ(effect.pixelShader.source, "ps.1.1\r\n");
  EXPECT_EQ(log.pending(), std::vector<std::string>{"Error while opening \"shaders\\missing.vsh\" !"});

  std::string before = effect.pixelShader.name;
  pixel.loadShaderFile(std::nullopt);  // cancelled
  EXPECT_EQ(effect.pixelShader.name, before);
}

TEST_F(PaneFixture, ApplyValidatesPerKindAndDevice) {
  ShaderPaneModel vertex = pane(ShaderPaneKind::vertex);
  vertex.setEditorText("vs.1.1\r\nmvo r0, v0\r\n");
  vertex.apply();
  EXPECT_FALSE(effect.vertexShader.buildState);
  EXPECT_EQ(log.pending().front(), "Error : Failed to assemble Vertex Shader !");

  environment.pixelShaderVersion = 0.0f;
  ShaderPaneModel noPixelShaders = pane(ShaderPaneKind::pixel);
  log.takePending();
  noPixelShaders.setEditorText("ps.1.1\r\nmov r0, v0\r\n");
  noPixelShaders.apply();
  EXPECT_EQ(effect.pixelShader.source, "ps.1.1\r\nmov r0, v0\r\n");
  EXPECT_FALSE(effect.pixelShader.buildState);
  EXPECT_TRUE(log.pending().empty());

  environment.pixelShaderVersion = 1.1f;
  ShaderPaneModel pixel = pane(ShaderPaneKind::pixel);
  pixel.setEditorText("ps.1.1\r\nmov r0, v0\r\n");
  pixel.apply();
  EXPECT_TRUE(effect.pixelShader.buildState);
  EXPECT_EQ(log.pending(), std::vector<std::string>{"Pixel Shader is valid !!"});
}

// Serves the fixture's files to #include lines.
struct MapIncludeReader : shader::IncludeFileReader {
  const std::map<std::string, std::string>& files;
  explicit MapIncludeReader(const std::map<std::string, std::string>& files) : files(files) {}
  std::optional<std::string> read(const std::string& path) const override {
    auto found = files.find(path);
    return found == files.end() ? std::nullopt : std::optional<std::string>(found->second);
  }
};

// Apply looks for an #include beside the effect's shader file first, then in
// the program's shader folder; one found nowhere fails the shader.
TEST_F(PaneFixture, ApplyResolvesIncludesBesideTheShaderThenInTheShaderFolder) {
  MapIncludeReader reader(files);
  environment.includeReader = &reader;
  environment.shaderFolder = "program\\shader\\";
  files["effects\\glass\\local.inc"] = "m4x4 oPos, v0, c4\n";
  files["program\\shader\\shared.inc"] = "mov oD0, v5\n";
  struct Case {
    const char* source;
    bool valid;
  } cases[] = {
      {"vs.1.1\r\n#include \"local.inc\"\r\n#include \"shared.inc\"\r\n", true},
      {"vs.1.1\r\n#include \"missing.inc\"\r\n", false},
  };
  for (const Case& c : cases) {
    ShaderPaneModel vertex = pane(ShaderPaneKind::vertex);
    vertex.setEditorText(c.source);
    log.takePending();
    vertex.apply();
    EXPECT_EQ(effect.vertexShader.buildState, c.valid) << c.source;
    EXPECT_EQ(log.pending().front(), c.valid ? "Vertex Shader is valid !!" : "Error : Failed to assemble Vertex Shader !");
  }
}

TEST_F(PaneFixture, ApplyDoesNothingForADisabledShaderOrAnEmptySource) {
  ShaderPaneModel vertex = pane(ShaderPaneKind::vertex);
  effect.shadersChanged = false;
  vertex.apply();  // empty editor
  EXPECT_FALSE(effect.shadersChanged);
  vertex.enableToggled(false);
  effect.shadersChanged = false;
  vertex.apply();
  EXPECT_FALSE(effect.shadersChanged);
  EXPECT_TRUE(log.pending().empty());
}

TEST(ShaderSourceText, FilesBecomeLinesEndedByCrLfWithUnshowableCharactersReplaced) {
  EXPECT_EQ(editorTextFromFile("a\nb\r\nc"), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(editorTextFromFile(""), "");
  EXPECT_EQ(editorTextFromFile(std::string("m\0v\x01\tx\xE9\n", 8)), "m?v?\tx\xE9\r\n");
}

TEST(ShaderSourceText, FindsTheLineAroundTheCaret) {
  std::string text = "vs.1.1\r\nmov r0\r\n\r\nend";
  EXPECT_EQ(lineAround(text, 0), (TextLine{0, 6}));
  EXPECT_EQ(lineAround(text, 6), (TextLine{0, 6}));
  EXPECT_EQ(lineAround(text, 8), (TextLine{8, 6}));
  EXPECT_EQ(lineAround(text, 16), (TextLine{16, 0}));
  EXPECT_EQ(lineAround(text, 100), (TextLine{18, 3}));
}

TEST(ShaderPaneLayout, ColumnsSplitterAndResizeRules) {
  EXPECT_EQ(constantsColumnWidths(400), (std::array<int, 6>{50, 163, 40, 40, 40, 40}));
  SplitterRange splitter{300};
  EXPECT_EQ(splitter.clamp(100), 130);
  EXPECT_EQ(splitter.clamp(400), 370);
  EXPECT_EQ(splitter.clamp(250), 250);
  PaneResize resize(500, 600);
  EXPECT_FALSE(resize.resized(700, 400));
  auto change = resize.resized(520, 650);
  ASSERT_TRUE(change);
  EXPECT_EQ(change->dx, 20);
  EXPECT_EQ(change->dy, 50);
  EXPECT_EQ(resize.resized(520, 660)->dy, 10);
  EXPECT_EQ(std::string(shaderPaneTexts(ShaderPaneKind::pixel).helpTopic), "::/html/pixel shader.htm");
}

}  // namespace
}  // namespace veltrace
