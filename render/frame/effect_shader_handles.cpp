#include "render/frame/effect_shader_handles.h"

namespace veltrace::render {

std::uint32_t EffectShaderHandles::handle(const Effect& effect, ShaderKind kind) const {
  auto found = handles_.find({&effect, kind});
  return found == handles_.end() ? 0 : found->second;
}

void EffectShaderHandles::setHandle(const Effect& effect, ShaderKind kind, std::uint32_t handle) {
  if (handle == 0)
    handles_.erase({&effect, kind});
  else
    handles_[{&effect, kind}] = handle;
}

void EffectShaderHandles::forget(const Effect& effect) {
  handles_.erase({&effect, ShaderKind::vertex});
  handles_.erase({&effect, ShaderKind::pixel});
}

}  // namespace veltrace::render
