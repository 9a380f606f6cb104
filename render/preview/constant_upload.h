#pragma once
// Which constant registers an effect's variables fill for one subset, and with
// what: the device-free half of the constant upload. The Windows half
// (constant_upload_d3d.h) only hands the result to the device.

#include <array>
#include <vector>

#include "effect/effect.h"
#include "render/preview/predefined_constants.h"

namespace veltrace::render {

enum class ShaderStage { vertex, pixel };

struct ConstantUpload {
  ShaderStage stage = ShaderStage::vertex;
  int startRegister = 0;
  int registerCount = 1;               // 1, or 4 for a matrix
  std::array<float, 16> values{};      // registerCount × 4 floats, register after register
};

// Whether the subset's material base texture is bound, which turns the
// material colours white: the material names a base texture and the effect
// puts it on a stage.
bool baseTextureBound(bool materialHasBaseTexture, std::int32_t effectBaseStage);

// The uploads in order: the vectors, then the matrices, then the colours, each
// list in its order, and for each variable its vertex register before its
// pixel register. Variables bound to neither are skipped. A predefined
// variable whose name is not a predefined constant of its kind loads its
// stored value, as a variable that is not predefined does (matrices as
// stored, row after row).
std::vector<ConstantUpload> constantUploads(const Effect& effect, const ConstantFrame& frame,
                                            const MaterialColours& material);

}  // namespace veltrace::render
