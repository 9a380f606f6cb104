#pragma once
// The program-wide device shaders, keyed by shader slot name with use counts:
// effects whose slots share a name share one device shader. Creation
// assembles the slot's source with our assembler and hands the tokens to the
// device; every outcome is reported as message-log lines.
//
// The cache is portable: a ShaderDevice does the device calls (Direct3D 8 on
// Windows, a fake in the tests).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/message_log.h"
#include "render/device/device_rules.h"
#include "render/shader/shader_preprocessor.h"

namespace veltrace::render {

// Usage flag asking for a vertex shader run by software vertex processing
// (D3DUSAGE_SOFTWAREPROCESSING). It doubles as the assembler flag that skips
// validation, as the platform's assembler reads it.
inline constexpr std::uint32_t usageSoftwareProcessing = 0x10;

// Result code reported when the assembler refuses a source (E_FAIL).
inline constexpr std::int32_t assemblyFailedCode = static_cast<std::int32_t>(0x80004005u);

inline bool failedCode(std::int32_t code) { return code < 0; }

class ShaderDevice {
 public:
  virtual ~ShaderDevice() = default;
  // Result codes are the device's HRESULT values: negative means failure.
  virtual std::int32_t createVertexShader(const std::uint32_t* declaration, const std::vector<std::uint32_t>& code,
                                          std::uint32_t usage, std::uint32_t& handle) = 0;
  virtual std::int32_t createPixelShader(const std::vector<std::uint32_t>& code, std::uint32_t& handle) = 0;
  virtual void deleteVertexShader(std::uint32_t handle) = 0;
  virtual void deletePixelShader(std::uint32_t handle) = 0;
  // The result code's name and description for messages.
  virtual std::string errorName(std::int32_t code) const = 0;
  virtual std::string errorDescription(std::int32_t code) const = 0;
};

class ShaderCache {
 public:
  struct Entry {
    std::string slotName;
    std::uint32_t handle = 0;
    std::int32_t useCount = 0;
  };

  ShaderCache(ShaderDevice& device, MessageLog& log) : device_(device), log_(log) {}
  ~ShaderCache() { releaseAll(); }
  ShaderCache(const ShaderCache&) = delete;
  ShaderCache& operator=(const ShaderCache&) = delete;

  void setSupport(const ShaderSupport& support) { support_ = support; }

  // Where the shader panes look for source files: the program folder's
  // shader folder, ending in a backslash.
  void setShaderFolders(const std::string& programFolder);
  const std::string& vertexShaderFolder() const { return vertexShaderFolder_; }
  const std::string& pixelShaderFolder() const { return pixelShaderFolder_; }
  const ShaderSupport& support() const { return support_; }

  // What reads the files #include lines name; the disk unless a test
  // gives its own (null refuses every #include).
  void setIncludeReader(const shader::IncludeFileReader* reader) { includeReader_ = reader; }

  // The handle of the shader made for this slot name, created on first use;
  // 0 when it cannot be created (the reasons are logged). sourcePath is the
  // file the source came from: its #include lines look in its folder first,
  // then in the shader folder.
  std::uint32_t acquireVertexShader(std::string_view slotName, std::string_view source,
                                    const std::uint32_t* declaration, std::uint32_t usage,
                                    std::string_view sourcePath = {});
  std::uint32_t acquirePixelShader(std::string_view slotName, std::string_view source,
                                   std::string_view sourcePath = {});

  // Drops one use of the shader with this handle (vertex shaders searched
  // first); the device shader goes with its last use. False when no entry
  // has the handle (0 is never one).
  bool release(std::uint32_t handle);

  // Deletes every device shader. The slots of effects still holding handles
  // are not touched: their owners must forget them.
  void releaseAll();

  // Bytes of shader code assembled for creation so far; only ever grows.
  std::int32_t codeBytes() const { return codeBytes_; }
  const std::vector<Entry>& vertexShaders() const { return vertexShaders_; }
  const std::vector<Entry>& pixelShaders() const { return pixelShaders_; }

 private:
  bool createVertexShader(std::string_view slotName, std::string_view source, std::string_view sourcePath,
                          const std::uint32_t* declaration, std::uint32_t usage, std::uint32_t& handle);
  bool createPixelShader(std::string_view slotName, std::string_view source, std::string_view sourcePath,
                         std::uint32_t& handle);
  void countCode(const std::vector<std::uint32_t>& tokens);

  ShaderDevice& device_;
  MessageLog& log_;
  ShaderSupport support_;
  std::vector<Entry> vertexShaders_;
  std::vector<Entry> pixelShaders_;
  std::int32_t codeBytes_ = 0;
  std::string vertexShaderFolder_;
  std::string pixelShaderFolder_;
  shader::DiskIncludeReader diskFiles_;
  const shader::IncludeFileReader* includeReader_ = &diskFiles_;
};

}  // namespace veltrace::render
