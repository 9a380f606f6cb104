// Sources the assembler must refuse, each with the reason (code and line),
// and the behaviour on garbage: several errors per source, no crash.

#include <gtest/gtest.h>

#include <string>

#include "render/shader/shader_assembler.h"

namespace veltrace::shader {
namespace {

using Code = DiagnosticCode;

struct Rejected {
  const char* why;
  std::string source;
  Code code;
  int line;
};

std::string repeated(const std::string& line, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += line + "\n";
  return text;
}

const std::vector<Rejected>& rejectedSources() {
  static const std::vector<Rejected> cases = {
      // Form
      {"empty source", "", Code::missingVersion, 1},
      {"no version line", "\n\nmov r0, v0\n", Code::missingVersion, 3},
      {"a version this assembler does not know", "vs.2.0\nmov oPos, v0\n", Code::unknownVersion, 1},
      {"a second version", "vs.1.1\nvs.1.1\n", Code::misplacedVersion, 2},
      {"unknown instruction", "vs.1.1\nfoo r0, v0\n", Code::unknownInstruction, 2},
      {"pixel instruction in a vertex shader", "vs.1.1\ntex t0\n", Code::instructionNotInVersion, 2},
      {"texld before ps.1.4", "ps.1.1\ntexld r0, t0\n", Code::instructionNotInVersion, 2},
      {"texcoord in ps.1.4", "ps.1.4\ntexcoord t0\n", Code::instructionNotInVersion, 2},
      {"cmp in ps.1.1", "ps.1.1\ncmp r0, v0, c0, c1\n", Code::instructionNotInVersion, 2},
      {"texm3x2depth in ps.1.2", "ps.1.2\ntexm3x2depth t1, t0\n", Code::instructionNotInVersion, 2},
      {"missing operand", "vs.1.1\nmov r0\n", Code::operandCount, 2},
      {"empty operand", "vs.1.1\nmov r0,, v0\n", Code::operandCount, 2},
      {"def with three values", "ps.1.1\ndef c0, 1, 2, 3\n", Code::operandCount, 2},
      {"unknown register", "vs.1.1\nmov r0, q7\n", Code::unknownRegister, 2},
      {"pixel register in a vertex shader", "vs.1.1\nmov r0, t0\n", Code::registerNotInShader, 2},
      {"vertex output in a pixel shader", "ps.1.1\nmov oPos, v0\n", Code::registerNotInShader, 2},
      {"register without number", "vs.1.1\nmov r, v0\n", Code::malformedOperand, 2},
      {"text behind an operand", "vs.1.1\nmov r0, v0 junk\n", Code::malformedOperand, 2},
      {"bad address component", "vs.1.1\nmov r0, c[a0.y]\n", Code::malformedOperand, 2},
      {"register number beyond the token field", "vs.1.1\nmov r0, c[a0.x + 2048]\n", Code::badNumber, 2},
      {"def value is no number", "ps.1.1\ndef c0, 1, 2, x, 4\n", Code::badNumber, 2},
      {"def value beyond float range", "ps.1.1\ndef c0, 1e39, 0, 0, 0\n", Code::badNumber, 2},
      {"def value with two signs", "ps.1.1\ndef c0, --1, 0, 0, 0\n", Code::badNumber, 2},
      {"def value nan", "ps.1.1\ndef c0, nan, 0, 0, 0\n", Code::badNumber, 2},
      {"write mask out of order", "vs.1.1\nmov r0.yx, v0\n", Code::badWriteMask, 2},
      {"write mask repeated", "vs.1.1\nmov r0.xx, v0\n", Code::badWriteMask, 2},
      {"bad swizzle letter", "vs.1.1\nmov r0, v0.xq\n", Code::badSwizzle, 2},
      {"swizzle too long", "vs.1.1\nmov r0, v0.xyzwx\n", Code::badSwizzle, 2},
      {"unknown instruction modifier", "vs.1.1\nmov_x9 r0, v0\n", Code::badModifier, 2},
      {"two scale modifiers", "ps.1.1\nmov_x2_d2 r0, v0\n", Code::badModifier, 2},
      {"complement with another modifier", "ps.1.1\nmov r0, 1-v0_bx2\n", Code::badModifier, 2},
      {"negated divide", "ps.1.4\ntexld r0, -t0_dz\n", Code::badModifier, 2},
      {"unknown source modifier", "ps.1.1\nmov r0, v0_foo\n", Code::badModifier, 2},
      {"modifier on a destination", "ps.1.1\nmov r0_bx2, v0\n", Code::badModifier, 2},
      {"unterminated block comment", "vs.1.1\n/* never closed\nmov r0, v0\n", Code::unterminatedComment, 2},
      // Registers
      {"temporary beyond r11", "vs.1.1\nmov r12, v0\n", Code::registerOutOfRange, 2},
      {"constant beyond c95", "vs.1.1\nmov r0, c96\n", Code::registerOutOfRange, 2},
      {"input beyond v15", "vs.1.1\nmov r0, v16\n", Code::registerOutOfRange, 2},
      {"texture output beyond oT7", "vs.1.1\nmov oT8, v0\n", Code::registerOutOfRange, 2},
      {"ps.1.1 temporary beyond r1", "ps.1.1\nmov r2, v0\n", Code::registerOutOfRange, 2},
      {"ps.1.1 constant beyond c7", "ps.1.1\ndef c8, 0, 0, 0, 0\n", Code::registerOutOfRange, 2},
      {"ps.1.4 temporary beyond r5", "ps.1.4\ntexld r6, t0\n", Code::registerOutOfRange, 2},
      {"matrix rows past the constants", "vs.1.1\nm4x4 r0, v0, c93\n", Code::registerOutOfRange, 2},
      {"writing an input", "vs.1.1\nmov v0, c0\n", Code::registerNotWritable, 2},
      {"reading an output", "vs.1.1\nmov r0, oPos\n", Code::registerNotReadable, 2},
      {"writing a constant in a pixel shader", "ps.1.1\nmov c0, v0\n", Code::registerNotWritable, 2},
      {"a0 in vs.1.0", "vs.1.0\nmov a0.x, v0.x\n", Code::registerNotInShader, 2},
      {"a0 written by add", "vs.1.1\nadd a0.x, v0, c0\n", Code::destinationRule, 2},
      {"a0 written with a full mask", "vs.1.1\nmov a0, v0\n", Code::writeMaskNotAllowed, 2},
      {"relative addressing before a0 is set", "vs.1.1\nmov r0, c[a0.x + 1]\n", Code::uninitializedRegister, 2},
      {"reading a temporary before writing it", "vs.1.1\nmov oPos, v0\nmov r0, r1\n", Code::uninitializedRegister, 3},
      {"reading a texture register never loaded", "ps.1.1\nmov r0, t0\n", Code::uninitializedRegister, 2},
      {"macro writing its own source", "vs.1.1\nmov r0, v0\nm4x4 r0, r0, c0\n", Code::destinationRule, 3},
      {"def after an instruction", "ps.1.1\nmov r0, v0\ndef c0, 0, 0, 0, 0\n", Code::definitionPlacement, 3},
      {"def after an instruction in a vertex shader", "vs.1.1\nmov oPos, v0\ndef c0, 0, 0, 0, 0\n",
       Code::definitionPlacement, 3},
      {"def of a temporary", "ps.1.1\ndef r0, 1, 2, 3, 4\n", Code::destinationRule, 2},
      // Read ports
      {"two inputs in one vertex instruction", "vs.1.1\nadd r0, v0, v1\n", Code::readPortLimit, 2},
      {"two constants in one vertex instruction", "vs.1.1\nadd r0, c0, c1\n", Code::readPortLimit, 2},
      {"three constants in a pixel instruction", "ps.1.1\nmad r0, c0, c1, c2\n", Code::readPortLimit, 2},
      {"three texture registers in ps.1.1", "ps.1.1\ntex t0\ntex t1\ntex t2\nmad r0, t0, t1, t2\n",
       Code::readPortLimit, 5},
      // Modifiers, masks, selectors
      {"saturate in a vertex shader", "vs.1.1\nmov_sat r0, v0\n", Code::resultModifierNotAllowed, 2},
      {"signed scale in a vertex shader", "vs.1.1\nmov r0, v0_bx2\n", Code::sourceModifierNotAllowed, 2},
      {"_x8 before ps.1.4", "ps.1.1\nmov_x8 r0, v0\n", Code::resultModifierNotAllowed, 2},
      {"modifier on a texture instruction", "ps.1.1\ntex_x2 t0\n", Code::resultModifierNotAllowed, 2},
      {"source _x2 before ps.1.4", "ps.1.1\nmov r0, v0_x2\n", Code::sourceModifierNotAllowed, 2},
      {"_dz outside texld", "ps.1.4\nmov r0, c0_dz\n", Code::sourceModifierNotAllowed, 2},
      {"_bias on texld", "ps.1.4\ntexld r0, t0_bias\n", Code::sourceModifierNotAllowed, 2},
      {"_dz on a texture coordinate register", "ps.1.4\ntexld r0, t0_dz\nmov r0, r0\n",
       Code::sourceModifierNotAllowed, 2},
      {"_dz on texcrd", "ps.1.4\ntexcrd r0.rgb, t0_dz.xyz\nmov r0, r0\n", Code::sourceModifierNotAllowed, 2},
      {"_bx2 on texbem in ps.1.1", "ps.1.1\ntex t0\ntexbem t1, t0_bx2\n", Code::sourceModifierNotAllowed, 3},
      {"_bx2 on texreg2ar", "ps.1.2\ntex t0\ntexreg2ar t1, t0_bx2\n", Code::sourceModifierNotAllowed, 3},
      {"_bx2 on a texture source in ps.1.0", "ps.1.0\ntex t0\ntexm3x2pad t1, t0_bx2\ntexm3x2tex t2, t0\n",
       Code::sourceModifierNotAllowed, 3},
      {"_bias on a texture source", "ps.1.3\ntex t0\ntexbem t1, t0_bias\n", Code::sourceModifierNotAllowed, 3},
      {"ps.1.1 mask .rg", "ps.1.1\nmov r0.rg, v0\n", Code::writeMaskNotAllowed, 2},
      {"ps.1.1 mask on a texture instruction", "ps.1.1\ntex t0.rgb\n", Code::writeMaskNotAllowed, 2},
      {"ps.1.1 red replicate", "ps.1.1\nmov r0, v0.r\n", Code::swizzleNotAllowed, 2},
      {"ps.1.1 blue replicate into colour", "ps.1.1\nmov r0, v0.b\n", Code::swizzleNotAllowed, 2},
      {"ps.1.0 blue replicate", "ps.1.0\nmov r0.a, v0.b\n", Code::swizzleNotAllowed, 2},
      {"ps.1.4 arbitrary swizzle", "ps.1.4\nmov r0, c0.gbra\n", Code::swizzleNotAllowed, 2},
      {"ps.1.4 texld selector", "ps.1.4\ntexld r0, t0.yx\n", Code::swizzleNotAllowed, 2},
      {"ps.1.4 texld write mask", "ps.1.4\ntexld r0.rgb, t0\n", Code::writeMaskNotAllowed, 2},
      {"ps.1.1 dp3 writing alpha only", "ps.1.1\ntex t0\ndp3 r0.a, t0_bx2, v0_bx2\n", Code::writeMaskNotAllowed, 3},
      {"ps.1.3 dp3 co-issued into alpha", "ps.1.3\ntex t0\nmov r0.rgb, t0\n+dp3 r0.a, t0, v0\n",
       Code::writeMaskNotAllowed, 4},
      // Slots
      {"129 vertex instructions", "vs.1.1\n" + repeated("mov oPos, v0", 129), Code::instructionSlots, 130},
      {"exp costs ten slots", "vs.1.1\n" + repeated("exp r0, v0.x", 13), Code::instructionSlots, 14},
      {"nine ps.1.1 arithmetic instructions", "ps.1.1\n" + repeated("mov r0, v0", 9), Code::instructionSlots, 10},
      {"dp4 costs two slots in ps.1.2", "ps.1.2\n" + repeated("dp4 r0, v0, c0", 5), Code::instructionSlots, 6},
      {"five ps.1.1 texture instructions", "ps.1.1\ntex t0\ntex t1\ntex t2\ntex t3\ntexkill t0\n",
       Code::instructionSlots, 6},
      {"seven texture instructions in one ps.1.4 phase",
       "ps.1.4\ntexld r0, t0\ntexld r1, t0\ntexld r2, t0\ntexld r3, t0\ntexld r4, t0\ntexld r5, t0\ntexkill t0\n",
       Code::instructionSlots, 8},
      {"four cmp in ps.1.2", "ps.1.2\n" + repeated("cmp r0, v0, c0, c1", 4), Code::instructionSlots, 5},
      {"bem twice", "ps.1.4\ntexld r0, t0\ntexld r1, t1\nbem r2.rg, c0, r0\nbem r3.rg, c0, r1\nphase\n",
       Code::instructionSlots, 5},
      {"_dz three times", "ps.1.4\ntexcrd r0.rgb, t0\nphase\ntexld r1, r0_dz\ntexld r2, r0_dz\ntexld r3, r0_dz\n",
       Code::sourceModifierNotAllowed, 6},
      {"nine ps.1.4 arithmetic instructions in a phase", "ps.1.4\n" + repeated("mov r0, c0", 9),
       Code::instructionSlots, 10},
      // ps.1.0-1.3 texture rules
      {"texture instruction after arithmetic", "ps.1.1\nmov r0, v0\ntex t0\n", Code::textureAfterArithmetic, 3},
      {"texture register loaded twice", "ps.1.1\ntex t0\ntex t0\n", Code::textureRegisterRewritten, 3},
      {"texbem reading a later register", "ps.1.1\ntex t1\ntexbem t0, t1\n", Code::textureSourceOrder, 3},
      {"texbem reading a colour register", "ps.1.1\ntexbem t1, v0\n", Code::sourceRule, 2},
      {"texbem source read again", "ps.1.1\ntex t0\ntexbem t1, t0\nadd r0, t1, t0\n", Code::sourceRule, 4},
      {"texbeml source read again by a matrix row",
       "ps.1.2\ntex t0\ntexbeml t1, t0\ntexm3x2pad t2, t0\ntexm3x2tex t3, t0\nmov r0, t3\n", Code::sourceRule, 4},
      {"texm3x2pad without its last row", "ps.1.1\ntex t0\ntexm3x2pad t1, t0\nmov r0, t1\n", Code::matrixSequence, 4},
      {"texm3x2tex without its pad", "ps.1.1\ntex t0\ntexm3x2tex t1, t0\n", Code::matrixSequence, 3},
      {"texm3x3 rows on the wrong registers",
       "ps.1.1\ntex t0\ntexm3x3pad t1, t0\ntexm3x3pad t3, t0\n", Code::matrixSequence, 4},
      {"texm3x3pad at the end", "ps.1.1\ntex t0\ntexm3x3pad t1, t0\n", Code::matrixSequence, 3},
      {"ps.1.2 cmp writing one of its sources", "ps.1.2\nmov r0, v0\ncmp r0, r0, c0, c1\n", Code::destinationRule, 3},
      {"ps.1.3 cmp writing its last source", "ps.1.3\nmov r1, v0\ncmp r1, v1, c0, r1\n", Code::destinationRule, 3},
      {"cnd condition other than r0.a", "ps.1.1\nmov r0, v0\ncnd r1, r0.b, v0, v1\n", Code::sourceRule, 3},
      {"texm3x3spec eye vector not constant",
       "ps.1.1\ntex t0\ntexm3x3pad t1, t0\ntexm3x3pad t2, t0\ntexm3x3spec t3, t0, v0\n", Code::sourceRule, 5},
      // Co-issue
      {"co-issue without a partner", "ps.1.1\n+mov r0, v0\n", Code::coIssue, 2},
      {"co-issue in a vertex shader", "vs.1.1\nmov r0, v0\n+mov r1, v0\n", Code::coIssue, 3},
      {"co-issued pair both writing colour", "ps.1.1\nmov r0.rgb, v0\n+mov r1.rgb, v1\n", Code::coIssue, 3},
      {"co-issued pair with a full mask", "ps.1.1\nmov r0, v0\n+mov r1.a, v1\n", Code::coIssue, 3},
      {"co-issued texture instruction", "ps.1.1\ntex t0\n+tex t1\n", Code::coIssue, 3},
      {"three in one slot", "ps.1.1\nmov r0.rgb, v0\n+mov r0.a, v0\n+mov r1.a, v0\n", Code::coIssue, 4},
      {"dp4 in a co-issued pair", "ps.1.2\ndp4 r0.rgb, v0, c0\n+mov r0.a, v0\n", Code::coIssue, 3},
      {"dp4 co-issued in ps.1.4", "ps.1.4\nmov r0.rgb, v0\n+dp4 r0.a, v0, c0\n", Code::coIssue, 3},
      {"bem co-issued", "ps.1.4\ntexld r0, t0\nmov r1.a, c0\n+bem r1.rg, c0, r0\nphase\n", Code::coIssue, 4},
      // ps.1.4 phases
      {"two phase markers", "ps.1.4\nphase\nphase\n", Code::phase, 3},
      {"colour register in the first phase", "ps.1.4\nmov r0, v0\nphase\nmov r0, r0\n", Code::registerNotReadable, 2},
      {"texture register read by arithmetic", "ps.1.4\nmov r0, t0\n", Code::registerNotReadable, 2},
      {"texld after arithmetic in a phase", "ps.1.4\ntexld r0, t0\nphase\nmov r0, r0\ntexld r1, t1\n",
       Code::textureAfterArithmetic, 5},
      {"dependent read without a phase", "ps.1.4\ntexcrd r0.rgb, t0\ntexld r1, r0\n", Code::sourceRule, 3},
      {"texld from a constant", "ps.1.4\ntexld r0, c0\n", Code::sourceRule, 2},
      {"texdepth on r4", "ps.1.4\ntexcrd r4.rgb, t0\nphase\ntexdepth r4\n", Code::destinationRule, 4},
      {"bem with a colour mask", "ps.1.4\ntexld r0, t0\nbem r0.rgb, c0, r0\nphase\n", Code::writeMaskNotAllowed, 3},
      {"bem in the second phase", "ps.1.4\ntexld r0, t0\nbem r0.rg, c0, r0\n", Code::phase, 3},
  };
  return cases;
}

bool hasDiagnostic(const AssembleResult& result, Code code, int line) {
  for (const auto& diagnostic : result.diagnostics)
    if (diagnostic.code == code && diagnostic.line == line) return true;
  return false;
}

TEST(ShaderAssemblerRejects, EachSourceFailsForItsReasonOnItsLine) {
  for (const auto& rejected : rejectedSources()) {
    SCOPED_TRACE(rejected.why);
    AssembleResult result = assembleShader(rejected.source);
    EXPECT_FALSE(result.succeeded());
    EXPECT_TRUE(result.tokens.empty());
    EXPECT_TRUE(hasDiagnostic(result, rejected.code, rejected.line))
        << "expected code " << static_cast<int>(rejected.code) << " on line " << rejected.line << ", got:\n"
        << result.errorText();
  }
}

TEST(ShaderAssemblerRejects, SkippingValidationAcceptsWhatOnlyValidationRefuses) {
  // Out of range and read-port errors are validation; a typo is not.
  EXPECT_TRUE(assembleShader("vs.1.1\nmov r12, v0\nadd r0, c0, c1\n", assemblerSkipValidation).succeeded());
  EXPECT_FALSE(assembleShader("vs.1.1\nmvo r0, v0\n", assemblerSkipValidation).succeeded());
}

TEST(ShaderAssemblerRejects, ReadingGoesOnAfterAnErrorAndReportsEveryBadLine) {
  AssembleResult result = assembleShader("vs.1.1\nfoo\nmov oPos, v0\nbar r1\nmov r0, q\nmov oD0, v0\n");
  ASSERT_EQ(result.diagnostics.size(), 3u) << result.errorText();
  EXPECT_EQ(result.diagnostics[0].line, 2);
  EXPECT_EQ(result.diagnostics[1].line, 4);
  EXPECT_EQ(result.diagnostics[2].line, 5);
  EXPECT_EQ(result.errorText(),
            "(2): error: unknown instruction 'foo'\n(4): error: unknown instruction 'bar'\n"
            "(5): error: unknown register 'q'\n");
}

TEST(ShaderAssemblerRejects, DiagnosticsPointAtTheOperandOrInstruction) {
  AssembleResult form = assembleShader("vs.1.1\n  mov r0, v0.xq\n\tadd r0, q1, c0\n  foo\n/* open\n");
  ASSERT_EQ(form.diagnostics.size(), 4u) << form.errorText();
  // The comment check runs over the whole text before the lines are read.
  EXPECT_EQ(form.diagnostics[0].code, DiagnosticCode::unterminatedComment);
  EXPECT_EQ(form.diagnostics[0].line, 5);
  EXPECT_EQ(form.diagnostics[0].column, 1);
  EXPECT_EQ(form.diagnostics[1].column, 11);  // v0.xq
  EXPECT_EQ(form.diagnostics[2].column, 10);  // q1, after a tab
  EXPECT_EQ(form.diagnostics[3].column, 3);   // foo

  AssembleResult rules = assembleShader("ps.1.1\nmov r0.rgb, v0\n  +mov r1.rgb, v1\n   def c0, 0, 0, 0, 0\n");
  ASSERT_EQ(rules.diagnostics.size(), 2u) << rules.errorText();
  EXPECT_EQ(rules.diagnostics[0].code, DiagnosticCode::coIssue);
  EXPECT_EQ(rules.diagnostics[0].column, 4);  // the name after '+'
  EXPECT_EQ(rules.diagnostics[1].code, DiagnosticCode::definitionPlacement);
  EXPECT_EQ(rules.diagnostics[1].column, 4);
}

TEST(ShaderAssemblerRejects, ErrorsOfOneLineAreAllReported) {
  AssembleResult result = assembleShader("vs.1.1\nmad r0, q0, v0.xq, c0_zz\n");
  EXPECT_EQ(result.diagnostics.size(), 3u) << result.errorText();
}

TEST(ShaderAssemblerRejects, GarbageGivesLineNumberedErrorsAndStopsAtTheLimit) {
  std::string garbage = "ps.1.1\n";
  for (int i = 0; i < 5000; ++i) garbage += std::string("\x01\xff{}#@! ") + std::to_string(i) + "\n";
  AssembleResult result = assembleShader(garbage);
  ASSERT_FALSE(result.succeeded());
  EXPECT_EQ(result.diagnostics.size(), DiagnosticList::limit + 1);
  EXPECT_EQ(result.diagnostics.front().line, 2);
  EXPECT_EQ(result.diagnostics.back().code, Code::tooManyErrors);
  for (const auto& diagnostic : result.diagnostics) EXPECT_LT(diagnostic.text.size(), 200u);
}

TEST(ShaderAssemblerRejects, AnOverlongLineIsQuotedShortly) {
  std::string source = "vs.1.1\nmov r0, " + std::string(100000, 'v') + "\n";
  AssembleResult result = assembleShader(source);
  ASSERT_EQ(result.diagnostics.size(), 1u);
  EXPECT_EQ(result.diagnostics[0].line, 2);
  EXPECT_LT(result.diagnostics[0].text.size(), 100u);
}

TEST(ShaderAssemblerRejects, AMegabyteSourceIsReadToTheEnd) {
  // A long but valid run of comments and blank lines, then one bad line at
  // the very end: the error must name that last line.
  std::string source = "vs.1.1\n";
  int line = 1;
  while (source.size() < 1024 * 1024) {
    source += "; padding comment line with some text in it\n";
    ++line;
  }
  source += "mov r0, v99\n";
  AssembleResult result = assembleShader(source);
  ASSERT_EQ(result.diagnostics.size(), 1u) << result.errorText();
  EXPECT_EQ(result.diagnostics[0].line, line + 1);
  EXPECT_EQ(result.diagnostics[0].code, Code::registerOutOfRange);
}

TEST(ShaderAssemblerRejects, NulBytesAndCarriageReturnsAreHandled) {
  EXPECT_TRUE(assembleShader("vs.1.1\r\nmov oPos, v0\r\n").succeeded());
  std::string withNul("vs.1.1\nmov oPos, v0\n", 20);
  withNul += std::string("mov\0r0", 6);
  AssembleResult result = assembleShader(withNul);
  ASSERT_FALSE(result.succeeded());
  EXPECT_EQ(result.diagnostics.front().line, 3);
}

}  // namespace
}  // namespace veltrace::shader
