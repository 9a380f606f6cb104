// veltrace-cli asm and disasm: shader assembly source to Direct3D 8 tokens
// and back.

#include <cstring>
#include <ostream>
#include <vector>

#include "base/files.h"
#include "base/text.h"
#include "cli/command.h"
#include "cli/groups.h"
#include "render/shader/shader_assembler.h"
#include "render/shader/shader_disassembler.h"

namespace veltrace::cli {
namespace {

constexpr int tokensPerHexLine = 4;

void printAsmUsage(std::ostream& out) {
  out << "usage: veltrace-cli asm FILE [-o OUT.bin] [--hex] [--skip-validation]\n"
         "\n"
         "Assembles a vs.1.0, vs.1.1 or ps.1.0 to ps.1.4 shader source. Errors are\n"
         "printed as FILE(LINE): error: TEXT. With -o the tokens are written to OUT.bin\n"
         "(32-bit little-endian words); without -o, or with --hex, they are printed in\n"
         "hexadecimal. Exit codes: 0 done, 1 errors in the source, 2 bad usage.\n";
}

void printDisasmUsage(std::ostream& out) {
  out << "usage: veltrace-cli disasm FILE.bin\n"
         "\n"
         "Prints the assembly source of a shader token file (32-bit little-endian\n"
         "words). Exit codes: 0 done, 1 the file is no shader, 2 bad usage.\n";
}

std::string tokenBytes(const std::vector<std::uint32_t>& tokens) {
  std::string bytes;
  bytes.reserve(tokens.size() * 4);
  for (std::uint32_t token : tokens)
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((token >> shift) & 0xFF);
  return bytes;
}

void printHex(std::ostream& out, const std::vector<std::uint32_t>& tokens) {
  for (size_t i = 0; i < tokens.size(); ++i) {
    out << formatText("0x%08X", tokens[i]);
    bool lineEnd = (i + 1) % tokensPerHexLine == 0 || i + 1 == tokens.size();
    out << (lineEnd ? "\n" : " ");
  }
}

}  // namespace

int runAsmGroup(const Context& context, const Arguments& arguments) {
  std::string input;
  std::string output;
  bool hex = false;
  std::uint32_t flags = 0;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (isHelpOption(argument)) {
      printAsmUsage(context.out);
      return exitSuccess;
    }
    if (argument == "--hex") {
      hex = true;
    } else if (argument == "--skip-validation") {
      flags |= shader::assemblerSkipValidation;
    } else if (argument == "-o") {
      if (i + 1 >= arguments.size()) return usageError(context, "asm", "-o needs a file name");
      if (!output.empty()) return usageError(context, "asm", "-o given twice");
      output = arguments[++i];
    } else if (isOption(argument)) {
      return usageError(context, "asm", "unknown option '" + argument + "'");
    } else if (input.empty()) {
      input = argument;
    } else {
      return usageError(context, "asm", "more than one source file");
    }
  }
  if (input.empty()) return usageError(context, "asm", "no source file given");

  auto source = readWholeFile(corePathFromArgument(input));
  if (!source) {
    context.err << "veltrace-cli asm: cannot read '" << input << "'\n";
    return exitFailure;
  }
  shader::AssembleResult result = shader::assembleShader(*source, flags);
  if (!result.succeeded()) {
    for (const shader::Diagnostic& diagnostic : result.diagnostics)
      context.err << input << shader::formatDiagnostic(diagnostic) << "\n";
    return exitFailure;
  }
  if (!output.empty() && !replaceFileWith(corePathFromArgument(output), tokenBytes(result.tokens))) {
    context.err << "veltrace-cli asm: cannot write '" << output << "'\n";
    return exitFailure;
  }
  if (output.empty() || hex) printHex(context.out, result.tokens);
  return exitSuccess;
}

int runDisasmGroup(const Context& context, const Arguments& arguments) {
  if (asksForHelp(arguments)) {
    printDisasmUsage(context.out);
    return exitSuccess;
  }
  for (const auto& argument : arguments)
    if (isOption(argument)) return usageError(context, "disasm", "unknown option '" + argument + "'");
  if (arguments.size() != 1) return usageError(context, "disasm", "give one token file");

  auto bytes = readWholeFile(corePathFromArgument(arguments[0]));
  if (!bytes) {
    context.err << "veltrace-cli disasm: cannot read '" << arguments[0] << "'\n";
    return exitFailure;
  }
  if (bytes->size() % 4 != 0) {
    context.err << "veltrace-cli disasm: '" << arguments[0] << "' is not a whole number of 32-bit tokens\n";
    return exitFailure;
  }
  std::vector<std::uint32_t> tokens(bytes->size() / 4);
  for (size_t i = 0; i < tokens.size(); ++i) {
    std::uint32_t token = 0;
    for (int b = 3; b >= 0; --b) token = (token << 8) | static_cast<unsigned char>((*bytes)[i * 4 + b]);
    tokens[i] = token;
  }
  shader::DisassembleResult result = shader::disassembleShader(tokens);
  if (!result.succeeded) {
    context.err << "veltrace-cli disasm: " << arguments[0] << ": " << result.error << "\n";
    return exitFailure;
  }
  context.out << result.text;
  return exitSuccess;
}

}  // namespace veltrace::cli
