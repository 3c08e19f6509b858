// IZPChartHost: what a chart panel needs of the control that shows it: a
// repaint request, the client rectangle, the mouse cursor and the inverting
// drag rectangle. The Qt widget implements it; tests use a recording stub.
// Plus the mouse vocabulary the panel's gestures are written in.
//
//   panel.SetHost(&widget);          // panel.Invalidate() now repaints the widget
#pragma once

#include <cstdint>

#include "platform/Geometry.h"
#include "platform/Set.h"

namespace zp::chart {

// Cursor ids of the desktop platform.
using TCursor = int16_t;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
// Keys and buttons held during a mouse event.
enum class TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = Set<TShiftStateFlag>;

class IZPChartHost {
 public:
  // Repaint later (once, whatever the number of requests before the paint).
  virtual void Invalidate() = 0;
  // The area the panel lays itself out in; (0, 0) at its top-left corner.
  virtual TRect ClientRect() const = 0;
  virtual void SetCursor(TCursor Cursor) = 0;
  // Inverts a dotted rectangle over the shown chart; the same rectangle
  // drawn again erases it. No repaint of the chart is implied.
  virtual void DrawFocusRect(const TRect& R) = 0;
  // The panel is being destroyed: forget it.
  virtual void PanelDestroyed() {}

 protected:
  virtual ~IZPChartHost() = default;
};

}  // namespace zp::chart
