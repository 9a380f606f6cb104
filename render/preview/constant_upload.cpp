#include "render/preview/constant_upload.h"

namespace veltrace::render {

namespace {

ConstantValue storedValue(const EffectVariable& variable) {
  ConstantValue value;
  value.registerCount = variable.kind == VariableKind::matrix ? 4 : 1;
  for (int row = 0; row < value.registerCount; ++row) {
    const float* from = &variable.value[static_cast<std::size_t>(row) * 4];
    value.rows[row] = {from[0], from[1], from[2], from[3]};
  }
  return value;
}

ConstantValue variableValue(const EffectVariable& variable, const ConstantFrame& frame,
                            const MaterialColours& material) {
  if (variable.predefined)
    if (auto constant = findPredefinedConstant(variable.predefinedName, variable.kind))
      return predefinedValue(*constant, frame, material);
  return storedValue(variable);
}

ConstantUpload uploadOf(ShaderStage stage, int startRegister, const ConstantValue& value) {
  ConstantUpload upload;
  upload.stage = stage;
  upload.startRegister = startRegister;
  upload.registerCount = value.registerCount;
  for (int row = 0; row < value.registerCount; ++row) {
    const Vector4& v = value.rows[row];
    std::size_t at = static_cast<std::size_t>(row) * 4;
    upload.values[at] = v.x;
    upload.values[at + 1] = v.y;
    upload.values[at + 2] = v.z;
    upload.values[at + 3] = v.w;
  }
  return upload;
}

}  // namespace

bool baseTextureBound(bool materialHasBaseTexture, std::int32_t effectBaseStage) {
  return materialHasBaseTexture && effectBaseStage >= 0;
}

std::vector<ConstantUpload> constantUploads(const Effect& effect, const ConstantFrame& frame,
                                            const MaterialColours& material) {
  std::vector<ConstantUpload> uploads;
  for (const auto* list : {&effect.vectors, &effect.matrices, &effect.colors}) {
    for (const EffectVariable& variable : *list) {
      if (variable.vsRegister < 0 && variable.psRegister < 0) continue;
      ConstantValue value = variableValue(variable, frame, material);
      if (variable.vsRegister >= 0) uploads.push_back(uploadOf(ShaderStage::vertex, variable.vsRegister, value));
      if (variable.psRegister >= 0) uploads.push_back(uploadOf(ShaderStage::pixel, variable.psRegister, value));
    }
  }
  return uploads;
}

}  // namespace veltrace::render
