// The family's panes made through the factory, hidden, under Wine.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "panes/states/state_pane_factory.h"
#include "tests/effect/effect_test_support.h"

namespace veltrace {
namespace {

class NoLoader : public TextureLoader {
 public:
  std::optional<LoadedTexture> load(const std::string&) override { return std::nullopt; }
  void release(DeviceTexture*) override {}
};

TEST(StatePaneFactory, MakesEveryKindOfTheFamilyAndNoOther) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  Effect effect = test::newShippedEffect();
  EffectVariable colour;
  colour.kind = VariableKind::color;
  NoLoader loader;
  MessageLog log;
  TextureStore store(loader, log);
  StatePaneServices services;
  services.textureStore = &store;
  services.log = &log;

  struct Case {
    PaneKind kind;
    bool made;
  };
  const Case cases[] = {{PaneKind::variableEditor, true}, {PaneKind::renderStates, true},
                        {PaneKind::streamMapping, true},  {PaneKind::texturesStagesStates, true},
                        {PaneKind::vertexShader, false},  {PaneKind::renderSettings, false}};
  for (const Case& c : cases) {
    PaneRequest request;
    request.kind = c.kind;
    request.effect = &effect;
    request.variableKind = VariableKind::color;
    request.variable = [&] { return &colour; };
    std::unique_ptr<Pane> pane = createStatePane(request, services);
    EXPECT_EQ(pane != nullptr, c.made) << static_cast<int>(c.kind);
    if (pane) pane->show("Chrome - pane");
  }

  PaneRequest withoutEffect;
  withoutEffect.kind = PaneKind::renderStates;
  EXPECT_EQ(createStatePane(withoutEffect, services), nullptr);
}

}  // namespace
}  // namespace veltrace
