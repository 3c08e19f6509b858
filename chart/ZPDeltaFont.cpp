#include "chart/ZPDeltaFont.h"

#include "platform/ScopeGuard.h"

namespace zp::chart {

namespace {

struct StyleDelta {
  TFontStyle Style;
  TDeltaAttribute Delta;
};
constexpr StyleDelta kStyleDeltas[] = {{TFontStyle::fsBold, TDeltaAttribute::daBold},
                                       {TFontStyle::fsItalic, TDeltaAttribute::daItalic},
                                       {TFontStyle::fsStrikeOut, TDeltaAttribute::daStrikeOut},
                                       {TFontStyle::fsUnderline, TDeltaAttribute::daUnderline}};

}  // namespace

void TZPCustomDeltaFont::ComputeDeltas(const TFont* Original) {
  if (updating_ || !Original) return;
  // The flag is down again on every exit path, exceptions included.
  updating_ = true;
  TScopeExit done([this] { updating_ = false; });
  TDeltaAttributes d;
  for (const auto& sd : kStyleDeltas)
    if (Style().Contains(sd.Style) != Original->Style().Contains(sd.Style)) d.Include(sd.Delta);
  if (Color() != Original->Color()) d.Include(TDeltaAttribute::daColor);
  if (Name() != Original->Name()) d.Include(TDeltaAttribute::daFace);
  if (Size() != Original->Size()) d.Include(TDeltaAttribute::daSize);
  deltas_ = d;
}

void TZPCustomDeltaFont::ApplyOriginal(const TFont* Original) {
  if (updating_ || !Original) return;
  // The flag is down again on every exit path, exceptions included.
  updating_ = true;
  TScopeExit done([this] { updating_ = false; });
  TFontStyles style = Style();
  for (const auto& sd : kStyleDeltas) {
    if (deltas_.Contains(sd.Delta)) continue;
    if (Original->Style().Contains(sd.Style))
      style.Include(sd.Style);
    else
      style.Exclude(sd.Style);
  }
  SetStyle(style);
  if (!deltas_.Contains(TDeltaAttribute::daColor)) SetColor(Original->Color());
  if (!deltas_.Contains(TDeltaAttribute::daFace)) SetName(Original->Name());
  if (!deltas_.Contains(TDeltaAttribute::daSize)) SetSize(Original->Size());
}

void TZPCustomDeltaFont::Changed() {
  if (!updating_ && OnGetOriginalFont) {
    const TFont* original = nullptr;
    OnGetOriginalFont(*this, original);
    if (original) ComputeDeltas(original);
  }
  TFont::Changed();
}

}  // namespace zp::chart
