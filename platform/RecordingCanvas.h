// TRecordingCanvas: a canvas that draws nothing and records every drawing
// call with its arguments and the pen, brush, font and clip in force, so
// tests can assert geometry and drawing order.
//
// Text metrics are deterministic: with h = |Font().Height()| pixels (11 for
// the default 8-point font), a line of text is h pixels high and every
// character (UTF-8 code point, including blanks) is h / 2 pixels wide, the
// total truncated: "ABCDEFGH" at Height -10 measures (40, 10).
//
//   TRecordingCanvas c;
//   c.Rectangle(Rect(0, 0, 10, 10));
//   EXPECT_EQ(c.Calls()[0].Op, "Rectangle");
#pragma once

#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace zp {

struct TCanvasCall {
  // The operation's name: "LineTo", "Polyline", "Polygon", "Rectangle",
  // "RoundRect", "Ellipse", "FillRect", "TextOut", "TextRect", "DrawText",
  // "SetClipRect", "RemoveClip", "Draw", "StretchDraw", "DrawFocusRect",
  // "GradientFillTriangles".
  std::string Op;
  // The rectangle argument: the shape, the clip, the text or picture box.
  TRect Rect;
  // Points: a line's start and end, polyline/polygon points, a text position,
  // a picture's position.
  TPoints Points;
  // Further integers: RoundRect's corner (CX, CY), DrawText's format, a picture's size.
  std::vector<int> Ints;
  std::string Text;
  std::vector<TTriVertex> Vertices;
  std::vector<TGradientTriangle> Triangles;
  // What was in force.
  TPenData Pen;
  TBrushData Brush;
  TFontData Font;
  std::optional<TRect> Clip;
};

class TRecordingCanvas : public TCanvas {
 public:
  TRecordingCanvas() = default;

  const std::vector<TCanvasCall>& Calls() const { return calls_; }
  // The calls named Op, in order.
  std::vector<TCanvasCall> CallsOf(const std::string& Op) const;
  void Clear() { calls_.clear(); }

  void LineTo(int X, int Y) override;
  void Polyline(const TPoints& Points) override;
  void Polygon(const TPoints& Points) override;
  void Rectangle(const TRect& R) override;
  void RoundRect(const TRect& R, int CX, int CY) override;
  void Ellipse(const TRect& R) override;
  void FillRect(const TRect& R) override;
  void TextOut(int X, int Y, const std::string& Text) override;
  void TextRect(const TRect& R, int X, int Y, const std::string& Text) override;
  // Records; the height is the line height times the number of lines ("\n"
  // separated). With DT_CALCRECT, R gets the widest line's width and that height.
  int DrawText(const std::string& Text, TRect& R, TTextFormat Format) override;
  TSize TextExtent(const std::string& Text) override;
  void SetClipRect(const TRect& R) override;
  void RemoveClip() override;
  void Draw(int X, int Y, const TGraphic& Graphic) override;
  void StretchDraw(const TRect& R, const TGraphic& Graphic) override;
  void DrawFocusRect(const TRect& R) override;
  void GradientFillTriangles(const std::vector<TTriVertex>& Vertices,
                             const std::vector<TGradientTriangle>& Triangles) override;

 private:
  TCanvasCall& Record(const char* Op);
  std::vector<TCanvasCall> calls_;
};

}  // namespace zp
