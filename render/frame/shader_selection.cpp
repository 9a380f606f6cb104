#include "render/frame/shader_selection.h"

namespace veltrace::render {

namespace {

bool wantsBuild(const ShaderSlot& slot, bool shadersChanged) {
  return slot.handle == 0 && !slot.source.empty() && slot.buildState && shadersChanged;
}

}  // namespace

std::int32_t selectShaders(Effect& effect, ShaderCache& cache, ShaderBinder& binder, MessageLog& log) {
  const ShaderSupport& support = cache.support();
  if (effect.shadersChanged) {
    if (cache.release(effect.vertexShader.handle)) effect.vertexShader.handle = 0;
    if (cache.release(effect.pixelShader.handle)) effect.pixelShader.handle = 0;
  }

  ShaderSlot& vertex = effect.vertexShader;
  if (vertex.present) {
    if (wantsBuild(vertex, effect.shadersChanged)) {
      std::uint32_t usage = support.hardwareVertexShaders ? 0 : usageSoftwareProcessing;
      vertex.handle =
          cache.acquireVertexShader(vertex.name, vertex.source, effect.streamMapping.declaration.data(), usage);
    }
    if (vertex.handle != 0) {
      std::int32_t result = binder.setVertexShader(vertex.handle);
      if (failedCode(result)) {
        effect.shadersChanged = false;
        return result;
      }
    }
  } else {
    std::int32_t result = binder.setVertexShader(0);
    if (failedCode(result)) {
      effect.shadersChanged = false;
      return result;
    }
  }

  ShaderSlot& pixel = effect.pixelShader;
  std::int32_t result = 0;
  if (pixel.present) {
    if (wantsBuild(pixel, effect.shadersChanged)) {
      if (support.pixelShaderVersion < 1.0f)
        log.append("No hardware support for Pixel Shader 1.0 or higher !");
      else
        pixel.handle = cache.acquirePixelShader(pixel.name, pixel.source);
    }
    if (pixel.handle != 0) result = binder.setPixelShader(pixel.handle);
  } else {
    result = binder.setPixelShader(0);
  }
  // Cleared even when a set failed: the failure is the device's, and trying
  // to create the shaders again every frame would repeat their messages.
  effect.shadersChanged = false;
  return failedCode(result) ? result : 0;
}

void releaseEffectShaders(Effect& effect, ShaderCache& cache) {
  if (cache.release(effect.vertexShader.handle)) effect.vertexShader.handle = 0;
  if (cache.release(effect.pixelShader.handle)) effect.pixelShader.handle = 0;
  effect.shadersChanged = true;
}

}  // namespace veltrace::render
