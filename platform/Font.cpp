#include "platform/Font.h"

#include <array>
#include <cstdlib>

#include "platform/AsciiText.h"

namespace zp {

namespace {
// a * b / c rounded half away from zero, the platform's MulDiv.
int MulDiv(int a, int b, int c) {
  const long long p = static_cast<long long>(a) * b;
  const long long q = (std::llabs(p) * 2 + c) / (2LL * c);
  return static_cast<int>(p < 0 ? -q : q);
}
}  // namespace

bool IsTrueTypeFace(const std::string& FaceName) {
  static constexpr std::array<const char*, 8> kBitmapFaces{"MS Sans Serif", "MS Serif", "System",      "Terminal",
                                                           "Fixedsys",      "Courier",  "Small Fonts", "Modern"};
  for (const char* f : kBitmapFaces)
    if (SameText(FaceName, f)) return false;
  return true;
}

void TFont::SetName(const std::string& Value) {
  if (data_.Name == Value) return;
  data_.Name = Value;
  data_.HandleName.clear();
  Changed();
}

void TFont::SetHeight(int Value) {
  if (data_.Height == Value) return;
  data_.Height = Value;
  Changed();
}

int TFont::Size() const { return -MulDiv(data_.Height, 72, kPixelsPerInch); }

void TFont::SetSize(int Value) { SetHeight(-MulDiv(Value, kPixelsPerInch, 72)); }

void TFont::SetStyle(TFontStyles Value) {
  if (data_.Style == Value) return;
  data_.Style = Value;
  Changed();
}

void TFont::SetColor(TColor Value) {
  if (data_.Color == Value) return;
  data_.Color = Value;
  Changed();
}

void TFont::SetCharset(int Value) {
  if (data_.Charset == Value) return;
  data_.Charset = Value;
  Changed();
}

void TFont::SetPitch(TFontPitch Value) {
  if (data_.Pitch == Value) return;
  data_.Pitch = Value;
  Changed();
}

void TFont::SetOrientation(int Value) {
  if (data_.Orientation == Value) return;
  data_.Orientation = Value;
  Changed();
}

void TFont::SetHandle(const TLogFont& Value) {
  data_.Height = Value.Height;
  TFontStyles style;
  if (Value.Weight >= 700) style.Include(TFontStyle::fsBold);
  if (Value.Italic) style.Include(TFontStyle::fsItalic);
  if (Value.Underline) style.Include(TFontStyle::fsUnderline);
  if (Value.StrikeOut) style.Include(TFontStyle::fsStrikeOut);
  data_.Style = style;
  data_.Charset = Value.CharSet;
  data_.Pitch = Value.PitchAndFamily == kFixedPitch      ? TFontPitch::fpFixed
                : Value.PitchAndFamily == kVariablePitch ? TFontPitch::fpVariable
                                                         : TFontPitch::fpDefault;
  data_.Orientation = Value.Escapement;
  data_.HandleName = Value.FaceName == data_.Name ? std::string() : Value.FaceName;
  Changed();
}

void TFont::Assign(const TPersistent& Source) {
  if (const auto* src = dynamic_cast<const TFont*>(&Source)) {
    data_ = src->data_;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TFont::Changed() {
  if (OnChange) OnChange(*this);
}

}  // namespace zp
