#pragma once
// The Render Settings pane of an effect: a tree of the scene's meshes and
// their subsets with check boxes, ticked where the mesh or subset is assigned
// to this pane's effect. Clicking a box assigns or clears the effect by the
// rules below; the pane's dialog only shows the rows and reports clicks.

#include <optional>
#include <string>
#include <vector>

#include "effect/effect.h"
#include "panes/workspace/workspace_tree.h"
#include "scene/scene_model.h"

namespace veltrace {

inline constexpr const char* renderSettingsTitle = "Render Settings";
inline constexpr const char* renderSettingsPrompt = "Choose Mesh/Subset to assign Effect on :";
inline constexpr const char* renderSettingsHelpTopic = "::/html/render settings.htm";

struct SubsetRow {
  std::string label;  // "Subset #1"
  bool ticked = false;
};

struct MeshRow {
  std::string label;  // "Mesh #1 (name)"
  bool ticked = false;
  std::vector<SubsetRow> subsets;
};

class RenderSettingsModel {
 public:
  // The scene is the workspace's, which is replaced in place by a scene load.
  RenderSettingsModel(Effect& effect, Scene& scene, SceneInformationRequest& request);

  // When the pane is shown and after every scene load: one row per mesh with
  // its subsets, each ticked exactly when it belongs to this effect.
  void fill();
  const std::vector<MeshRow>& meshes() const { return meshes_; }
  // The one mesh row shown expanded: the last.
  std::optional<size_t> expandedMesh() const;

  // A click on a box; the box's state before the click decides:
  // - mesh, not ticked: the mesh takes this effect if it has none, and so does
  //   every subset without one; subsets of other effects keep theirs.
  // - mesh, ticked: the mesh and its subsets let go of this effect.
  // - subset, ticked: the subset lets go of this effect, and so does its mesh.
  // - subset, not ticked: a subset without an effect takes this one; when
  //   every subset of the mesh then has it and the mesh has none, so does the
  //   mesh.
  // Afterwards every box of the mesh shows whether its mesh or subset
  // belongs to this effect, the effect's shaders are marked changed and the
  // scene information is asked to rebuild. False (nothing changes) for a row
  // that no longer matches the scene.
  bool clickMesh(size_t mesh);
  bool clickSubset(size_t mesh, size_t subset);

  std::string caption() const;  // "%s - Render Settings"

 private:
  bool rowMatchesScene(size_t mesh) const;
  void showAssignments(size_t mesh);
  void changed();

  Effect& effect_;
  Scene& scene_;
  SceneInformationRequest& request_;
  std::vector<MeshRow> meshes_;
};

// The pane's controls and the client size they were laid out for.
struct PaneRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const PaneRect&) const = default;
};

struct RenderSettingsLayout {
  int width = 0, height = 0;
  PaneRect tree, ok, help;
};

// Resizing: only when the new width and height are both above 200 pixels the
// tree grows by the change, "OK" moves down by the change of height and
// "Help" right and down by the changes. Returns whether anything moved.
bool resizeRenderSettings(RenderSettingsLayout& layout, int newWidth, int newHeight);

}  // namespace veltrace
