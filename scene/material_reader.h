#pragma once
// Reads one material block of a scene file: the material's own block, a
// sub-material's block or a map block (maps are read into the material that
// holds them). The same procedure serves all three and calls itself for the
// nested blocks.

#include <cstdint>

#include "scene/scene_model.h"
#include "scene/scene_scanner.h"

namespace veltrace {

// What the whole material scan shares: the pending map marks, which stay set
// until a "*BITMAP" consumes them (so a map block without a bitmap leaves its
// mark for the next bitmap found), and how many more material records the
// scene may still create.
struct MaterialScan {
  bool basePending = false;
  bool bumpPending = false;
  bool alphaPending = false;
  std::int32_t recordsLeft = maxMaterialRecords;

  // Materials and sub-materials together. Far above what a modelling
  // package writes, low enough that a damaged count cannot exhaust memory.
  static constexpr std::int32_t maxMaterialRecords = 16384;
  // Blocks nested deeper than this are not descended into.
  static constexpr int maxDepth = 16;
};

// Reads tokens from the current position until a "}" token or the end.
void readMaterialBlock(SceneScanner& scanner, SceneMaterial& material, MaterialScan& scan, int depth = 0);

}  // namespace veltrace
