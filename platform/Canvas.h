// TCanvas: the 2-D drawing surface the chart draws on. It holds the current
// pen, brush and font (select one by assigning into Pen(), Brush(), Font())
// and a rectangular clip. Pixel conventions: rectangles are right- and
// bottom-exclusive; a line from A to B covers A but not B; text is placed by
// the top-left corner of its unrotated box and turns by Font().Orientation()
// (tenths of a degree, counter-clockwise) about that corner; a clear brush
// makes text and shapes unfilled.
//
// Implementations: TRecordingCanvas (tests) and TQtCanvas (chart/qt).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Brush.h"
#include "platform/Font.h"
#include "platform/Geometry.h"
#include "platform/Pen.h"
#include "platform/Picture.h"

namespace zp {

// Formatted-text flags of DrawText (bit values of the desktop platform).
using TTextFormat = uint32_t;
constexpr TTextFormat DT_LEFT = 0x0000;
constexpr TTextFormat DT_TOP = 0x0000;
constexpr TTextFormat DT_CENTER = 0x0001;
constexpr TTextFormat DT_RIGHT = 0x0002;
constexpr TTextFormat DT_VCENTER = 0x0004;
constexpr TTextFormat DT_BOTTOM = 0x0008;
constexpr TTextFormat DT_WORDBREAK = 0x0010;
constexpr TTextFormat DT_SINGLELINE = 0x0020;
constexpr TTextFormat DT_NOCLIP = 0x0100;
constexpr TTextFormat DT_CALCRECT = 0x0400;

// A corner of a gradient triangle: position and 16-bit channels (byte x 256).
struct TTriVertex {
  int X = 0;
  int Y = 0;
  uint16_t Red = 0;
  uint16_t Green = 0;
  uint16_t Blue = 0;
  uint16_t Alpha = 0;
  bool operator==(const TTriVertex&) const = default;
};

// Indexes into a vertex array.
struct TGradientTriangle {
  uint32_t Vertex1 = 0;
  uint32_t Vertex2 = 0;
  uint32_t Vertex3 = 0;
  bool operator==(const TGradientTriangle&) const = default;
};

class TCanvas {
 public:
  virtual ~TCanvas() = default;
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TPen& Pen() { return pen_; }
  TBrush& Brush() { return brush_; }
  TFont& Font() { return font_; }
  const TPen& Pen() const { return pen_; }
  const TBrush& Brush() const { return brush_; }
  const TFont& Font() const { return font_; }

  // Current pen position, the start of the next LineTo.
  TPoint PenPos() const { return pen_pos_; }
  void MoveTo(int X, int Y) { pen_pos_ = {X, Y}; }
  // Line from the pen position to (X, Y), the end pixel left out; moves the pen there.
  virtual void LineTo(int X, int Y) = 0;
  // Connected lines through Points with the pen; fewer than two points draw nothing.
  virtual void Polyline(const TPoints& Points) = 0;
  // Closed shape: filled with the brush, outlined with the pen.
  virtual void Polygon(const TPoints& Points) = 0;
  // Outline with the pen, inside filled with the brush.
  virtual void Rectangle(const TRect& R) = 0;
  // Rectangle with corners rounded by an ellipse of CX x CY.
  virtual void RoundRect(const TRect& R, int CX, int CY) = 0;
  // Ellipse inscribed in R.
  virtual void Ellipse(const TRect& R) = 0;
  // R filled with the brush, no outline; a clear brush fills nothing.
  virtual void FillRect(const TRect& R) = 0;

  // Text with its top-left corner at (X, Y), not clipped.
  virtual void TextOut(int X, int Y, const std::string& Text) = 0;
  // Text at (X, Y) clipped to R.
  virtual void TextRect(const TRect& R, int X, int Y, const std::string& Text) = 0;
  // Formatted text in R by DT_* flags (alignment, word breaking, single line,
  // no clipping). With DT_CALCRECT nothing is drawn and R receives the size
  // the text needs. Returns the height of the text.
  virtual int DrawText(const std::string& Text, TRect& R, TTextFormat Format) = 0;
  // Width and height of Text (one line) in the current font.
  virtual TSize TextExtent(const std::string& Text) = 0;
  int TextWidth(const std::string& Text) { return TextExtent(Text).cx; }
  int TextHeight(const std::string& Text) { return TextExtent(Text).cy; }

  // Restricts drawing to R (replacing any previous clip); an empty R hides everything.
  virtual void SetClipRect(const TRect& R) { clip_ = R; }
  // Drawing goes anywhere again.
  virtual void RemoveClip() { clip_.reset(); }
  const std::optional<TRect>& ClipRect() const { return clip_; }

  // The graphic unscaled with its top-left corner at (X, Y).
  virtual void Draw(int X, int Y, const TGraphic& Graphic) = 0;
  // The graphic stretched into R.
  virtual void StretchDraw(const TRect& R, const TGraphic& Graphic) = 0;
  // The dotted rectangle that marks keyboard focus or a rubber band.
  virtual void DrawFocusRect(const TRect& R) = 0;
  // Triangles shaded between their corners' colours.
  virtual void GradientFillTriangles(const std::vector<TTriVertex>& Vertices,
                                     const std::vector<TGradientTriangle>& Triangles) = 0;

 protected:
  TCanvas() = default;

 private:
  TPen pen_;
  TBrush brush_;
  TFont font_;
  TPoint pen_pos_;
  std::optional<TRect> clip_;
};

}  // namespace zp
