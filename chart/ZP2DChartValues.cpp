#include "chart/ZP2DChartValues.h"

namespace zp::chart {

TZP2DChartValue::TZP2DChartValue() : TZPChartValue(2) {}

bool TZP2DChartValue::HitTest(const TFloatRect& Area, int Mode) const {
  if (!PtInFloatRect(FloatPoint(X(), Y()), Area)) return false;
  return ModeAccepts(Mode, Selected());
}

TZP2DChartValues::TZP2DChartValues(TPersistent* Owner)
    : TZPChartValues(
          Owner, [] { return std::make_unique<TZP2DChartValue>(); }, 2) {}

TZP2DChartValue& TZP2DChartValues::AddPoint(double X, double Y, const std::string& Caption, TColor Color) {
  return static_cast<TZP2DChartValue&>(AddValues({X, Y}, Color, Caption));
}

void TZP2DChartValues::SetDateTimeAxes(TXYSet Value) {
  SetDateTimeFlags(static_cast<uint8_t>((DateTimeFlags() & ~3u) | (Value.Mask() & 3u)));
}

}  // namespace zp::chart
