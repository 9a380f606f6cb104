#include "scene/material_reader.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace veltrace {

namespace {

void readColour(SceneScanner& scanner, Colour& colour) {
  // The file gives red, green and blue; alpha keeps its value.
  colour.r = scanner.real();
  colour.g = scanner.real();
  colour.b = scanner.real();
}

void readTokenInto(SceneScanner& scanner, std::string& target) {
  if (auto text = scanner.token()) target.assign(*text);
}

// Map blocks whose bitmap has no place in the material: read (so that their
// braces and bitmaps are taken out of the way) without setting a pending mark.
bool isUnusedMapKeyword(std::string_view token) {
  static constexpr std::string_view unused[] = {"*MAP_AMBIENT", "*MAP_SPECULAR",    "*MAP_SHINE",  "*MAP_SHINESTRENGTH",
                                                "*MAP_FILTERCOLOR", "*MAP_REFLECT", "*MAP_REFRACT"};
  return std::find(std::begin(unused), std::end(unused), token) != std::end(unused);
}

void readNested(SceneScanner& scanner, SceneMaterial& material, MaterialScan& scan, int depth) {
  if (depth + 1 <= MaterialScan::maxDepth) readMaterialBlock(scanner, material, scan, depth + 1);
}

void readSubMaterial(SceneScanner& scanner, SceneMaterial& material, MaterialScan& scan, int depth) {
  std::int32_t index = scanner.integer();
  scanner.find("{");
  if (index >= 0 && index < material.subMaterialCount()) {
    readNested(scanner, material.subMaterials[static_cast<size_t>(index)], scan, depth);
  } else {
    // No such sub-material: its block is still read, into a record that is
    // thrown away, so that its closing brace does not end the block around it.
    SceneMaterial discarded;
    readNested(scanner, discarded, scan, depth);
  }
}

void createSubMaterials(SceneScanner& scanner, SceneMaterial& material, MaterialScan& scan) {
  std::int32_t count = scanner.integer();
  if (material.subMaterialsCreated) return;
  material.subMaterialsCreated = true;
  count = std::clamp(count, 0, scan.recordsLeft);
  scan.recordsLeft -= count;
  material.subMaterials.assign(static_cast<size_t>(count), SceneMaterial{});
}

void takeBitmap(SceneScanner& scanner, SceneMaterial& material, MaterialScan& scan) {
  auto path = scanner.token();
  if (!path) return;
  if (scan.bumpPending) {
    material.bumpTexture.assign(*path);
    scan.bumpPending = false;
  } else if (scan.alphaPending) {
    material.alphaTexture.assign(*path);
    scan.alphaPending = false;
  } else if (scan.basePending) {
    material.baseTexture.assign(*path);
    scan.basePending = false;
  }
}

}  // namespace

void readMaterialBlock(SceneScanner& scanner, SceneMaterial& material, MaterialScan& scan, int depth) {
  while (auto token = scanner.token()) {
    std::string_view word = *token;
    if (word == "}") return;
    if (word == "*SUBMATERIAL") {
      readSubMaterial(scanner, material, scan, depth);
    } else if (word == "*MATERIAL_NAME") {
      readTokenInto(scanner, material.name);
    } else if (word == "*MATERIAL_CLASS") {
      readTokenInto(scanner, material.className);
    } else if (word == "*MATERIAL_AMBIENT") {
      readColour(scanner, material.ambient);
    } else if (word == "*MATERIAL_DIFFUSE") {
      readColour(scanner, material.diffuse);
    } else if (word == "*MATERIAL_SPECULAR") {
      readColour(scanner, material.specular);
    } else if (word == "*MATERIAL_SHINE") {
      material.shine = scanner.real();
    } else if (word == "*MATERIAL_SHINESTRENGTH") {
      material.shineStrength = scanner.real();
    } else if (word == "*MATERIAL_TRANSPARENCY") {
      material.transparency = scanner.real();
    } else if (word == "*MATERIAL_SELFILLUM") {
      material.selfIllumination = scanner.real();
    } else if (word == "*NUMSUBMTLS") {
      createSubMaterials(scanner, material, scan);
    } else if (word == "*MAP_DIFFUSE") {
      scan.basePending = true;
      readNested(scanner, material, scan, depth);
    } else if (word == "*MAP_BUMP") {
      scan.bumpPending = true;
      readNested(scanner, material, scan, depth);
    } else if (word == "*MAP_OPACITY") {
      scan.alphaPending = true;
      readNested(scanner, material, scan, depth);
    } else if (isUnusedMapKeyword(word)) {
      readNested(scanner, material, scan, depth);
    } else if (word == "*BITMAP") {
      takeBitmap(scanner, material, scan);
    }
    // Anything else is skipped; the values behind an unknown keyword are
    // read as tokens of their own and skipped too.
  }
}

}  // namespace veltrace
