#pragma once
// The Render Settings pane's window: RenderSettingsModel's rows in a tree
// with check boxes, "OK" (hides the pane) and "Help". The dialog template
// (render_settings_pane.rc) goes into the program's resources.

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "panes/workspace/pane_factory.h"
#include "panes/workspace/render_settings.h"
#include "ui/dialog.h"

namespace veltrace {

class RenderSettingsPane : public Pane, private ui::Dialog {
 public:
  RenderSettingsPane(Effect& effect, Scene& scene, SceneInformationRequest& request)
      : model_(effect, scene, request) {}

  // Creates the pane hidden, owned by the main window.
  bool create(HWND owner) { return createModeless(renderSettingsDialogId(), owner); }

  void show(const std::string& title) override;
  void sceneReplaced() override { fill(); }

  // Opens a help topic (the program's help file); failures are its business.
  std::function<void(const char* topic)> openHelp;

  // A click on the box of a tree item (what the tree view's click on a state
  // icon and the space bar come to).
  void boxClicked(HTREEITEM item);

  HWND window() const { return handle(); }
  HWND tree() const { return item(treeId()); }
  const RenderSettingsModel& model() const { return model_; }

 private:
  static int renderSettingsDialogId();
  static int treeId();

  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void fill();
  void showTicks();
  void setTitle(const std::string& title);
  void resize(int width, int height);

  RenderSettingsModel model_;
  RenderSettingsLayout layout_;
  std::vector<HTREEITEM> meshItems_;
  std::vector<std::vector<HTREEITEM>> subsetItems_;
};

}  // namespace veltrace
