// Which registers an effect's variables fill: order, both register files,
// matrices over four registers, stored values as stored, and the skipped ones.

#include "render/preview/constant_upload.h"

#include <cmath>

#include <gtest/gtest.h>

namespace veltrace::render {
namespace {

EffectVariable variable(VariableKind kind, int vs, int ps, const char* predefinedName = nullptr) {
  EffectVariable v;
  v.kind = kind;
  v.vsRegister = vs;
  v.psRegister = ps;
  if (predefinedName) {
    v.predefined = true;
    v.predefinedName = predefinedName;
  }
  for (int i = 0; i < 16; ++i) v.value[i] = static_cast<float>(i + 1);
  return v;
}

class Uploads : public ::testing::Test {
 protected:
  Uploads() {
    frame.world = rotationY(0.5f);
    frame.view = lookAtLH({1, 2, -30}, {0, 0, 0}, {0, 1, 0});
    frame.projection = perspectiveFovLH(0.8f, 1.5f, 1, 100);
    frame.time = 2.0f;
    material.diffuse = {0.25f, 0.5f, 0.75f, 1};
  }
  ConstantFrame frame;
  MaterialColours material;
  Effect effect;
};

TEST_F(Uploads, TransformFillsFourRegistersInBothFiles) {
  effect.matrices.push_back(variable(VariableKind::matrix, 4, 2, "transform"));
  auto uploads = constantUploads(effect, frame, material);
  ASSERT_EQ(uploads.size(), 2u);
  EXPECT_EQ(uploads[0].stage, ShaderStage::vertex);
  EXPECT_EQ(uploads[0].startRegister, 4);
  EXPECT_EQ(uploads[0].registerCount, 4);
  EXPECT_EQ(uploads[1].stage, ShaderStage::pixel);
  EXPECT_EQ(uploads[1].startRegister, 2);
  EXPECT_EQ(uploads[0].values, uploads[1].values);

  Matrix4 expected = transpose(multiply(multiply(frame.world, frame.view), frame.projection));
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(uploads[0].values[i], expected.m[i / 4][i % 4]) << i;
}

TEST_F(Uploads, ListsGoVectorsMatricesColoursAndSkipUnbound) {
  effect.colors.push_back(variable(VariableKind::color, 9, -1));
  effect.matrices.push_back(variable(VariableKind::matrix, 5, -1));
  effect.vectors.push_back(variable(VariableKind::vector, -1, -1));
  effect.vectors.push_back(variable(VariableKind::vector, -1, 3, "time"));
  auto uploads = constantUploads(effect, frame, material);
  ASSERT_EQ(uploads.size(), 3u);
  EXPECT_EQ(uploads[0].stage, ShaderStage::pixel);
  EXPECT_EQ(uploads[0].startRegister, 3);
  EXPECT_EQ(uploads[0].registerCount, 1);
  EXPECT_FLOAT_EQ(uploads[0].values[0], 2.0f);
  EXPECT_FLOAT_EQ(uploads[0].values[1], std::sin(2.0f));
  EXPECT_EQ(uploads[1].startRegister, 5);
  EXPECT_EQ(uploads[2].startRegister, 9);
}

TEST_F(Uploads, StoredValuesLoadAsStored) {
  effect.vectors.push_back(variable(VariableKind::vector, 0, -1));
  effect.matrices.push_back(variable(VariableKind::matrix, 1, -1));
  auto uploads = constantUploads(effect, frame, material);
  ASSERT_EQ(uploads.size(), 2u);
  EXPECT_EQ(uploads[0].registerCount, 1);
  EXPECT_EQ(uploads[0].values[3], 4.0f);
  EXPECT_EQ(uploads[0].values[4], 0.0f) << "a vector fills one register only";
  for (int i = 0; i < 16; ++i) EXPECT_EQ(uploads[1].values[i], static_cast<float>(i + 1)) << "not transposed";
}

TEST_F(Uploads, UnknownPredefinedNameLoadsTheStoredValue) {
  effect.matrices.push_back(variable(VariableKind::matrix, 0, -1, "light_pos_world"));
  effect.colors.push_back(variable(VariableKind::color, 4, -1, "no_such_constant"));
  auto uploads = constantUploads(effect, frame, material);
  ASSERT_EQ(uploads.size(), 2u);
  EXPECT_EQ(uploads[0].registerCount, 4);
  EXPECT_EQ(uploads[0].values[15], 16.0f);
  EXPECT_EQ(uploads[1].values[0], 1.0f);
}

TEST_F(Uploads, BaseTextureRuleNeedsBothNameAndStage) {
  EXPECT_TRUE(baseTextureBound(true, 0));
  EXPECT_FALSE(baseTextureBound(true, -1));
  EXPECT_FALSE(baseTextureBound(false, 2));

  effect.colors.push_back(variable(VariableKind::color, 0, -1, "mat_diff"));
  EXPECT_EQ(constantUploads(effect, frame, material)[0].values[0], 0.25f);
  material.baseTextureBound = baseTextureBound(true, 1);
  auto uploads = constantUploads(effect, frame, material);
  EXPECT_EQ(uploads[0].values[0], 1.0f);
  EXPECT_EQ(uploads[0].values[3], 1.0f);
}

}  // namespace
}  // namespace veltrace::render
