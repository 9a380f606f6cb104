#pragma once
// The resizable docking bars around the preview.
//
// CSizingControlBar: a bar that the frame docks on one side; its inner edge
// can be dragged (a tracking line follows the mouse, the new size is applied
// on release). CSizingControlBarG adds a gripper with a hide button, and
// dragging the gripper docks the bar on another side or floats it;
// CSizingControlBarCF draws the gripper as a flat caption with the title.
// CViewBar hosts one child window (the bar's view) and keeps it sized to
// the bar's client area.
//
// The bar reports what the user did to its DockHost, which owns the layout.

#include <windows.h>

#include <string>

#include "panes/frame/dock_layout.h"
#include "ui/handles.h"
#include "ui/tracking_marks.h"
#include "ui/window.h"

namespace veltrace::panes {

class DockHost {
 public:
  virtual ~DockHost() = default;
  // The inner edge was dragged to give the bar this size.
  virtual void barResized(int barId, int newSize) = 0;
  // The hide button was clicked.
  virtual void barHidden(int barId) = 0;
  // The gripper was dragged and let go at this screen point.
  virtual void barDropped(int barId, POINT screenPoint) = 0;
};

inline constexpr int gripperSize = 12;
inline constexpr int hideButtonSize = 11;
inline constexpr int edgeSize = 5;

class CSizingControlBar : public ui::Window {
 public:
  CSizingControlBar(int barId, std::string title, DockHost& host);

  bool create(HWND parent);
  int barId() const { return barId_; }
  const std::string& barTitle() const { return title_; }

  // Where the bar is now; decides which edge resizes it and where the
  // gripper goes.
  void setSide(DockSide side);
  DockSide side() const { return side_; }

  // The part of the client area left for the hosted view.
  virtual RECT contentArea() const;

 protected:
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual void paintDecorations(HDC dc) {}
  virtual bool startGripperDrag(POINT client) { return false; }
  virtual void layoutContent() {}

  RECT edgeArea() const;
  DockHost& host_;

 private:
  void beginTracking(POINT client);
  void trackTo(POINT client);
  void endTracking(bool apply);
  int trackedSize() const;

  int barId_;
  std::string title_;
  DockSide side_ = DockSide::left;
  bool tracking_ = false;
  POINT trackStart_{};
  int trackOffset_ = 0;  // how far the line has moved from the edge
  ui::TrackingLine trackingLine_;
};

class CSizingControlBarG : public CSizingControlBar {
 public:
  using CSizingControlBar::CSizingControlBar;
  RECT contentArea() const override;

  // The gripper strip and the hide button in client coordinates.
  RECT gripperArea() const;
  RECT hideButtonArea() const;

 protected:
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void paintDecorations(HDC dc) override;
  virtual void paintGripper(HDC dc, const RECT& gripper);
  void paintHideButton(HDC dc);

 private:
  void dragTo(POINT screen);
  void invalidateHideButton();

  bool buttonHot_ = false;
  bool buttonDown_ = false;
  bool dragging_ = false;
  POINT dragStart_{};  // screen point where the gripper was taken
  RECT barAtStart_{};  // the bar's screen rectangle then
  ui::TrackingFrame dragFrame_;
};

class CSizingControlBarCF : public CSizingControlBarG {
 public:
  using CSizingControlBarG::CSizingControlBarG;

 protected:
  void paintGripper(HDC dc, const RECT& gripper) override;
};

class CViewBar : public CSizingControlBarG {
 public:
  using CSizingControlBarG::CSizingControlBarG;
  // The bar's only child; it is kept sized to the content area.
  void setView(HWND view);
  HWND view() const { return view_; }

 protected:
  void layoutContent() override;

 private:
  HWND view_ = nullptr;
};

}  // namespace veltrace::panes
