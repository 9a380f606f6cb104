// Differential test against an independent assembler: Wine's d3dx9_36.dll,
// loaded at run time, assembles the golden sources and the tokens are
// compared with ours. Shader model 1 token streams are the same in Direct3D
// 8 and 9 as long as no dcl instruction is used.

#include <windows.h>
#include <d3dx9shader.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "render/shader/shader_assembler.h"
#include "tests/shader/golden_shaders.h"

namespace veltrace::shader {
namespace {

using AssembleFunction = HRESULT(WINAPI*)(const char*, UINT, const D3DXMACRO*, ID3DXInclude*, DWORD,
                                          ID3DXBuffer**, ID3DXBuffer**);

struct ReferenceAssembler {
  HMODULE library = nullptr;
  AssembleFunction assemble = nullptr;

  ReferenceAssembler() {
    library = LoadLibraryA("d3dx9_36.dll");
    // FARPROC has no parameters; the export's real type is restored here.
    if (library)
      assemble = reinterpret_cast<AssembleFunction>(
          reinterpret_cast<void*>(GetProcAddress(library, "D3DXAssembleShader")));
  }
  ~ReferenceAssembler() {
    if (library) FreeLibrary(library);
  }

  // The tokens, or the error text in `error`.
  std::vector<std::uint32_t> run(const std::string& source, std::string& error) const {
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* messages = nullptr;
    HRESULT result = assemble(source.c_str(), static_cast<UINT>(source.size()), nullptr, nullptr, 0, &code, &messages);
    std::vector<std::uint32_t> tokens;
    if (SUCCEEDED(result) && code) {
      tokens.resize(code->GetBufferSize() / sizeof(std::uint32_t));
      std::memcpy(tokens.data(), code->GetBufferPointer(), tokens.size() * sizeof(std::uint32_t));
    }
    if (messages) {
      error.assign(static_cast<const char*>(messages->GetBufferPointer()), messages->GetBufferSize());
      messages->Release();
    }
    if (code) code->Release();
    if (FAILED(result) && error.empty()) error = "failed without a message";
    return tokens;
  }
};

// Golden sources the reference cannot take although they are right:
const std::set<std::string> referenceGaps = {
    // Wine's lexer reads instruction and register names case-sensitively;
    // the Direct3D 8 assembler and ours do not.
    "vs11 upper case, underscores and comments",
};

// Wine's assembler writes oFog and oPts with a full write mask whatever the
// source says; we keep the mask as written (.x), which the Direct3D 8 device
// takes as well (see the creation test). Both streams get the full mask on
// those two registers before they are compared.
std::vector<std::uint32_t> withScalarOutputMasksWidened(std::vector<std::uint32_t> tokens) {
  constexpr std::uint32_t registerBits = parameterBit | registerTypeMask | registerNumberMask;
  const std::uint32_t rasterizer = parameterBit | (static_cast<std::uint32_t>(RegisterType::rasterizerOutput)
                                                   << registerTypeShift);
  for (std::uint32_t& token : tokens) {
    std::uint32_t reg = token & registerBits;
    if (reg == (rasterizer | outputFog) || reg == (rasterizer | outputPointSize)) token |= writeMaskMask;
  }
  return tokens;
}

std::string hexList(const std::vector<std::uint32_t>& tokens) {
  std::string text;
  char buffer[16];
  for (std::uint32_t token : tokens) {
    std::snprintf(buffer, sizeof buffer, "%08X ", token);
    text += buffer;
  }
  return text;
}

TEST(ShaderAssemblerDifferential, GoldenSourcesGiveTheReferenceTokens) {
  ReferenceAssembler reference;
  if (!reference.assemble) GTEST_SKIP() << "d3dx9_36.dll with D3DXAssembleShader is not available";
  int compared = 0;
  for (const auto& golden : test::goldenShadersInEveryVersion()) {
    if (referenceGaps.count(golden.name)) continue;
    SCOPED_TRACE(golden.name);
    std::string error;
    std::vector<std::uint32_t> theirs = reference.run(golden.source, error);
    ASSERT_FALSE(theirs.empty()) << "reference refused: " << error;
    AssembleResult ours = assembleShader(golden.source);
    EXPECT_EQ(hexList(withScalarOutputMasksWidened(ours.tokens)), hexList(withScalarOutputMasksWidened(theirs)))
        << golden.source;
    ++compared;
  }
  EXPECT_GT(compared, 30);
}

TEST(ShaderAssemblerDifferential, SourcesBothRefuse) {
  ReferenceAssembler reference;
  if (!reference.assemble) GTEST_SKIP() << "d3dx9_36.dll with D3DXAssembleShader is not available";
  const char* sources[] = {
      "vs.1.1\nfoo r0, v0\n",
      "vs.1.1\nmov r0\n",
      "vs.1.1\nmov r0, q7\n",
      "ps.1.1\ntexld r0, t0\n",
      "vs.1.1\nmov r0.yx, v0\n",
  };
  for (const char* source : sources) {
    SCOPED_TRACE(source);
    std::string error;
    EXPECT_TRUE(reference.run(source, error).empty());
    EXPECT_FALSE(assembleShader(source).succeeded());
  }
}

}  // namespace
}  // namespace veltrace::shader
