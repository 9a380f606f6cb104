#pragma once
// The Textures pane's window: the texture list with the stage drop-down over
// the clicked "Texture Stage" cell, a preview of the selected texture file,
// "Load" and "Delete" (also on the right-click menu), the eight stage tabs
// with their pages, "OK" and "Help". The dialog templates (state_panes.rc) go
// into the program's resources.

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "panes/states/texture_preview.h"
#include "panes/states/texture_stage_page_window.h"
#include "panes/states/textures_pane.h"
#include "panes/workspace/pane_factory.h"
#include "ui/dialog.h"

namespace veltrace {

class TexturesWindow : public Pane, private ui::Dialog {
 public:
  // programFolder: where "Load" starts (below it, the texture folder).
  TexturesWindow(Effect& effect, TextureStore& store, MessageLog& log, std::string programFolder);

  // Creates the pane hidden, owned by the main window.
  bool create(HWND owner);
  void show(const std::string& title) override;

  // Opens a help topic of the program's help file; failures are its business.
  std::function<void(const char* topic)> openHelp;
  // Asks for the scene information tree to be built again.
  std::function<void()> requestSceneInformation;
  // Asks the user for a texture file; the file-open dialog unless replaced
  // (the tests answer without one).
  std::function<std::optional<std::string>()> chooseTextureFile;

  HWND window() const { return handle(); }
  HWND list() const;
  HWND stageChooser() const;
  HWND tabs() const;
  // The page window of a stage; null while the pane is hidden.
  HWND pageWindow(int stage) const;
  const TexturesPane& model() const { return model_; }
  // Runs "Delete" with the list's selection, as the button and the menu do.
  void deleteTexture();

 private:
  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool command(int id, int notification);
  bool notify(const NMHDR& header, LPARAM lParam);
  void initialise();
  void fillRows();
  void shown();
  void hidden();
  void listClicked(POINT point);
  void listRightClicked(POINT point);
  void stageChosen();
  void loadTexture();
  std::optional<std::string> askForTextureFile() const;
  void showSelectedPage();
  void reportTextureChange();
  void updatePreview();
  void paintPreview();
  RECT previewRect() const;
  void resize(int width, int height);
  void moveDown(HWND control, int dy, int growHeight = 0);

  TexturesPane model_;
  std::string programFolder_;
  std::array<std::unique_ptr<TextureStagePageWindow>, textureStageCount> pages_;
  std::optional<TexturePreview> preview_;
  std::string previewPath_;
};

}  // namespace veltrace
