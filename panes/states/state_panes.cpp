#include "panes/states/state_panes.h"

namespace veltrace {

namespace {

constexpr int leastResizeSide = 100;

}  // namespace

RenderStatesPane::RenderStatesPane(Effect& effect, int clientWidth, int clientHeight)
    : list_(&effect.renderStates), resize_(leastResizeSide, leastResizeSide) {
  resize_.remember(clientWidth, clientHeight);
}

std::array<StateListColumn, 2> RenderStatesPane::columns(int clientWidth) {
  return {{{"Renderstate", clientWidth / 3 + 23}, {"Value", clientWidth - clientWidth / 2}}};
}

std::array<StateListColumn, 2> TextureStagePage::columns(int listWidth) {
  return {{{"TextureState", listWidth / 3}, {"Value", listWidth / 2}}};
}

}  // namespace veltrace
