#include "render/preview/predefined_constants.h"

#include <cmath>
#include <iterator>

namespace veltrace::render {

namespace {

constexpr PredefinedConstantInfo table[] = {
    {"light_pos_world", VariableKind::vector, PredefinedConstant::lightPosWorld},
    {"eye_pos_world", VariableKind::vector, PredefinedConstant::eyePosWorld},
    {"time", VariableKind::vector, PredefinedConstant::time},
    {"transform", VariableKind::matrix, PredefinedConstant::transform},
    {"transform_inv", VariableKind::matrix, PredefinedConstant::transformInv},
    {"world", VariableKind::matrix, PredefinedConstant::world},
    {"world_inv", VariableKind::matrix, PredefinedConstant::worldInv},
    {"world_view", VariableKind::matrix, PredefinedConstant::worldView},
    {"world_view_inv", VariableKind::matrix, PredefinedConstant::worldViewInv},
    {"view", VariableKind::matrix, PredefinedConstant::view},
    {"view_inv", VariableKind::matrix, PredefinedConstant::viewInv},
    {"view_proj", VariableKind::matrix, PredefinedConstant::viewProj},
    {"view_proj_inv", VariableKind::matrix, PredefinedConstant::viewProjInv},
    {"proj", VariableKind::matrix, PredefinedConstant::proj},
    {"proj_inv", VariableKind::matrix, PredefinedConstant::projInv},
    {"mat_amb", VariableKind::color, PredefinedConstant::matAmb},
    {"mat_diff", VariableKind::color, PredefinedConstant::matDiff},
    {"mat_spec", VariableKind::color, PredefinedConstant::matSpec},
    {"mat_emis", VariableKind::color, PredefinedConstant::matEmis},
    {"light_amb", VariableKind::color, PredefinedConstant::lightAmb},
    {"light_diff", VariableKind::color, PredefinedConstant::lightDiff},
    {"light_spec", VariableKind::color, PredefinedConstant::lightSpec},
};

ConstantValue single(Vector4 value) {
  ConstantValue result;
  result.registerCount = 1;
  result.rows[0] = value;
  return result;
}

ConstantValue single(ColourValue colour) { return single(Vector4{colour.r, colour.g, colour.b, colour.a}); }

ConstantValue rowsOf(const Matrix4& matrix) {
  ConstantValue result;
  result.registerCount = 4;
  for (int row = 0; row < 4; ++row)
    result.rows[row] = {matrix.m[row][0], matrix.m[row][1], matrix.m[row][2], matrix.m[row][3]};
  return result;
}

ConstantValue transposed(const Matrix4& matrix) { return rowsOf(transpose(matrix)); }

ConstantValue inverted(const Matrix4& matrix) { return rowsOf(inverse(matrix).value_or(identityMatrix())); }

ColourValue materialOrWhite(const MaterialColours& material, ColourValue colour) {
  return material.baseTextureBound ? ColourValue{1, 1, 1, 1} : colour;
}

}  // namespace

const PredefinedConstantInfo* predefinedConstantTable(std::size_t& count) {
  count = std::size(table);
  return table;
}

std::optional<PredefinedConstant> findPredefinedConstant(std::string_view name, VariableKind kind) {
  for (const auto& entry : table)
    if (entry.kind == kind && entry.name == name) return entry.constant;
  return std::nullopt;
}

ConstantFrame constantFrameFrom(const PreviewState& state, float applicationTime) {
  ConstantFrame frame;
  frame.world = state.world;
  frame.view = state.view;
  frame.projection = state.projection;
  frame.eye = state.eye;
  frame.lightPosition = state.light.position;
  frame.lightAmbient = state.light.ambient;
  frame.lightDiffuse = state.light.diffuse;
  frame.lightSpecular = state.light.specular;
  frame.time = applicationTime;
  return frame;
}

ConstantValue predefinedValue(PredefinedConstant constant, const ConstantFrame& frame,
                              const MaterialColours& material) {
  const Matrix4& w = frame.world;
  const Matrix4& v = frame.view;
  const Matrix4& p = frame.projection;
  switch (constant) {
    case PredefinedConstant::lightPosWorld:
      return single(Vector4{frame.lightPosition.x, frame.lightPosition.y, frame.lightPosition.z, 1});
    case PredefinedConstant::eyePosWorld:
      return single(Vector4{frame.eye.x, frame.eye.y, frame.eye.z, 1});
    case PredefinedConstant::time:
      return single(Vector4{frame.time, std::sin(frame.time), std::cos(frame.time), 1});

    case PredefinedConstant::transform: return transposed(multiply(multiply(w, v), p));
    case PredefinedConstant::transformInv: return inverted(multiply(multiply(w, v), p));
    case PredefinedConstant::world: return transposed(w);
    case PredefinedConstant::worldInv: return inverted(w);
    case PredefinedConstant::worldView: return transposed(multiply(w, v));
    case PredefinedConstant::worldViewInv: return inverted(multiply(w, v));
    case PredefinedConstant::view: return transposed(v);
    case PredefinedConstant::viewInv: return inverted(v);
    case PredefinedConstant::viewProj: return transposed(multiply(v, p));
    case PredefinedConstant::viewProjInv: return inverted(multiply(v, p));
    case PredefinedConstant::proj: return transposed(p);
    case PredefinedConstant::projInv: return inverted(p);

    case PredefinedConstant::matAmb: return single(materialOrWhite(material, material.ambient));
    case PredefinedConstant::matDiff: return single(materialOrWhite(material, material.diffuse));
    case PredefinedConstant::matSpec: return single(materialOrWhite(material, material.specular));
    case PredefinedConstant::matEmis: return single(materialOrWhite(material, material.emissive));
    case PredefinedConstant::lightAmb: return single(frame.lightAmbient);
    case PredefinedConstant::lightDiff: return single(frame.lightDiffuse);
    case PredefinedConstant::lightSpec: return single(frame.lightSpecular);
  }
  return single(Vector4{});
}

}  // namespace veltrace::render
