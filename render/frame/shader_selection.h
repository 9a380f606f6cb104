#pragma once
// Choosing the device shaders for a subset's effect: when the effect's
// shaders changed, the old device shaders are released and new ones acquired
// from the cache, once; then the slots' shaders are set on the device. The
// effect's shadersChanged flag is the hand-over from the panes, and this is
// where it is cleared.

#include <cstdint>

#include "app/message_log.h"
#include "effect/effect.h"
#include "render/frame/effect_shader_handles.h"
#include "render/frame/shader_cache.h"

namespace veltrace::render {

// The two device calls the selection makes.
class ShaderBinder {
 public:
  virtual ~ShaderBinder() = default;
  virtual std::int32_t setVertexShader(std::uint32_t handle) = 0;
  virtual std::int32_t setPixelShader(std::uint32_t handle) = 0;
};

// Returns the first failing device result (0 when all went well). A slot
// whose shader cannot be created holds no handle and leaves the device's
// shader as it was; its messages are written once per change.
std::int32_t selectShaders(Effect& effect, EffectShaderHandles& handles, ShaderCache& cache, ShaderBinder& binder,
                           MessageLog& log);

// Releases the effect's device shaders from the cache and forgets its
// handles, e.g. before the effect is deleted; the next frame builds them
// again.
void releaseEffectShaders(Effect& effect, EffectShaderHandles& handles, ShaderCache& cache);

}  // namespace veltrace::render
