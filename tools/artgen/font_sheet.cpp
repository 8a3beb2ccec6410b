// Font and title sheet: six fonts on the glyph grid, fruit icons, HUD pieces,
// pointer images, the title logo, the title art and the signature strip.
#include <array>
#include <cmath>
#include <string>

#include "flow/frame_layout.h"
#include "flow/sheet_layout.h"
#include "tools/artgen/glyphs.h"
#include "tools/artgen/sheets.h"
#include "tools/artgen/tables.h"

namespace quorin::art {

namespace {

constexpr int kGlyphCapHeight = 11;

struct Tones {
  Colour light, base, dark;
};

// Thin font: one-pixel white strokes with a dark drop shadow so that the HUD
// reads over any background. Ink stays within advance - 1 columns.
void DrawThinGlyph(Image& sheet, int g, char ch) {
  const int span = GlyphAdvancePixels(g) - 3;
  Image cell(kGlyphCell, kGlyphCell);
  TraceGlyph(ShapeOf(ch), 0, 2, span, kGlyphCapHeight,
             [&](int x, int y) { cell.Set(x, y, y >= 11 ? kGrey4 : kWhite); });
  const Image body = cell;
  for (int y = 0; y < kGlyphCell; ++y)
    for (int x = 0; x < kGlyphCell; ++x)
      if (body.Filled(x, y) && !body.Filled(x + 1, y + 1)) cell.Set(x + 1, y + 1, kInk);
  Over(sheet, cell, GlyphCellX(g), GlyphCellY(g));
}

// Bold fonts: two-pixel strokes in three bands with a dark outline. With the
// menus' spacing of -2 neighbouring letters share one outline column.
void DrawBoldGlyph(Image& sheet, int g, char ch, const Tones& tones) {
  const int span = GlyphAdvancePixels(g) - 4;
  Image cell(kGlyphCell, kGlyphCell);
  TraceGlyph(ShapeOf(ch), 1, 1, span, kGlyphCapHeight, [&](int x, int y) {
    for (int j = 0; j < 2; ++j) {
      const int row = y + j;
      const Colour c = row <= 3 ? tones.light : (row >= 9 ? tones.dark : tones.base);
      cell.Set(x, row, c);
      cell.Set(x + 1, row, c);
    }
  });
  Outline(cell, kInk, true);
  Over(sheet, cell, GlyphCellX(g), GlyphCellY(g));
}

// Small font: the design grid at its natural 5 x 7 size, outlined.
void DrawSmallGlyph(Image& sheet, int g, char ch) {
  const GlyphShape& shape = ShapeOf(ch);
  Image cell(kGlyphCell, kGlyphCell);
  TraceGlyph(shape, 1 + (4 - shape.width) / 2, 4, shape.width, 7,
             [&](int x, int y) { cell.Set(x, y, y >= 9 ? kGrey4 : kWhite); });
  Outline(cell, kInk, true);
  Over(sheet, cell, GlyphCellX(g), GlyphCellY(g));
}

void PaintFonts(Image& sheet) {
  for (int ch = kFirstTextChar; ch <= kLastTextChar; ++ch) {
    const char c = static_cast<char>(ch);
    DrawThinGlyph(sheet, GlyphNumber(c, kFontThin), c);
    DrawBoldGlyph(sheet, GlyphNumber(c, kFontBoldWhite), c, {kWhite, kGrey4, kGrey3});
    DrawBoldGlyph(sheet, GlyphNumber(c, kFontBoldYellow), c, {kGold4, kGold3, kGold2});
  }
  for (char c = '0'; c <= '9'; ++c) {
    DrawBoldGlyph(sheet, GlyphNumber(c, kFontRedDigits), c, {kRed4, kRed3, kRed2});
    DrawBoldGlyph(sheet, GlyphNumber(c, kFontYellowDigits), c, {kGold4, kGold3, kGold2});
    DrawSmallGlyph(sheet, GlyphNumber(c, kFontSmall), c);
  }
  for (char c : std::string(":ABCEHIMNORSUX")) DrawSmallGlyph(sheet, GlyphNumber(c, kFontSmall), c);
}

void PaintFruitIcons(Image& sheet) {
  for (int n = 1; n <= kFruitCount; ++n) {
    const SheetRect r = FruitIconRect(n);
    Image box(r.width, r.height);
    FillRect(box, 0, 1, r.width, r.height - 2, kInk);
    FillRect(box, 1, 0, r.width - 2, r.height, kInk);
    FillRect(box, 1, 1, r.width - 2, r.height - 2, kDeep4);
    FillRect(box, 2, 2, r.width - 4, r.height - 4, kDeep3);
    FillRect(box, 2, r.height - 3, r.width - 4, 1, kDeep5);
    FillRect(box, 2, 2, 1, r.height - 4, kDeep2);
    PaintFruit(box, n, r.width / 2, r.height - 4);
    Over(sheet, box, r.x, r.y);
  }
}

void PaintGauge(Image& sheet) {
  // Rows: outline, bright rim, six rows of fill, dim rim, outline.
  constexpr std::array<Colour, 10> kFull{kInk,   kGrey4, kCyan4, kCyan3, kCyan3,
                                         kCyan2, kCyan2, kCyan1, kGrey2, kInk};
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 2; ++x) {
      sheet.Set(kGaugeFull.x + x, kGaugeFull.y + y, kFull[y]);
      if (y < 2 || y > 7) sheet.Set(kGaugeEmpty.x + x, kGaugeEmpty.y + y, kFull[y]);
    }
    const bool edge = y == 0 || y == 9;
    sheet.Set(kGaugeLeftCap.x, kGaugeLeftCap.y + y, edge ? kKey : kInk);
    sheet.Set(kGaugeLeftCap.x + 1, kGaugeLeftCap.y + y, edge ? kInk : kGrey4);
    sheet.Set(kGaugeRightCap.x, kGaugeRightCap.y + y, edge ? kInk : kGrey2);
    sheet.Set(kGaugeRightCap.x + 1, kGaugeRightCap.y + y, edge ? kKey : kInk);
  }
}

void PaintPointers(Image& sheet) {
  const PointerRect& arrowRect = kPointerImages[0];
  Image arrow(arrowRect.width, arrowRect.height);
  FillPolygon(arrow, {{2, 2}, {2, 17}, {6, 13.5f}, {9, 19}, {12, 17.5f}, {9.5f, 12.5f}, {14.5f, 12.5f}},
              kWhite);
  for (int y = 0; y < arrow.height; ++y)
    for (int x = 0; x < arrow.width; ++x)
      if (arrow.Filled(x, y) && (!arrow.Filled(x + 1, y) || !arrow.Filled(x, y + 1))) arrow.Set(x, y, kGrey4);
  arrow.Set(2, 2, kWhite);
  Outline(arrow, kInk, true);
  Over(sheet, arrow, arrowRect.x, arrowRect.y);

  const PointerRect& handRect = kPointerImages[1];
  Image hand(handRect.width, handRect.height);
  FillRect(hand, 6, 2, 3, 10, kWhite);  // index finger, tip at the hot spot
  FillRect(hand, 9, 7, 3, 5, kWhite);
  FillRect(hand, 12, 8, 3, 4, kWhite);
  FillRect(hand, 15, 9, 2, 4, kWhite);
  FillRect(hand, 6, 11, 11, 6, kWhite);                                      // palm
  FillPolygon(hand, {{2, 11}, {4, 10}, {7, 13}, {7, 16}, {5, 16}}, kWhite);  // thumb
  FillRect(hand, 7, 17, 9, 2, kGrey4);                                       // cuff
  Image shaded = hand;
  for (int y = 0; y < hand.height; ++y)
    for (int x = 0; x < hand.width; ++x)
      if (hand.Filled(x, y) && !hand.Filled(x + 1, y)) shaded.Set(x, y, kGrey4);
  for (int y = 8; y < 12; ++y) {
    shaded.Set(9, y, kGrey3);
    shaded.Set(12, y + 1, kGrey3);
    shaded.Set(15, y + 2, kGrey3);
  }
  shaded.Set(7, 2, kWhite);
  Outline(shaded, kInk, true);
  Over(sheet, shaded, handRect.x, handRect.y);
}

// Dithered vertical gradient through the given colours.
Colour GradientAt(const std::vector<Colour>& bands, float t, int x, int y) {
  const float pos = std::clamp(t, 0.0f, 0.999f) * static_cast<float>(bands.size());
  const int i = static_cast<int>(pos);
  const float frac = pos - static_cast<float>(i);
  if (frac > 0.75f && i + 1 < static_cast<int>(bands.size()) && ((x + y) & 1)) return bands[i + 1];
  return bands[i];
}

void PaintLogo(Image& sheet) {
  Image logo(kTitleLogo.width, kTitleLogo.height);
  const std::string word = "QUORIN";
  constexpr float kUnit = 10.0f, kRadius = 7.0f, kTop = 12.0f, kHeight = 62.0f, kGap = 12.0f;
  float total = 0;
  for (char c : word) total += ShapeOf(c).width * kUnit + 2 * kRadius + kGap;
  total -= kGap;
  float left = (kTitleLogo.width - total) / 2 + kRadius;
  Image body(logo.width, logo.height);
  for (char c : word) {
    const GlyphShape& shape = ShapeOf(c);
    TraceGlyphSegments(
        shape, left, kTop, shape.width * kUnit, kHeight,
        [&](float x0, float y0, float x1, float y1) { ThickLine(body, x0, y0, x1, y1, kRadius, kGold3); });
    left += shape.width * kUnit + 2 * kRadius + kGap;
  }
  // Deep extruded shadow, then the lettering with a fiery gradient and bevel.
  for (int d = 6; d >= 1; --d) {
    for (int y = 0; y < logo.height; ++y)
      for (int x = 0; x < logo.width; ++x)
        if (body.Filled(x - d, y - d)) logo.Set(x, y, d > 3 ? kPurple1 : kPurple2);
  }
  const std::vector<Colour> bands{kGold4, kGold3, kGold3, kGold2, kRed3, kRed2};
  for (int y = 0; y < logo.height; ++y) {
    for (int x = 0; x < logo.width; ++x) {
      if (!body.Filled(x, y)) continue;
      Colour c = GradientAt(bands, (y - kTop + kRadius) / (kHeight + 2 * kRadius), x, y);
      if (!body.Filled(x - 2, y - 2) || !body.Filled(x, y - 2)) c = kGold4;
      if (!body.Filled(x + 2, y + 2) || !body.Filled(x + 2, y)) c = y > 48 ? kRed1 : kGold1;
      if (!body.Filled(x - 1, y - 1) && body.Filled(x + 1, y + 1)) c = kWhite;
      logo.Set(x, y, c);
    }
  }
  Outline(logo, kInk, true);
  Outline(logo, kInk, false);
  // A few glints on the letters.
  for (const auto& [gx, gy] : std::vector<std::pair<int, int>>{{40, 16}, {178, 18}, {302, 17}}) {
    for (int i = -3; i <= 3; ++i) {
      logo.Set(gx + i, gy, i == 0 ? kWhite : kGold4);
      logo.Set(gx, gy + i, i == 0 ? kWhite : kGold4);
    }
  }
  Over(sheet, logo, kTitleLogo.x, kTitleLogo.y);
}

void PaintSignature(Image& sheet) {
  Image strip(kSignature.width, kSignature.height);
  // Emblem: a faceted gold gem in a ring.
  FillEllipse(strip, 12, 13, 10, 10, kInk);
  FillEllipse(strip, 12, 13, 9, 9, kDeep5);
  FillEllipse(strip, 12, 13, 7, 7, kDeep3);
  FillPolygon(strip, {{12, 6}, {18, 12}, {12, 20}, {6, 12}}, kGold3);
  FillPolygon(strip, {{12, 6}, {12, 20}, {6, 12}}, kGold4);
  FillPolygon(strip, {{6, 12}, {18, 12}, {12, 20}}, kGold2);
  strip.Set(12, 12, kWhite);
  Image text(strip.width, strip.height);
  const std::string name = "Brightvault";
  constexpr float kUnit = 2.2f, kTop = 3.0f, kCap = 14.0f;
  float left = 30;
  for (char c : name) {
    const GlyphShape& shape = ShapeOf(c);
    TraceGlyphSegments(
        shape, left, kTop, shape.width * kUnit, kCap,
        [&](float x0, float y0, float x1, float y1) { ThickLine(text, x0, y0, x1, y1, 1.1f, kWhite); });
    left += shape.width * kUnit + 5.0f;
  }
  for (int y = 0; y < text.height; ++y)
    for (int x = 0; x < text.width; ++x)
      if (text.Filled(x, y) && y > 12) text.Set(x, y, y > 15 ? kGrey3 : kGrey4);
  Outline(text, kInk, true);
  Over(strip, text, 0, 0);
  Over(sheet, strip, kSignature.x, kSignature.y);
}

}  // namespace

Image PaintFontSheet(const Image& actors) {
  Image sheet(kSheetSize, kSheetSize);
  PaintFonts(sheet);
  PaintFruitIcons(sheet);
  PaintGauge(sheet);
  Image gem(kGemIcon.width, kGemIcon.height);
  PaintGem(gem, 0, 0, kGemIcon.width, kGemIcon.height);
  Over(sheet, gem, kGemIcon.x, kGemIcon.y);
  PaintPointers(sheet);
  PaintLogo(sheet);
  Over(sheet, PaintTitleArt(actors), kTitleArt.x, kTitleArt.y);
  PaintSignature(sheet);
  return sheet;
}

}  // namespace quorin::art
