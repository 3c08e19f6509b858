#include "chart/ZPTextInRect.h"

#include <algorithm>

namespace zp::chart {

namespace {

bool IsBreak(char c) { return c == '\t' || c == ' ' || c == '-'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
bool IsQuote(char c) { return c == '"' || c == '\''; }

// End (exclusive) of the token starting at Pos; never reaches Last, the
// index of the text's last character.
size_t TokenEnd(const std::string& s, size_t Pos, size_t Last) {
  size_t i = Pos;
  while (i < Last && !IsBreak(s[i]) && !IsLineEnd(s[i])) {
    if (IsQuote(s[i])) {
      // The quoted run, closing quote included, so the closing quote does
      // not open another run.
      ++i;
      while (i < Last && !IsQuote(s[i])) ++i;
      if (i < Last) ++i;
      continue;
    }
    ++i;
  }
  while (i < Last && IsBreak(s[i])) ++i;
  while (i < Last && IsLineEnd(s[i])) ++i;
  return i;
}

bool EndsWithCRLF(const std::string& t) { return t.size() >= 2 && t.compare(t.size() - 2, 2, "\r\n") == 0; }

}  // namespace

int TextLinesHeight(TCanvas& Canvas, const std::string& Text) {
  return Canvas.TextHeight(Text) * static_cast<int>(std::count(Text.begin(), Text.end(), '\n') + 1);
}

std::string WrapTextToWidth(TCanvas& Canvas, const std::string& Text, int MaxWidth) {
  if (Text.empty()) return {};
  const size_t last = Text.size() - 1;
  std::string out;
  int line_width = 0;
  bool at_line_start = true;
  for (size_t pos = 0; pos < last;) {
    const size_t end = TokenEnd(Text, pos, last);
    const std::string token = Text.substr(pos, end - pos);
    const int w = Canvas.TextWidth(token);
    if (at_line_start || line_width + w < MaxWidth) {
      out += token;
      line_width += w;
      at_line_start = EndsWithCRLF(token);
      if (at_line_start) line_width = 0;
    } else if (EndsWithCRLF(token)) {
      out += token;
      at_line_start = true;
      line_width = 0;
    } else {
      out += "\r\n" + token;
      line_width = w;
    }
    pos = end;
  }
  out += Text[last];
  return out;
}

void DrawTextInRect(TCanvas& Canvas, const std::string& Text, TTextFormat Format, TRect Rect) {
  const TBrushStyle saved = Canvas.Brush().Style();
  Canvas.Brush().SetStyle(TBrushStyle::bsClear);
  if (((Format & DT_VCENTER) && !(Format & DT_SINGLELINE)) || (Format & DT_BOTTOM)) {
    if (Format & DT_WORDBREAK) {
      const int height = TextLinesHeight(Canvas, WrapTextToWidth(Canvas, Text, Rect.Width()));
      if (Format & DT_BOTTOM)
        Rect.Top = Rect.Bottom - height;
      else
        Rect.Top = Rect.Top + Rect.Height() / 2 - height / 2;
    } else {
      Format |= DT_SINGLELINE;
    }
  }
  Canvas.DrawText(Text, Rect, Format);
  Canvas.Brush().SetStyle(saved);
}

}  // namespace zp::chart
