#include "render/frame/shader_cache.h"

#include <algorithm>
#include <limits>

#include "base/text.h"
#include "render/shader/shader_assembler.h"

namespace veltrace::render {

namespace {

ShaderCache::Entry* findByName(std::vector<ShaderCache::Entry>& entries, std::string_view name) {
  for (auto& entry : entries)
    if (entry.slotName == name) return &entry;
  return nullptr;
}

// Drops one use of the entry with the handle; true when there was one.
template <typename Delete>
bool releaseFrom(std::vector<ShaderCache::Entry>& entries, std::uint32_t handle, Delete deleteShader) {
  auto at = std::find_if(entries.begin(), entries.end(), [&](const auto& entry) { return entry.handle == handle; });
  if (at == entries.end()) return false;
  if (--at->useCount <= 0) {
    deleteShader(at->handle);
    entries.erase(at);
  }
  return true;
}

}  // namespace

void ShaderCache::setShaderFolders(const std::string& programFolder) {
  vertexShaderFolder_ = programFolder + "\\shader\\";
  pixelShaderFolder_ = vertexShaderFolder_;
}

std::uint32_t ShaderCache::acquireVertexShader(std::string_view slotName, std::string_view source,
                                               const std::uint32_t* declaration, std::uint32_t usage,
                                               std::string_view sourcePath) {
  if (Entry* entry = findByName(vertexShaders_, slotName)) {
    ++entry->useCount;
    return entry->handle;
  }
  std::uint32_t handle = 0;
  if (!createVertexShader(slotName, source, sourcePath, declaration, usage, handle)) return 0;
  vertexShaders_.push_back({std::string(slotName), handle, 1});
  return handle;
}

std::uint32_t ShaderCache::acquirePixelShader(std::string_view slotName, std::string_view source,
                                              std::string_view sourcePath) {
  if (Entry* entry = findByName(pixelShaders_, slotName)) {
    ++entry->useCount;
    return entry->handle;
  }
  std::uint32_t handle = 0;
  if (!createPixelShader(slotName, source, sourcePath, handle)) return 0;
  pixelShaders_.push_back({std::string(slotName), handle, 1});
  return handle;
}

bool ShaderCache::release(std::uint32_t handle) {
  if (handle == 0) return false;
  if (releaseFrom(vertexShaders_, handle, [&](std::uint32_t h) { device_.deleteVertexShader(h); })) return true;
  return releaseFrom(pixelShaders_, handle, [&](std::uint32_t h) { device_.deletePixelShader(h); });
}

void ShaderCache::releaseAll() {
  for (const auto& entry : vertexShaders_) device_.deleteVertexShader(entry.handle);
  for (const auto& entry : pixelShaders_) device_.deletePixelShader(entry.handle);
  vertexShaders_.clear();
  pixelShaders_.clear();
}

void ShaderCache::countCode(const std::vector<std::uint32_t>& tokens) {
  // The counter is a display figure; hold it at its limit rather than wrap.
  auto bytes = static_cast<std::int64_t>(tokens.size() * sizeof(std::uint32_t));
  codeBytes_ = static_cast<std::int32_t>(
      std::min<std::int64_t>(codeBytes_ + bytes, std::numeric_limits<std::int32_t>::max()));
}

bool ShaderCache::createVertexShader(std::string_view slotName, std::string_view source, std::string_view sourcePath,
                                     const std::uint32_t* declaration, std::uint32_t usage, std::uint32_t& handle) {
  (void)slotName;
  // The usage value is also the assembler flag: software processing skips
  // the validation, as the platform's assembler does with that value.
  shader::AssembleResult assembled = shader::assembleShader(
      source, usage, shader::effectShaderOptions(sourcePath, vertexShaderFolder_, includeReader_));
  if (!assembled.succeeded()) {
    log_.append("Failed to load Vertex Shader !");
    log_.append(formatText("%s (%s)", device_.errorName(assemblyFailedCode).c_str(),
                           device_.errorDescription(assemblyFailedCode).c_str()));
    return false;
  }
  countCode(assembled.tokens);
  // Without hardware vertex shaders the renderer asks for software
  // processing, which runs any vertex shader; only a request for a hardware
  // shader is refused here.
  if (!support_.hardwareVertexShaders && (usage & usageSoftwareProcessing) == 0) {
    log_.append("No Vertex Shader hardware support present !");
    return false;
  }
  std::int32_t result = device_.createVertexShader(declaration, assembled.tokens, usage, handle);
  if (failedCode(result)) {
    handle = 0;
    if ((usage & usageSoftwareProcessing) == 0) {
      log_.append(formatText("Failed to create Vertex Shader - %s !", device_.errorDescription(result).c_str()));
      log_.append(
          "Maybe stream mapping doesn't match shader input registers or hardware does not support shader "
          "version... ");
    } else {
      log_.append("Failed to create Vertex Shader with software vertex processing !");
    }
    return false;
  }
  return true;
}

bool ShaderCache::createPixelShader(std::string_view slotName, std::string_view source, std::string_view sourcePath,
                                    std::uint32_t& handle) {
  std::string name(slotName);
  if (support_.pixelShaderVersion < 1.0f) {
    log_.append("No Pixel Shader hardware support present !");
    return false;
  }
  shader::AssembleResult assembled =
      shader::assembleShader(source, 0, shader::effectShaderOptions(sourcePath, pixelShaderFolder_, includeReader_));
  if (!assembled.succeeded()) {
    log_.append(formatText("Failed to load Pixel Shader \"%s\"!", name.c_str()));
    log_.append(formatText("DirectX Error : %s - %s", device_.errorName(assemblyFailedCode).c_str(),
                           device_.errorDescription(assemblyFailedCode).c_str()));
    return false;
  }
  countCode(assembled.tokens);
  std::int32_t result = device_.createPixelShader(assembled.tokens, handle);
  if (failedCode(result)) {
    handle = 0;
    log_.append(formatText("Failed to create Pixel Shader \"%s\"!", name.c_str()));
    return false;
  }
  return true;
}

}  // namespace veltrace::render
