#include <gtest/gtest.h>

#include "chart/ZPDeltaFont.h"

using namespace zp;
using namespace zp::chart;

TEST(TZPDeltaFont, KeepsItsDeltasAndFollowsTheOriginalElsewhere) {
  TFont black;
  black.SetColor(clBlack);
  TZPDeltaFont f;
  f.Assign(black);
  f.SetColor(clRed);
  f.ComputeDeltas(&black);
  EXPECT_EQ(f.Deltas(), TDeltaAttributes{TDeltaAttribute::daColor});

  TFont blueBold;
  blueBold.SetColor(clBlue);
  blueBold.SetStyle({TFontStyle::fsBold});
  blueBold.SetName("Arial");
  blueBold.SetSize(12);
  f.ApplyOriginal(&blueBold);
  EXPECT_EQ(f.Color(), clRed);
  EXPECT_TRUE(f.Style().Contains(TFontStyle::fsBold));
  EXPECT_EQ(f.Name(), "Arial");
  EXPECT_EQ(f.Size(), 12);
}

TEST(TZPDeltaFont, ComputesEveryTrackedDifference) {
  TFont o;
  TZPDeltaFont f;
  f.SetStyle({TFontStyle::fsItalic, TFontStyle::fsUnderline, TFontStyle::fsStrikeOut});
  f.SetName("ms sans serif");  // face names compare exactly
  f.SetSize(20);
  f.SetCharset(0);  // not tracked
  f.ComputeDeltas(&o);
  using enum TDeltaAttribute;
  EXPECT_EQ(f.Deltas(), (TDeltaAttributes{daItalic, daUnderline, daStrikeOut, daFace, daSize}));
  f.ComputeDeltas(nullptr);  // no original: unchanged
  EXPECT_TRUE(f.Deltas().Contains(daSize));
  TFont bold;
  bold.SetStyle({TFontStyle::fsBold});
  f.ApplyOriginal(&bold);  // bold is not a delta: taken; italic is: kept
  EXPECT_EQ(f.Style(),
            (TFontStyles{TFontStyle::fsBold, TFontStyle::fsItalic, TFontStyle::fsUnderline, TFontStyle::fsStrikeOut}));
}

TEST(TZPDeltaFont, RecomputesOnChangeAgainstTheFontItIsGiven) {
  TFont original;
  TZPDeltaFont f;
  int notices = 0;
  f.OnChange = [&](TFont&) { ++notices; };
  f.OnGetOriginalFont = [&](TFont&, const TFont*& o) { o = &original; };
  f.SetSize(14);
  EXPECT_EQ(f.Deltas(), TDeltaAttributes{TDeltaAttribute::daSize});
  f.SetSize(original.Size());
  EXPECT_TRUE(f.Deltas().Empty());
  EXPECT_EQ(notices, 2);
  // Applying the original does not recompute the deltas midway.
  f.SetColor(clRed);
  original.SetColor(clLime);
  original.SetSize(30);
  f.ApplyOriginal(&original);
  EXPECT_EQ(f.Color(), clRed);
  EXPECT_EQ(f.Size(), 30);
  EXPECT_EQ(f.Deltas(), TDeltaAttributes{TDeltaAttribute::daColor});
}

TEST(TFont, SizeAndHeightConvertAt96PixelsPerInch) {
  TFont f;
  EXPECT_EQ(f.Size(), 8);
  EXPECT_EQ(f.Height(), -11);
  f.SetSize(10);
  EXPECT_EQ(f.Height(), -13);
  f.SetHeight(-16);
  EXPECT_EQ(f.Size(), 12);
}
