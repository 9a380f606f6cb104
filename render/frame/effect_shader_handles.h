#pragma once
// Which device shader each effect's vertex and pixel shader slot holds. The
// handles are the device's, so they live beside the shader cache in the
// renderer, not in the effect: a new device, a cleared workspace or a
// forgotten effect drops them here without touching the effects.
//
// Effects are compared by address, never followed: an effect may be gone.

#include <cstdint>
#include <map>
#include <utility>

#include "effect/effect.h"
#include "render/shader/shader_tokens.h"

namespace veltrace::render {

using shader::ShaderKind;

class EffectShaderHandles {
 public:
  // The device shader the effect's slot holds; 0 when none.
  std::uint32_t handle(const Effect& effect, ShaderKind kind) const;
  // Records the slot's shader; 0 forgets it.
  void setHandle(const Effect& effect, ShaderKind kind, std::uint32_t handle);
  // Forgets both slots of the effect.
  void forget(const Effect& effect);
  // Forgets every effect's shaders, when the device shaders are all deleted.
  void clear() { handles_.clear(); }

 private:
  std::map<std::pair<const Effect*, ShaderKind>, std::uint32_t> handles_;
};

}  // namespace veltrace::render
