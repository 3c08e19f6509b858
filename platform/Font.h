// TFont: a value-holding text attribute (face, size, style, colour, pitch,
// character set, orientation) with an OnChange event after every change.
// Size is in points and Height in pixels at 96 pixels per inch; a negative
// Height is the character height (Size 8 <-> Height -11).
//
//   TFont f;                      // "MS Sans Serif", 8 points, window-text colour
//   f.SetStyle({TFontStyle::fsBold});
//   canvas.Font().Assign(f);      // select it into a canvas
#pragma once

#include <functional>
#include <string>

#include "platform/Color.h"
#include "platform/Persistent.h"
#include "platform/Set.h"

namespace zp {

enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = Set<TFontStyle>;
enum class TFontPitch { fpDefault, fpVariable, fpFixed };

// The name a new font starts with.
inline constexpr const char* kDefaultFontName = "MS Sans Serif";
// The face the framework installs for a font named "Default".
inline constexpr const char* kDefaultFaceName = "Tahoma";
constexpr int kDefaultCharset = 1;
constexpr int kPixelsPerInch = 96;

struct TFontData {
  std::string Name = kDefaultFontName;
  int Height = -11;
  TFontStyles Style;
  TColor Color = clWindowText;
  int Charset = kDefaultCharset;
  TFontPitch Pitch = TFontPitch::fpDefault;
  // Escapement and orientation of the text, in tenths of a degree counter-clockwise.
  int Orientation = 0;
  // Face installed by a logical font (a rotated font may need another face); empty: Name.
  std::string HandleName;
  bool operator==(const TFontData&) const = default;
};

// A platform logical font: what a font handle is built from.
struct TLogFont {
  int Height = 0;
  int Width = 0;
  int Escapement = 0;
  int Orientation = 0;
  int Weight = 400;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  int CharSet = kDefaultCharset;
  int PitchAndFamily = 0;  // 0 default, 1 fixed, 2 variable
  std::string FaceName;
};
constexpr int kDefaultPitch = 0;
constexpr int kFixedPitch = 1;
constexpr int kVariablePitch = 2;
// Longest face name a logical font carries.
constexpr size_t kLFFaceSize = 31;

// Whether a face is an outline (TrueType) font that can be drawn rotated;
// the classic bitmap faces ("MS Sans Serif", "System", ...) are not.
bool IsTrueTypeFace(const std::string& FaceName);

class TFont : public TPersistent {
 public:
  TFont() = default;
  // Copies the attributes, not the OnChange handler.
  TFont(const TFont& o) : TPersistent(), data_(o.data_) {}
  TFont& operator=(const TFont&) = delete;
  std::string ClassName() const override { return "TFont"; }

  const std::string& Name() const { return data_.Name; }
  void SetName(const std::string& Value);
  int Height() const { return data_.Height; }
  void SetHeight(int Value);
  // Points, from the height: -Height * 72 / 96, rounded.
  int Size() const;
  void SetSize(int Value);
  TFontStyles Style() const { return data_.Style; }
  void SetStyle(TFontStyles Value);
  TColor Color() const { return data_.Color; }
  void SetColor(TColor Value);
  int Charset() const { return data_.Charset; }
  void SetCharset(int Value);
  TFontPitch Pitch() const { return data_.Pitch; }
  void SetPitch(TFontPitch Value);
  int Orientation() const { return data_.Orientation; }
  void SetOrientation(int Value);
  // The face a canvas draws with: the handle's face when one was installed, else Name.
  const std::string& FaceName() const { return data_.HandleName.empty() ? data_.Name : data_.HandleName; }

  // Installs a logical font: height, style, character set, pitch, rotation
  // and face to draw with (Name itself is kept). One OnChange.
  void SetHandle(const TLogFont& Value);

  const TFontData& Data() const { return data_; }

  // From another font: every attribute, one OnChange.
  void Assign(const TPersistent& Source) override;

  std::function<void(TFont& Sender)> OnChange;

 protected:
  // Fires OnChange; delta fonts hook in here.
  virtual void Changed();

 private:
  TFontData data_;
};

}  // namespace zp
