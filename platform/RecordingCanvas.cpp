#include "platform/RecordingCanvas.h"

#include <algorithm>
#include <cstdlib>

namespace zp {

namespace {
int CodePoints(const std::string& s) {
  int n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}
}  // namespace

std::vector<TCanvasCall> TRecordingCanvas::CallsOf(const std::string& Op) const {
  std::vector<TCanvasCall> out;
  std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(out), [&](const TCanvasCall& c) { return c.Op == Op; });
  return out;
}

TCanvasCall& TRecordingCanvas::Record(const char* Op) {
  TCanvasCall& c = calls_.emplace_back();
  c.Op = Op;
  c.Pen = Pen().Data();
  c.Brush = Brush().Data();
  c.Font = Font().Data();
  c.Clip = ClipRect();
  return c;
}

void TRecordingCanvas::LineTo(int X, int Y) {
  Record("LineTo").Points = {PenPos(), {X, Y}};
  MoveTo(X, Y);
}

void TRecordingCanvas::Polyline(const TPoints& Points) { Record("Polyline").Points = Points; }

void TRecordingCanvas::Polygon(const TPoints& Points) { Record("Polygon").Points = Points; }

void TRecordingCanvas::Rectangle(const TRect& R) { Record("Rectangle").Rect = R; }

void TRecordingCanvas::RoundRect(const TRect& R, int CX, int CY) {
  TCanvasCall& c = Record("RoundRect");
  c.Rect = R;
  c.Ints = {CX, CY};
}

void TRecordingCanvas::Ellipse(const TRect& R) { Record("Ellipse").Rect = R; }

void TRecordingCanvas::FillRect(const TRect& R) { Record("FillRect").Rect = R; }

void TRecordingCanvas::TextOut(int X, int Y, const std::string& Text) {
  TCanvasCall& c = Record("TextOut");
  c.Points = {{X, Y}};
  c.Text = Text;
}

void TRecordingCanvas::TextRect(const TRect& R, int X, int Y, const std::string& Text) {
  TCanvasCall& c = Record("TextRect");
  c.Rect = R;
  c.Points = {{X, Y}};
  c.Text = Text;
}

int TRecordingCanvas::DrawText(const std::string& Text, TRect& R, TTextFormat Format) {
  int lines = 1;
  int widest = 0;
  size_t start = 0;
  for (;;) {
    const size_t end = Text.find('\n', start);
    std::string line = Text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    widest = std::max(widest, TextWidth(line));
    if (end == std::string::npos) break;
    ++lines;
    start = end + 1;
  }
  const int height = lines * TextHeight("A");
  if (Format & DT_CALCRECT) {
    R.Right = R.Left + widest;
    R.Bottom = R.Top + height;
    return height;
  }
  TCanvasCall& c = Record("DrawText");
  c.Rect = R;
  c.Ints = {static_cast<int>(Format)};
  c.Text = Text;
  return height;
}

TSize TRecordingCanvas::TextExtent(const std::string& Text) {
  const int h = std::abs(Font().Height());
  return {CodePoints(Text) * h / 2, h};
}

void TRecordingCanvas::SetClipRect(const TRect& R) {
  TCanvas::SetClipRect(R);
  Record("SetClipRect").Rect = R;
}

void TRecordingCanvas::RemoveClip() {
  TCanvas::RemoveClip();
  Record("RemoveClip");
}

void TRecordingCanvas::Draw(int X, int Y, const TGraphic& Graphic) {
  TCanvasCall& c = Record("Draw");
  c.Points = {{X, Y}};
  c.Rect = {X, Y, X + Graphic.Width(), Y + Graphic.Height()};
  c.Ints = {Graphic.Width(), Graphic.Height()};
}

void TRecordingCanvas::StretchDraw(const TRect& R, const TGraphic& Graphic) {
  TCanvasCall& c = Record("StretchDraw");
  c.Rect = R;
  c.Ints = {Graphic.Width(), Graphic.Height()};
}

void TRecordingCanvas::DrawFocusRect(const TRect& R) { Record("DrawFocusRect").Rect = R; }

void TRecordingCanvas::GradientFillTriangles(const std::vector<TTriVertex>& Vertices,
                                             const std::vector<TGradientTriangle>& Triangles) {
  TCanvasCall& c = Record("GradientFillTriangles");
  c.Vertices = Vertices;
  c.Triangles = Triangles;
}

}  // namespace zp
