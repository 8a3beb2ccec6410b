// Our letter shapes, drawn as strokes on a small grid so that one design serves
// every font size: the thin and bold fonts, the small digits, the title logo and
// the signature strip.
#pragma once

#include <functional>
#include <vector>

#include "tools/artgen/image.h"

namespace quorin::art {

// Grid: x from 0 to width (usually 4), y from 0 (cap top) to 6 (baseline); 7 and
// 8 reach below the baseline.
struct GlyphShape {
  int width = 4;
  std::vector<std::vector<std::pair<int, int>>> strokes;  // polylines; one point = a dot
};

// Shape of a character: upper case 32..95 and the few lower-case letters the
// signature needs. Unknown characters have no strokes.
const GlyphShape& ShapeOf(char ch);

// Maps the grid onto pixels: x to left + round(x * span / width), y to
// top + round(y * (height - 1) / 6), and calls stamp(px, py) on every pixel of
// every stroke.
void TraceGlyph(const GlyphShape& shape, int left, int top, int span, int height,
                const std::function<void(int, int)>& stamp);

// The same strokes as floating-point segments for large smooth letters.
void TraceGlyphSegments(const GlyphShape& shape, float left, float top, float span, float height,
                        const std::function<void(float, float, float, float)>& segment);

}  // namespace quorin::art
