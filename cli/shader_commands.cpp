// veltrace-cli asm and disasm: shader assembly source to Direct3D 8 tokens
// and back.

#include <cstring>
#include <ostream>
#include <vector>

#include "base/files.h"
#include "base/text.h"
#include "cli/command.h"
#include "cli/groups.h"
#include "render/shader/macro_table.h"
#include "render/shader/shader_assembler.h"
#include "render/shader/shader_disassembler.h"
#include "render/shader/shader_preprocessor.h"

namespace veltrace::cli {
namespace {

constexpr int tokensPerHexLine = 4;

void printAsmUsage(std::ostream& out) {
  out << "usage: veltrace-cli asm FILE [-o OUT.bin] [--hex] [--skip-validation]\n"
         "                         [-D NAME[=VALUE]]... [-I DIR]...\n"
         "\n"
         "Assembles a vs.1.0, vs.1.1 or ps.1.0 to ps.1.4 shader source. Errors are\n"
         "printed as FILE(LINE): error: TEXT. With -o the tokens are written to OUT.bin\n"
         "(32-bit little-endian words); without -o, or with --hex, they are printed in\n"
         "hexadecimal. Exit codes: 0 done, 1 errors in the source, 2 bad usage.\n"
         "\n"
         "The source may use #define, #undef, #include \"FILE\", #if, #ifdef, #ifndef,\n"
         "#elif, #else, #endif, #line and #error. -D defines a macro (VALUE 1 when not\n"
         "given) before the first line; an #include looks beside the including file,\n"
         "then in each -I folder in order.\n";
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
  shader::PreprocessOptions preprocess;
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
    } else if (argument == "-D" || argument == "-I") {
      if (i + 1 >= arguments.size())
        return usageError(context, "asm", argument + (argument == "-D" ? " needs NAME[=VALUE]" : " needs a folder"));
      const std::string& value = arguments[++i];
      if (argument == "-I") {
        preprocess.includeFolders.push_back(corePathFromArgument(value));
        continue;
      }
      size_t equals = value.find('=');
      std::string name = value.substr(0, equals);
      if (name.empty() || shader::leadingIdentifier(name).size() != name.size())
        return usageError(context, "asm", "-D needs a macro name, not '" + value + "'");
      preprocess.defines.emplace_back(name, equals == std::string::npos ? "1" : value.substr(equals + 1));
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
  shader::DiskIncludeReader includeReader;
  preprocess.sourcePath = corePathFromArgument(input);
  preprocess.reader = &includeReader;
  shader::AssembleResult result = shader::assembleShader(*source, flags, preprocess);
  if (!result.succeeded()) {
    for (shader::Diagnostic diagnostic : result.diagnostics) {
      // Lines of the source itself are named as the user named the source.
      if (diagnostic.file.empty())
        context.err << input;
      else
        diagnostic.file = nativePath(diagnostic.file).string();
      context.err << shader::formatDiagnostic(diagnostic) << "\n";
    }
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
