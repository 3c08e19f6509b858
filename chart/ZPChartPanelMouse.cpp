// The panel's zoom, pan and selection, by call and by mouse gesture.
#include <algorithm>
#include <cstdlib>

#include "chart/ZPCustomChartPanel.h"
#include "chart/ZPFloatGeometry.h"

namespace zp::chart {

namespace {
using enum TChartUserAction;
using enum TDragState;
}  // namespace

void TZPCustomChartPanel::PanByPixels(int DX, int DY, bool UseBottom, bool UseLeft) {
  HorizontalAxis(UseBottom).PanByPixels(DX);
  VerticalAxis(UseLeft).PanByPixels(DY);
  if (OnPan) OnPan(*this);
}

void TZPCustomChartPanel::PanByValues(bool UseBottom, bool UseLeft, double DX, double DY) {
  HorizontalAxis(UseBottom).PanBy(DX);
  VerticalAxis(UseLeft).PanBy(DY);
  if (OnPan) OnPan(*this);
}

void TZPCustomChartPanel::ZoomPixels(const TRect& Rect, bool UseBottom, bool UseLeft) {
  const TZoomState before = CaptureZoom();
  HorizontalAxis(UseBottom).ZoomToPixels(Rect);
  VerticalAxis(UseLeft).ZoomToPixels(Rect);
  RememberZoom(before);
  if (OnZoom) OnZoom(*this);
}

void TZPCustomChartPanel::ZoomValues(const TFloatRect& Rect, bool UseBottom, bool UseLeft) {
  const TZoomState before = CaptureZoom();
  HorizontalAxis(UseBottom).ZoomToValues(Rect);
  VerticalAxis(UseLeft).ZoomToValues(Rect);
  RememberZoom(before);
  if (OnZoom) OnZoom(*this);
}

void TZPCustomChartPanel::Unzoom(bool UseBottom, bool UseLeft) {
  const TZoomState before = CaptureZoom();
  HorizontalAxis(UseBottom).ResetZoom();
  VerticalAxis(UseLeft).ResetZoom();
  RememberZoom(before);
  if (OnUnzoom) OnUnzoom(*this);
}

void TZPCustomChartPanel::SelectRect(const TRect& Rect, int Mode) {
  for (int i = 0; i < charts_.Count(); ++i)
    if (TZPCustomChart* s = charts_.Items(i); s->Visible()) s->SelectInRect(Rect, Mode);
}

TFloatPoint TZPCustomChartPanel::PixelToValuePoint(const TPoint& P, const TZPChartAxis& Horizontal,
                                                   const TZPChartAxis& Vertical) const {
  return {Horizontal.PixelToValue(plot_rect_, P.X), Vertical.PixelToValue(plot_rect_, P.Y)};
}

TFloatRect TZPCustomChartPanel::PixelRectToValueRect(const TRect& R, const TZPChartAxis& Horizontal,
                                                     const TZPChartAxis& Vertical) const {
  const TFloatPoint a = PixelToValuePoint(Point(R.Left, R.Bottom), Horizontal, Vertical);
  const TFloatPoint b = PixelToValuePoint(Point(R.Right, R.Top), Horizontal, Vertical);
  return {a.X, a.Y, b.X, b.Y};
}

void TZPCustomChartPanel::SetScreenCursor(TCursor Cursor) {
  if (host_) host_->SetCursor(Cursor);
}

// ---- gestures ----

bool TZPCustomChartPanel::IsClick(const TRect& Drag) {
  return std::abs(Drag.Right - Drag.Left) <= kClickTolerance && std::abs(Drag.Bottom - Drag.Top) <= kClickTolerance;
}

void TZPCustomChartPanel::MouseDown(TMouseButton /*Button*/, TShiftState Shift, int X, int Y) {
  using enum TShiftStateFlag;
  click_pending_ = Shift == TShiftState{ssLeft};
  press_at_ = Point(X, Y);
  // A double click outside the legend shows the full ranges again (on a
  // legend line its first click already toggled the series).
  if (Shift == TShiftState{ssLeft, ssDouble}) {
    drag_state_ = dsNone;
    if (user_actions_.Contains(cuaZoom) && !(legend_->Visible() && legend_->BoxHolds(X, Y))) Unzoom(true, true);
    return;
  }
  // The whole shift state must match, not merely contain the gesture's keys.
  if (Shift == user_zoom_ && user_actions_.Contains(cuaZoom)) {
    drag_state_ = dsZoom;
  } else if (Shift == user_pan_ && user_actions_.Contains(cuaPan) && (bottom_axis_->Zoomed() || left_axis_->Zoomed())) {
    drag_state_ = dsPan;
    SetScreenCursor(crHandPoint);
  } else if (Shift == user_select_ && user_actions_.Contains(cuaSelection)) {
    drag_state_ = dsSelect;
  } else {
    drag_state_ = dsNone;
  }
  drag_rect_ = {X, Y, X, Y};
  if ((drag_state_ == dsZoom || drag_state_ == dsSelect) && host_) host_->DrawFocusRect(drag_rect_);
}

void TZPCustomChartPanel::MouseMove(TShiftState /*Shift*/, int X, int Y) {
  switch (drag_state_) {
    case dsNone: {
      SetScreenCursor(crDefault);
      if (!user_actions_.Contains(cuaSelection)) break;
      const TRect probe{X - 3, Y - 3, X + 3, Y + 3};
      for (int i = charts_.Count() - 1; i >= 0; --i) {
        if (TZPCustomChart* s = charts_.Items(i); s->HasValueIn(probe)) {
          s->MouseOver(probe);
          break;
        }
      }
      break;
    }
    case dsZoom:
    case dsSelect: {
      auto feedback = [&] { return drag_state_ == dsZoom ? drag_rect_ : NormalizeRect(drag_rect_); };
      if (host_) host_->DrawFocusRect(feedback());
      drag_rect_.Right = X;
      drag_rect_.Bottom = Y;
      if (host_) host_->DrawFocusRect(feedback());
      break;
    }
    case dsPan: {
      drag_rect_.Right = X;
      drag_rect_.Bottom = Y;
      int dx = bottom_axis_->Zoomed() ? drag_rect_.Left - X : 0;
      int dy = left_axis_->Zoomed() ? Y - drag_rect_.Top : 0;
      if (bottom_axis_->Options().Contains(TAxisOption::axInverted)) dx = -dx;
      if (left_axis_->Options().Contains(TAxisOption::axInverted)) dy = -dy;
      PanByPixels(dx, dy, true, true);
      // Every move pans by the distance since the previous one.
      drag_rect_.Left = X;
      drag_rect_.Top = Y;
      break;
    }
  }
}

void TZPCustomChartPanel::MouseUp(TMouseButton /*Button*/, TShiftState /*Shift*/, int X, int Y) {
  const bool click = click_pending_ && IsClick({press_at_.X, press_at_.Y, X, Y});
  click_pending_ = false;
  switch (drag_state_) {
    case dsZoom:
      if (host_) host_->DrawFocusRect(drag_rect_);
      drag_rect_.Right = X;
      drag_rect_.Bottom = Y;
      // A click is neither a zoom nor an unzoom, and a window a few pixels
      // across would leave nothing to see: both leave the axes alone.
      if (IsClick(drag_rect_)) break;
      // Dragging leftwards unzooms.
      if (drag_rect_.Left > drag_rect_.Right)
        Unzoom(true, true);
      else if (NormalizeRect(drag_rect_).Width() >= kClickTolerance &&
               NormalizeRect(drag_rect_).Height() >= kClickTolerance)
        ZoomPixels(drag_rect_, true, true);
      break;
    case dsSelect:
      if (host_) host_->DrawFocusRect(NormalizeRect(drag_rect_));
      drag_rect_.Right = X;
      drag_rect_.Bottom = Y;
      SelectRect(NormalizeRect(drag_rect_), 2);
      break;
    case dsPan:
      SetScreenCursor(crDefault);
      break;
    case dsNone:
      break;
  }
  drag_state_ = dsNone;
  if (click) Click(X, Y);
}

void TZPCustomChartPanel::Click(int X, int Y) {
  if (!user_actions_.Contains(cuaLegendToggle)) return;
  if (TZPCustomChart* s = LegendChartAt(X, Y)) s->SetVisible(!s->Visible());
}

}  // namespace zp::chart
