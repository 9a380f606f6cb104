#include "render/frame/shader_selection.h"

#include "effect/effect_files.h"

namespace veltrace::render {

namespace {

bool wantsBuild(const ShaderSlot& slot, std::uint32_t handle, bool shadersChanged) {
  return handle == 0 && !slot.source.empty() && slot.buildState && shadersChanged;
}

// Gives the slot's shader back to the cache; the handle is forgotten only
// when the cache knew it, as a handle it does not know is none of its own.
void releaseSlot(const Effect& effect, ShaderKind kind, EffectShaderHandles& handles, ShaderCache& cache) {
  if (cache.release(handles.handle(effect, kind))) handles.setHandle(effect, kind, 0);
}

}  // namespace

std::int32_t selectShaders(Effect& effect, EffectShaderHandles& handles, ShaderCache& cache, ShaderBinder& binder,
                           MessageLog& log) {
  const ShaderSupport& support = cache.support();
  if (effect.shadersChanged) {
    releaseSlot(effect, ShaderKind::vertex, handles, cache);
    releaseSlot(effect, ShaderKind::pixel, handles, cache);
  }

  const ShaderSlot& vertex = effect.vertexShader;
  if (vertex.present) {
    if (wantsBuild(vertex, handles.handle(effect, ShaderKind::vertex), effect.shadersChanged)) {
      std::uint32_t usage = support.hardwareVertexShaders ? 0 : usageSoftwareProcessing;
      handles.setHandle(effect, ShaderKind::vertex,
                        cache.acquireVertexShader(vertex.name, vertex.source,
                                                  effect.streamMapping.declaration.data(), usage,
                                                  shaderSourcePath(effect, true)));
    }
    if (std::uint32_t handle = handles.handle(effect, ShaderKind::vertex); handle != 0) {
      std::int32_t result = binder.setVertexShader(handle);
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

  const ShaderSlot& pixel = effect.pixelShader;
  std::int32_t result = 0;
  if (pixel.present) {
    if (wantsBuild(pixel, handles.handle(effect, ShaderKind::pixel), effect.shadersChanged)) {
      if (support.pixelShaderVersion < 1.0f)
        log.append("No hardware support for Pixel Shader 1.0 or higher !");
      else
        handles.setHandle(effect, ShaderKind::pixel, cache.acquirePixelShader(pixel.name, pixel.source, shaderSourcePath(effect, false)));
    }
    if (std::uint32_t handle = handles.handle(effect, ShaderKind::pixel); handle != 0)
      result = binder.setPixelShader(handle);
  } else {
    result = binder.setPixelShader(0);
  }
  // Cleared even when a set failed: the failure is the device's, and trying
  // to create the shaders again every frame would repeat their messages.
  effect.shadersChanged = false;
  return failedCode(result) ? result : 0;
}

void releaseEffectShaders(Effect& effect, EffectShaderHandles& handles, ShaderCache& cache) {
  releaseSlot(effect, ShaderKind::vertex, handles, cache);
  releaseSlot(effect, ShaderKind::pixel, handles, cache);
  effect.shadersChanged = true;
}

}  // namespace veltrace::render
