#pragma once
// The editing panes the workspace tree opens. The tree makes every pane
// through one factory; a kind the factory cannot make yet gives no pane, and
// its items then open nothing. A pane is made the first time its item is
// activated and lives until its item is deleted (deleting an effect closes
// all of its panes); closing a pane window only hides it.

#include <functional>
#include <memory>
#include <string>

#include "effect/effect.h"

namespace veltrace {

enum class PaneKind {
  variableEditor,        // one per vector, matrix and colour
  texturesStagesStates,
  renderStates,
  streamMapping,
  vertexShader,
  pixelShader,
  renderSettings,
};

class Pane {
 public:
  virtual ~Pane() = default;  // destroys the pane's window

  // Sets the window title and shows the pane.
  virtual void show(const std::string& title) = 0;

  // Shader panes: the variable bound at this register is being deleted, so
  // its rows of the constants list are emptied. The variable's register
  // fields are left alone.
  virtual void clearBoundRows(int registerNumber) {}

  // The scene was replaced: panes that show the scene's meshes fill again.
  virtual void sceneReplaced() {}
};

// What a pane is made for. Variables live by value in the effect's lists and
// move when another variable is added or deleted, so a variable editor finds
// its variable through `variable` each time (nullptr once it is gone).
struct PaneRequest {
  PaneKind kind = PaneKind::renderStates;
  Effect* effect = nullptr;
  VariableKind variableKind = VariableKind::vector;  // variableEditor only
  std::function<EffectVariable*()> variable;         // variableEditor only
};

class PaneFactory {
 public:
  virtual ~PaneFactory() = default;
  // The pane of that kind, created hidden; nullptr when this kind of pane
  // does not exist (yet).
  virtual std::unique_ptr<Pane> createPane(const PaneRequest& request) = 0;
};

// The title a pane is shown with: "%s - %s" with the effect's and the
// variable's names for a variable editor, "%s - RenderStates" and the like
// for the others.
std::string paneTitle(PaneKind kind, const std::string& effectName, const std::string& variableName = {});

}  // namespace veltrace
