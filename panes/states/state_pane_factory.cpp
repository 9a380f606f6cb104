#include "panes/states/state_pane_factory.h"

#include "panes/states/render_states_window.h"
#include "panes/states/stream_mapping_window.h"
#include "panes/states/textures_window.h"
#include "panes/states/variable_editor_window.h"

namespace veltrace {

namespace {

template <typename PaneWindow>
std::unique_ptr<Pane> created(std::unique_ptr<PaneWindow> pane, const StatePaneServices& services) {
  pane->openHelp = services.openHelp;
  if (!pane->create(services.owner)) return nullptr;
  return pane;
}

}  // namespace

std::unique_ptr<Pane> createStatePane(const PaneRequest& request, const StatePaneServices& services) {
  if (!request.effect) return nullptr;
  Effect& effect = *request.effect;
  switch (request.kind) {
    case PaneKind::variableEditor:
      if (!request.variable) return nullptr;
      return created(std::make_unique<VariableEditorWindow>(request.variableKind, request.variable), services);
    case PaneKind::renderStates:
      return created(std::make_unique<RenderStatesWindow>(effect), services);
    case PaneKind::streamMapping:
      return created(std::make_unique<StreamMappingWindow>(effect), services);
    case PaneKind::texturesStagesStates: {
      if (!services.textureStore || !services.log) return nullptr;
      auto pane = std::make_unique<TexturesWindow>(effect, *services.textureStore, *services.log, services.programFolder);
      pane->requestSceneInformation = services.requestSceneInformation;
      return created(std::move(pane), services);
    }
    case PaneKind::vertexShader:
    case PaneKind::pixelShader:
    case PaneKind::renderSettings:
      break;
  }
  return nullptr;
}

}  // namespace veltrace
