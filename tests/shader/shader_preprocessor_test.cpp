// The preprocessor in front of the assembler: macros, includes through an
// in-memory file reader, conditionals, and errors at their original file and
// line.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "render/shader/shader_assembler.h"
#include "render/shader/shader_preprocessor.h"

namespace veltrace::shader {
namespace {

using Code = DiagnosticCode;

class MemoryFiles : public IncludeFileReader {
 public:
  std::map<std::string, std::string> files;
  std::optional<std::string> read(const std::string& corePath) const override {
    auto found = files.find(corePath);
    if (found == files.end()) return std::nullopt;
    return found->second;
  }
};

std::vector<std::uint32_t> tokensOf(std::string_view source, const PreprocessOptions& options = {}) {
  AssembleResult result = assembleShader(source, 0, options);
  EXPECT_TRUE(result.succeeded()) << result.errorText();
  return result.tokens;
}

// The only diagnostic of an assembly that must fail.
Diagnostic onlyError(std::string_view source, const PreprocessOptions& options = {}) {
  AssembleResult result = assembleShader(source, 0, options);
  EXPECT_EQ(result.diagnostics.size(), 1u) << result.errorText();
  return result.diagnostics.empty() ? Diagnostic{} : result.diagnostics.front();
}

// The preprocessed lines, blank ones included, with their ends trimmed.
std::vector<std::string> outputLines(std::string_view source, const PreprocessOptions& options = {}) {
  PreprocessResult result = preprocessShaderSource(source, options);
  EXPECT_TRUE(result.diagnostics.empty()) << (result.diagnostics.empty() ? "" : result.diagnostics[0].text);
  std::vector<std::string> lines(1);
  for (char c : result.text) {
    if (c == '\n') lines.emplace_back();
    else lines.back() += c;
  }
  for (std::string& line : lines) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
    while (!line.empty() && line.front() == ' ') line.erase(0, 1);
  }
  EXPECT_EQ(lines.size(), result.origins.size());
  return lines;
}

TEST(ShaderPreprocessor, LeavesASourceWithoutDirectivesAlone) {
  EXPECT_FALSE(preprocessShaderSource("vs.1.1\nmov oPos, v0 ; #define X\n", {}).rewritten);
  EXPECT_FALSE(preprocessShaderSource("/*\n#error not a directive\n*/\nvs.1.1\n", {}).rewritten);
  EXPECT_TRUE(preprocessShaderSource("  #define X c0\n", {}).rewritten);
}

TEST(ShaderPreprocessor, ObjectAndFunctionLikeMacrosGiveTheTokensOfTheWrittenOutSource) {
  std::string plain = "vs.1.1\nm4x4 oPos, v0, c0\ndp3 r0, v3, c4\nmul oD0, r0, c5\n";
  std::string withMacros =
      "#define LIGHT c4\n#define TRANSFORM(out, in) m4x4 out, in, c0\n#define LIT(n, k) mul oD0, n, k\n"
      "vs.1.1\nTRANSFORM(oPos, v0)\ndp3 r0, v3, LIGHT\nLIT(r0, c5)\n";
  EXPECT_EQ(tokensOf(withMacros), tokensOf(plain));
}

TEST(ShaderPreprocessor, CommandLineDefinesComeBeforeTheFirstLine) {
  PreprocessOptions options;
  options.defines = {{"POSITION", "v0"}};
  EXPECT_EQ(tokensOf("vs.1.1\nmov oPos, POSITION\n", options), tokensOf("vs.1.1\nmov oPos, v0\n"));
}

TEST(ShaderPreprocessor, MacrosDoNotExpandInsideThemselvesOrInsideLongerWords) {
  EXPECT_EQ(outputLines("#define A A+1\n#define r r9\nA r0 r.x 1r 0x1r"),
            (std::vector<std::string>{"", "", "A+1 r0 r9.x 1r 0x1r"}));
  EXPECT_EQ(outputLines("#define X 1\n#undef X\nX"), (std::vector<std::string>{"", "", "X"}));
  EXPECT_EQ(outputLines("#define F(a) [a]\nF F (x) F((1, 2))"), (std::vector<std::string>{"", "F [x] [(1, 2)]"}));
}

TEST(ShaderPreprocessor, BackslashJoinsLinesAndErrorsKeepTheirLines) {
  std::string source = "vs.1.1\n#define MOVE(to, from) \\\n   mov to, from\nMOVE(oPos, \\\nv0)\nmvo r0, v0\n";
  Diagnostic error = onlyError(source);
  EXPECT_EQ(error.code, Code::unknownInstruction);
  EXPECT_EQ(error.line, 6);
  EXPECT_TRUE(error.file.empty());
  EXPECT_EQ(outputLines(source)[3], "mov oPos, v0");
}

TEST(ShaderPreprocessor, ConditionalsTakeOneBranch) {
  std::string source =
      "#define LEVEL 2\n"
      "#if LEVEL * 3 == 6 && defined(LEVEL) && !defined UNSET\n"
      "a\n"
      "#elif 1\n"
      "b\n"
      "#else\n"
      "c\n"
      "#endif\n"
      "#ifdef UNSET\n"
      "#if 1/0\n"  // not evaluated inside a skipped group
      "d\n"
      "#endif\n"
      "#elif (LEVEL << 2) > 7 ? 0x10 : 0\n"
      "e\n"
      "#endif\n"
      "#ifndef UNSET\n"
      "f\n"
      "#endif\n";
  std::vector<std::string> lines = outputLines(source);
  std::string kept;
  for (const std::string& line : lines) kept += line;
  EXPECT_EQ(kept, "aef");
  EXPECT_EQ(lines[2], "a");  // lines keep their places
  EXPECT_EQ(lines[13], "e");
}

struct PreprocessorError {
  const char* why;
  std::string source;
  Code code;
  int line;
  std::string text;
};

const PreprocessorError preprocessorErrors[] = {
    {"#error", "vs.1.1\n#error no lights here\n", Code::errorDirective, 2, "#error no lights here"},
    {"division by zero", "#if 1 / (2 - 2)\n#endif\n", Code::conditional, 1, "division by zero in the expression"},
    {"unclosed parenthesis", "\n#if (1\n#endif\n", Code::conditional, 2, "')' expected in the expression"},
    {"empty #if", "#if\n#endif\n", Code::conditional, 1, "#if needs an expression"},
    {"#endif without #if", "vs.1.1\n#endif\n", Code::conditional, 2, "#endif without #if"},
    {"second #else", "#if 0\n#else\n#else\n#endif\n", Code::conditional, 3, "#else after #else"},
    {"#if never closed", "#ifdef X\n\n", Code::conditional, 1, "#if without #endif"},
    {"#if never closed before a #line", "\n#ifndef X\n#line 1 \"other.vsh\"\n\n\n\n", Code::conditional, 2,
     "#if without #endif"},
    {"unknown directive", "#frobnicate\n", Code::directive, 1, "unknown directive '#frobnicate'"},
    {"#define without name", "#define 1 2\n", Code::directive, 1, "#define needs a macro name"},
    {"wrong argument count", "#define S(a, b) a b\nS(1)\n", Code::macroExpansion, 2,
     "macro 'S' takes 2 arguments, found 1"},
    {"unclosed arguments", "#define S(a) a\n\nS(1\n", Code::macroExpansion, 3,
     "the arguments of macro 'S' are not closed on the line"},
    {"expansion without end", "#define A B B B B\n#define B C C C C\n#define C D D D D\n#define D E E E E\n"
     "#define E F F F F\n#define F G G G G\n#define G H H H H\n#define H I I I I\nA\n",
     Code::macroExpansion, 9, "macro expansion too long"},
    {"include without reader", "#include \"common.inc\"\n", Code::includeFile, 1, "cannot open include file 'common.inc'"},
    {"include without quotes", "#include common.inc\n", Code::includeFile, 1, "#include expects \"FILE\""},
    {"#line without number", "#line here\n", Code::directive, 1, "#line expects a line number and an optional \"FILE\""},
    {"#line 0", "#line 0\n", Code::directive, 1, "#line numbers start at 1"},
};

class PreprocessorErrorTest : public testing::TestWithParam<PreprocessorError> {};

TEST_P(PreprocessorErrorTest, ReportsItAtItsLine) {
  const PreprocessorError& c = GetParam();
  Diagnostic error = onlyError(c.source);
  EXPECT_EQ(error.code, c.code);
  EXPECT_EQ(error.line, c.line);
  EXPECT_EQ(error.file, "");  // every case's error stands in the source itself
  EXPECT_EQ(error.text, c.text);
}

INSTANTIATE_TEST_SUITE_P(Cases, PreprocessorErrorTest, testing::ValuesIn(preprocessorErrors),
                         [](const testing::TestParamInfo<PreprocessorError>& info) {
                           std::string name;
                           for (const char* p = info.param.why; *p; ++p)
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return name;
                         });

class IncludeTest : public testing::Test {
 protected:
  IncludeTest() {
    options.sourcePath = "shaders\\main.vsh";
    options.includeFolders = {"library"};
    options.reader = &files;
  }
  MemoryFiles files;
  PreprocessOptions options;
};

TEST_F(IncludeTest, ErrorsInAnIncludedFileNameItAndItsLine) {
  files.files["shaders\\common.inc"] = "#define LIGHT c4\ndp3 r0, v3, LIGHT\nmvo r1, v0\n";
  std::string source = "vs.1.1\n#include \"common.inc\"\nmov oPos, v0\nmvo r2, v0\n";
  AssembleResult result = assembleShader(source, 0, options);
  ASSERT_EQ(result.diagnostics.size(), 2u) << result.errorText();
  EXPECT_EQ(result.diagnostics[0].file, "shaders\\common.inc");
  EXPECT_EQ(result.diagnostics[0].line, 3);
  EXPECT_EQ(result.diagnostics[0].sourceLine, 2);
  EXPECT_EQ(result.diagnostics[1].file, "");
  EXPECT_EQ(result.diagnostics[1].line, 4);
  EXPECT_EQ(formatDiagnostic(result.diagnostics[0]), "shaders\\common.inc(3): error: unknown instruction 'mvo'");
}

TEST_F(IncludeTest, SearchesTheIncludingFilesFolderThenTheIncludeFolders) {
  files.files["shaders\\sub\\a.inc"] = "#include \"b.inc\"\n#include \"c.inc\"\n";
  files.files["shaders\\sub\\b.inc"] = "mov r0, v1\n";
  files.files["library\\b.inc"] = "mov r0, v2\n";
  files.files["library\\c.inc"] = "mov oD0, r0\n";
  files.files["shaders\\c.inc"] = "mov oD0, v9\n";  // not beside a.inc: not taken
  EXPECT_EQ(tokensOf("vs.1.1\n#include \"sub/a.inc\"\nmov oPos, v0\n", options),
            tokensOf("vs.1.1\nmov r0, v1\nmov oD0, r0\nmov oPos, v0\n"));
}

TEST_F(IncludeTest, RefusesCyclesAndDepthBeyondSixteen) {
  files.files["shaders\\a.inc"] = "#include \"b.inc\"\n";
  files.files["shaders\\b.inc"] = "\n#include \"A.INC\"\n";
  files.files["shaders\\A.INC"] = files.files["shaders\\a.inc"];
  Diagnostic cycle = onlyError("vs.1.1\n#include \"a.inc\"\n", options);
  EXPECT_EQ(cycle.text, "recursive #include of 'A.INC'");
  EXPECT_EQ(cycle.file, "shaders\\b.inc");
  EXPECT_EQ(cycle.line, 2);
  EXPECT_EQ(cycle.sourceLine, 2);

  files.files["shaders\\main.vsh"] = "#include \"main.vsh\"\n";
  EXPECT_EQ(onlyError("#include \"main.vsh\"\n", options).text, "recursive #include of 'main.vsh'");

  for (int i = 0; i < 20; ++i)
    files.files["shaders\\d" + std::to_string(i) + ".inc"] = "#include \"d" + std::to_string(i + 1) + ".inc\"\n";
  Diagnostic deep = onlyError("vs.1.1\n#include \"d0.inc\"\n", options);
  EXPECT_EQ(deep.code, Code::includeFile);
  EXPECT_EQ(deep.text, "#include nested more than 16 deep at 'd16.inc'");
  EXPECT_EQ(deep.file, "shaders\\d15.inc");
}

TEST_F(IncludeTest, MissingFileIsAnErrorAtTheIncludeLine) {
  Diagnostic missing = onlyError("vs.1.1\n\n#include <nowhere.inc>\n", options);
  EXPECT_EQ(missing.line, 3);
  EXPECT_EQ(missing.text, "cannot open include file 'nowhere.inc'");
}

TEST(ShaderPreprocessor, LineDirectiveRenumbersAndRenamesWhatFollows) {
  Diagnostic error = onlyError("#line 100 \"effect.vsh\"\nvs.1.1\nmvo r0, v0\n");
  EXPECT_EQ(error.line, 101);
  EXPECT_EQ(error.file, "effect.vsh");
  EXPECT_EQ(error.sourceLine, 3);
  EXPECT_EQ(onlyError("vs.1.1\n#line 20\n\nmvo r0, v0\n").line, 21);
}

}  // namespace
}  // namespace veltrace::shader
