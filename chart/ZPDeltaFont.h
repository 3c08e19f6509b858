// The delta font: a font that records which of its attributes differ from an
// original font (its deltas) so that it can follow that original in all the
// others. Every chart text uses one; the panel pushes its font with
// ApplyOriginal, and elements record their own differences with ComputeDeltas.
//
//   TZPDeltaFont f;  f.Assign(panelFont);  f.SetColor(clBlue);
//   f.ComputeDeltas(&panelFont);            // Deltas() == {daColor}
//   panelFont.SetStyle({fsBold});  f.ApplyOriginal(&panelFont);   // bold, still blue
#pragma once

#include <functional>

#include "platform/Font.h"
#include "platform/Set.h"

namespace zp::chart {

enum class TDeltaAttribute { daBold, daColor, daFace, daItalic, daSize, daStrikeOut, daUnderline };
using TDeltaAttributes = Set<TDeltaAttribute>;

// Asked for the original font; leave Font nullptr for none.
using TFontEvent = std::function<void(TFont& Sender, const TFont*& Font)>;

class TZPCustomDeltaFont : public TFont {
 public:
  TZPCustomDeltaFont() = default;
  std::string ClassName() const override { return "TZPCustomDeltaFont"; }

  TDeltaAttributes Deltas() const { return deltas_; }
  // Stores without a change notification.
  void SetDeltas(TDeltaAttributes Value) { deltas_ = Value; }

  // Deltas become the attributes (style flags, colour, face name compared
  // exactly, size) in which this font differs from Original. Nothing for a
  // null Original or while updating.
  virtual void ComputeDeltas(const TFont* Original);
  // Copies from Original every tracked attribute that is not a delta: the
  // style flags (one style change), then colour, name and size. Character
  // set, pitch, height as such and orientation are not tracked.
  virtual void ApplyOriginal(const TFont* Original);

  TFontEvent OnGetOriginalFont;

 protected:
  // Unless updating, recomputes the deltas against the font OnGetOriginalFont
  // gives; then notifies as every font does.
  void Changed() override;

 private:
  TDeltaAttributes deltas_;
  bool updating_ = false;
};

class TZPDeltaFont : public TZPCustomDeltaFont {
 public:
  using TZPCustomDeltaFont::TZPCustomDeltaFont;
  std::string ClassName() const override { return "TZPDeltaFont"; }
};

}  // namespace zp::chart
