// Text in a rectangle: formatted drawing with vertical placement of wrapped
// text, the height of a multi-line text, and word wrapping to a width.
//
//   WrapTextToWidth(canvas, "one two three", 50)  // "one two \r\nthree"
#pragma once

#include <string>

#include "platform/Canvas.h"

namespace zp::chart {

// Draws Text in Rect by Format with a clear brush (restored afterwards).
// Vertically centred (without DT_SINGLELINE) or bottom-aligned text is
// placed by its wrapped height when DT_WORDBREAK is set; without word
// breaking such text is drawn as a single line.
void DrawTextInRect(TCanvas& Canvas, const std::string& Text, TTextFormat Format, TRect Rect);

// The text height of Text times its number of lines (line feeds + 1).
int TextLinesHeight(TCanvas& Canvas, const std::string& Text);

// Text with CR LF inserted before each word that would reach MaxWidth.
// Words break after tabs, spaces and hyphens (which stay at the line's end),
// never inside a quoted run ("..." or '...'); existing line breaks are kept.
// Empty text gives empty text.
std::string WrapTextToWidth(TCanvas& Canvas, const std::string& Text, int MaxWidth);

}  // namespace zp::chart
