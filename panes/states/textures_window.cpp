#include "panes/states/textures_window.h"

#include <commctrl.h>

#include <vector>

#include "base/files.h"
#include "base/text.h"
#include "panes/states/list_view_rows.h"
#include "panes/states/state_panes_rc.h"
#include "render/texture/wic_decoder.h"
#include "ui/file_dialog.h"
#include "ui/handles.h"

namespace veltrace {

TexturesWindow::TexturesWindow(Effect& effect, TextureStore& store, MessageLog& log, std::string programFolder)
    : model_(effect, store, log), programFolder_(std::move(programFolder)) {}

bool TexturesWindow::create(HWND owner) { return createModeless(texturesDialog, owner); }

HWND TexturesWindow::list() const { return item(texturesList); }
HWND TexturesWindow::stageChooser() const { return item(texturesStageChooser); }
HWND TexturesWindow::tabs() const { return item(texturesTabs); }
HWND TexturesWindow::pageWindow(int stage) const {
  const auto& page = pages_[static_cast<size_t>(stage)];
  return page ? page->window() : nullptr;
}

void TexturesWindow::show(const std::string& title) {
  SetWindowTextA(handle(), title.c_str());
  Dialog::show();
}

void TexturesWindow::initialise() {
  RECT client{};
  GetClientRect(handle(), &client);
  model_.resizeTracker().remember(client.right, client.bottom);
  RECT bounds{};
  GetClientRect(list(), &bounds);
  std::vector<ListColumn> columns;
  for (const auto& column : TexturesPane::columns(bounds.right)) columns.push_back({column.title, column.width});
  setUpListView(list(), columns);
  fillRows();
  for (const std::string& choice : TexturesPane::stageChoices())
    SendMessageA(stageChooser(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.c_str()));
  for (int stage = 0; stage < textureStageCount; ++stage) {
    std::string label = formatText("Stage %d", stage);
    TCITEMA tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = label.data();
    SendMessageA(tabs(), TCM_INSERTITEMA, static_cast<WPARAM>(stage), reinterpret_cast<LPARAM>(&tab));
  }
}

void TexturesWindow::fillRows() {
  std::vector<std::vector<std::string>> rows;
  for (const TexturesPane::Row& row : model_.rows()) rows.emplace_back(row.cells.begin(), row.cells.end());
  fillListView(list(), rows);
}

void TexturesWindow::shown() {
  model_.shown();
  fillRows();
  for (int stage = 0; stage < textureStageCount; ++stage) {
    auto& page = pages_[static_cast<size_t>(stage)];
    if (page) continue;
    page = std::make_unique<TextureStagePageWindow>(model_.page(stage));
    if (!page->create(tabs())) page.reset();
  }
  showSelectedPage();
  updatePreview();
}

void TexturesWindow::hidden() {
  model_.hidden();
  for (auto& page : pages_) page.reset();
}

void TexturesWindow::showSelectedPage() {
  const int visible = model_.visiblePage();
  for (int stage = 0; stage < textureStageCount; ++stage)
    if (pages_[static_cast<size_t>(stage)]) pages_[static_cast<size_t>(stage)]->showPage(stage == visible);
}

void TexturesWindow::listClicked(POINT point) {
  const ListCell cell = listCellAt(list(), point);
  const bool opens = model_.cellClicked(cell.row, cell.column);
  updatePreview();
  if (opens) dropDownOver(stageChooser(), list(), cell, TexturesPane::stageChoices());
}

void TexturesWindow::listRightClicked(POINT point) {
  const ListCell cell = listCellAt(list(), point);
  if (!model_.rowRightClicked(cell.row)) return;
  ui::MenuHandle menu(CreatePopupMenu());
  AppendMenuA(menu.get(), MF_STRING, texturesDeleteCommand, "Delete");
  POINT screen = point;
  ClientToScreen(list(), &screen);
  const int chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, handle(), nullptr);
  if (chosen == texturesDeleteCommand) deleteTexture();
}

void TexturesWindow::stageChosen() {
  const LRESULT selected = SendMessageA(stageChooser(), CB_GETCURSEL, 0, 0);
  ShowWindow(stageChooser(), SW_HIDE);
  model_.stageChosen(selected == CB_ERR ? -1 : static_cast<int>(selected));
  const int row = model_.currentRow();
  if (row >= 0 && static_cast<size_t>(row) < model_.rows().size())
    setListCell(list(), row, TexturesPane::stageColumn, model_.rows()[static_cast<size_t>(row)].cells[1]);
  SetFocus(list());
}

std::optional<std::string> TexturesWindow::askForTextureFile() const {
  if (chooseTextureFile) return chooseTextureFile();
  return ui::chooseFile({handle(), TexturesPane::loadFilter, programFolder_ + std::string(TexturesPane::loadFolderSuffix),
                         std::string(TexturesPane::loadDefaultExtension), false});
}

void TexturesWindow::loadTexture() {
  const std::optional<std::string> chosen = askForTextureFile();
  if (!chosen) return;
  model_.textureFileChosen(*chosen);
  fillRows();
  reportTextureChange();
}

void TexturesWindow::deleteTexture() {
  model_.deleteTexture(static_cast<int>(SendMessageA(list(), LVM_GETSELECTEDCOUNT, 0, 0)));
  fillRows();
  reportTextureChange();
  updatePreview();
}

void TexturesWindow::reportTextureChange() {
  if (model_.takeSceneInfoRefresh() && requestSceneInformation) requestSceneInformation();
}

RECT TexturesWindow::previewRect() const {
  RECT frame{};
  GetWindowRect(item(texturesPreviewFrame), &frame);
  MapWindowPoints(nullptr, handle(), reinterpret_cast<POINT*>(&frame), 2);
  InflateRect(&frame, -1, -1);
  return frame;
}

void TexturesWindow::updatePreview() {
  const std::string path = model_.currentTexturePath();
  if (path == previewPath_) return;
  previewPath_ = path;
  preview_.reset();
  if (!path.empty()) {
    if (std::optional<std::string> content = readWholeFile(path)) {
      DecodeResult decoded = decodeTextureFileWithSystemCodecs(
          std::span(reinterpret_cast<const std::uint8_t*>(content->data()), content->size()));
      const RECT box = previewRect();
      if (decoded.image)
        preview_ = texturePreview(*decoded.image, static_cast<std::uint32_t>(std::min(box.right - box.left, box.bottom - box.top)));
    }
  }
  const RECT box = previewRect();
  InvalidateRect(handle(), &box, TRUE);
}

void TexturesWindow::paintPreview() {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(handle(), &paint);
  if (preview_) {
    const RECT box = previewRect();
    BITMAPINFO bitmap{};
    bitmap.bmiHeader.biSize = sizeof bitmap.bmiHeader;
    bitmap.bmiHeader.biWidth = static_cast<LONG>(preview_->width);
    bitmap.bmiHeader.biHeight = -static_cast<LONG>(preview_->height);  // rows from the top
    bitmap.bmiHeader.biPlanes = 1;
    bitmap.bmiHeader.biBitCount = 32;
    bitmap.bmiHeader.biCompression = BI_RGB;
    // Centred in the box, never scaled up beyond it.
    const int width = std::min<int>(static_cast<int>(preview_->width), box.right - box.left);
    const int height = std::min<int>(static_cast<int>(preview_->height), box.bottom - box.top);
    const int left = box.left + (box.right - box.left - width) / 2;
    const int top = box.top + (box.bottom - box.top - height) / 2;
    StretchDIBits(dc, left, top, width, height, 0, 0, static_cast<int>(preview_->width),
                  static_cast<int>(preview_->height), preview_->pixels.data(), &bitmap, DIB_RGB_COLORS, SRCCOPY);
  }
  EndPaint(handle(), &paint);
}

void TexturesWindow::moveDown(HWND control, int dy, int growHeight) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, handle(), reinterpret_cast<POINT*>(&rect), 2);
  MoveWindow(control, rect.left, rect.top + dy, rect.right - rect.left, rect.bottom - rect.top + growHeight, TRUE);
}

void TexturesWindow::resize(int width, int height) {
  const auto change = model_.resizeTracker().resized(width, height);
  if (!change) return;
  moveDown(list(), 0, change->height);
  moveDown(tabs(), change->height);
  moveDown(item(texturesStatesLabel), change->height);
  moveDown(item(IDOK), change->height);
  moveDown(item(texturesHelpButton), change->height);
}

bool TexturesWindow::command(int id, int notification) {
  switch (id) {
    case IDOK:
      // The "OK" button has the focus when it is clicked; anywhere else this
      // is the Enter key, which only a page's text field takes.
      if (GetFocus() == item(IDOK)) {
        hide();
      } else if (const int page = model_.visiblePage(); page >= 0 && pages_[static_cast<size_t>(page)]) {
        pages_[static_cast<size_t>(page)]->enterPressed();
      }
      return true;
    case IDCANCEL:
      if (const int page = model_.visiblePage(); page >= 0 && pages_[static_cast<size_t>(page)])
        pages_[static_cast<size_t>(page)]->escapePressed();
      return true;
    case texturesLoadButton:
      loadTexture();
      return true;
    case texturesDeleteButton:
      deleteTexture();
      return true;
    case texturesHelpButton:
      if (openHelp) openHelp(TexturesPane::helpTopic.data());
      return true;
    case texturesStageChooser:
      if (notification != CBN_CLOSEUP) return false;
      stageChosen();
      return true;
  }
  return false;
}

bool TexturesWindow::notify(const NMHDR& header, LPARAM lParam) {
  if (header.idFrom == texturesList && header.code == NM_CLICK) {
    listClicked(reinterpret_cast<const NMITEMACTIVATE*>(lParam)->ptAction);
    return true;
  }
  if (header.idFrom == texturesList && header.code == NM_RCLICK) {
    listRightClicked(reinterpret_cast<const NMITEMACTIVATE*>(lParam)->ptAction);
    return true;
  }
  if (header.idFrom == texturesTabs && header.code == TCN_SELCHANGING) {
    model_.tabChanging();
    showSelectedPage();
    return true;
  }
  if (header.idFrom == texturesTabs && header.code == TCN_SELCHANGE) {
    model_.tabChanged(static_cast<int>(SendMessageA(tabs(), TCM_GETCURSEL, 0, 0)));
    showSelectedPage();
    return true;
  }
  return false;
}

INT_PTR TexturesWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      initialise();
      return TRUE;
    case WM_SHOWWINDOW:
      if (wParam)
        shown();
      else
        hidden();
      return FALSE;
    case WM_SIZE:
      resize(LOWORD(lParam), HIWORD(lParam));
      return TRUE;
    case WM_CLOSE:
      hide();
      return TRUE;
    case WM_COMMAND:
      return command(LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
      notify(*reinterpret_cast<const NMHDR*>(lParam), lParam);
      return FALSE;
    case WM_PAINT:
      paintPreview();
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace veltrace
