#include "panes/workspace/render_settings.h"

#include <algorithm>

#include "base/text.h"

namespace veltrace {

RenderSettingsModel::RenderSettingsModel(Effect& effect, Scene& scene, SceneInformationRequest& request)
    : effect_(effect), scene_(scene), request_(request) {}

void RenderSettingsModel::fill() {
  meshes_.clear();
  for (size_t i = 0; i < scene_.meshes.size(); ++i) {
    const SceneMesh& mesh = scene_.meshes[i];
    MeshRow row;
    row.label = formatText("Mesh #%d (%s)", static_cast<int>(i + 1), mesh.name.c_str());
    for (size_t j = 0; j < mesh.subsets.size(); ++j)
      row.subsets.push_back({formatText("Subset #%d", static_cast<int>(j + 1)), false});
    meshes_.push_back(std::move(row));
    showAssignments(i);
  }
}

std::optional<size_t> RenderSettingsModel::expandedMesh() const {
  if (meshes_.empty()) return std::nullopt;
  return meshes_.size() - 1;
}

bool RenderSettingsModel::rowMatchesScene(size_t mesh) const {
  return mesh < meshes_.size() && mesh < scene_.meshes.size() &&
         meshes_[mesh].subsets.size() == scene_.meshes[mesh].subsets.size();
}

void RenderSettingsModel::showAssignments(size_t mesh) {
  const SceneMesh& sceneMesh = scene_.meshes[mesh];
  MeshRow& row = meshes_[mesh];
  row.ticked = sceneMesh.effect == &effect_;
  for (size_t j = 0; j < row.subsets.size(); ++j) row.subsets[j].ticked = sceneMesh.subsets[j].effect == &effect_;
}

void RenderSettingsModel::changed() {
  effect_.shadersChanged = true;
  request_.set();
}

bool RenderSettingsModel::clickMesh(size_t mesh) {
  if (!rowMatchesScene(mesh)) return false;
  SceneMesh& sceneMesh = scene_.meshes[mesh];
  if (!meshes_[mesh].ticked) {
    if (!sceneMesh.effect) sceneMesh.effect = &effect_;
    for (MeshSubset& subset : sceneMesh.subsets)
      if (!subset.effect) subset.effect = &effect_;
  } else {
    if (sceneMesh.effect == &effect_) sceneMesh.effect = nullptr;
    for (MeshSubset& subset : sceneMesh.subsets)
      if (subset.effect == &effect_) subset.effect = nullptr;
  }
  showAssignments(mesh);
  changed();
  return true;
}

bool RenderSettingsModel::clickSubset(size_t mesh, size_t subset) {
  if (!rowMatchesScene(mesh) || subset >= meshes_[mesh].subsets.size()) return false;
  SceneMesh& sceneMesh = scene_.meshes[mesh];
  MeshSubset& sceneSubset = sceneMesh.subsets[subset];
  if (meshes_[mesh].subsets[subset].ticked) {
    // The mesh lets go only of this effect: a mesh assigned to another
    // effect is that effect's business.
    if (sceneSubset.effect == &effect_) {
      sceneSubset.effect = nullptr;
      if (sceneMesh.effect == &effect_) sceneMesh.effect = nullptr;
    }
  } else if (!sceneSubset.effect) {
    sceneSubset.effect = &effect_;
    const bool wholeMesh = std::all_of(sceneMesh.subsets.begin(), sceneMesh.subsets.end(),
                                       [&](const MeshSubset& s) { return s.effect == &effect_; });
    if (wholeMesh && !sceneMesh.effect) sceneMesh.effect = &effect_;
  }
  showAssignments(mesh);
  changed();
  return true;
}

std::string RenderSettingsModel::caption() const { return effect_.name + " - Render Settings"; }

bool resizeRenderSettings(RenderSettingsLayout& layout, int newWidth, int newHeight) {
  if (newWidth <= 200 || newHeight <= 200) return false;
  const int dx = newWidth - layout.width;
  const int dy = newHeight - layout.height;
  layout.tree.width += dx;
  layout.tree.height += dy;
  layout.ok.top += dy;
  layout.help.left += dx;
  layout.help.top += dy;
  layout.width = newWidth;
  layout.height = newHeight;
  return dx != 0 || dy != 0;
}

}  // namespace veltrace
