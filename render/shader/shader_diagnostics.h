#pragma once
// Errors found while assembling a shader, kept as data: the source line, a
// stable code that tests and callers can rely on, and a sentence for people.
// Only the edge (command line, message log) turns them into text lines.

#include <string>
#include <vector>

namespace veltrace::shader {

enum class DiagnosticCode {
  // Source text
  missingVersion,         // no version line before the first instruction
  unknownVersion,         // a version this assembler does not know
  misplacedVersion,       // a second version line
  unterminatedComment,    // "/*" without "*/"
  unknownInstruction,
  instructionNotInVersion,
  operandCount,
  malformedOperand,       // text that is no register, modifier or mask
  unknownRegister,
  registerNotInShader,    // a register of the other shader kind
  badNumber,              // def values, register numbers
  badWriteMask,           // components repeated or out of order
  badSwizzle,
  badModifier,            // unknown or repeated modifier suffix
  tooManyErrors,
  wrongShaderKind,        // a vertex shader where a pixel shader belongs, or back
  // Validation
  registerOutOfRange,
  registerNotReadable,
  registerNotWritable,
  writeMaskNotAllowed,
  swizzleNotAllowed,
  sourceModifierNotAllowed,
  resultModifierNotAllowed,
  relativeAddressingNotAllowed,
  readPortLimit,
  uninitializedRegister,
  instructionSlots,       // too many instructions for the version
  textureAfterArithmetic, // texture instruction behind an arithmetic one
  textureRegisterRewritten,
  textureSourceOrder,     // texture source not earlier than the destination
  matrixSequence,         // texm3x2pad/texm3x3pad rows not followed properly
  coIssue,
  phase,
  definitionPlacement,
  destinationRule,        // instruction-specific destination constraints
  sourceRule,             // instruction-specific source constraints
  // Preprocessor
  directive,              // an unknown or malformed directive, a bad #define
  includeFile,            // an #include that cannot be read, is recursive or too deep
  errorDirective,         // #error
  conditional,            // unbalanced #if/#else/#endif, a bad #if expression
  macroExpansion,         // wrong arguments, an expansion without end
};

struct Diagnostic {
  int line = 0;
  int column = 0;  // 1-based start of the statement or operand at fault; 0 for the whole line
  DiagnosticCode code = DiagnosticCode::malformedOperand;
  std::string text;
  // Set when the line belongs to another file than the source assembled (an
  // #include, or a #line naming a file); line then counts in that file, and
  // sourceLine is the line of the assembled source it stems from (for an
  // included file, the line of the #include). Both empty otherwise.
  std::string file;
  int sourceLine = 0;
};

// "(LINE): error: TEXT", the form the assembler reports errors in; with the
// file in front for a line of another file ("FILE(LINE): error: TEXT").
std::string formatDiagnostic(const Diagnostic& diagnostic);

// Collects diagnostics; after a limit it records one tooManyErrors entry and
// ignores the rest, so a megabyte of garbage gives a readable report.
class DiagnosticList {
 public:
  static constexpr size_t limit = 100;

  void add(int line, DiagnosticCode code, std::string text) { add(line, 0, code, std::move(text)); }
  void add(int line, int column, DiagnosticCode code, std::string text);
  void add(Diagnostic diagnostic);
  bool empty() const { return items_.empty(); }
  size_t size() const { return items_.size(); }
  const std::vector<Diagnostic>& items() const { return items_; }
  std::vector<Diagnostic> take() { return std::move(items_); }
  bool full() const { return full_; }

 private:
  std::vector<Diagnostic> items_;
  bool full_ = false;
};

}  // namespace veltrace::shader
