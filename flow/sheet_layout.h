// Regions of the font and title sheet and the numbering of the tiles sheet. Plain
// data shared by the art generator, the drawing code and the sheet contract test.
#pragma once

#include <array>
#include <string_view>

namespace quorin {

inline constexpr int kSheetSize = 512;  // every sprite sheet is square

// Embedded file names (below assets/).
inline constexpr std::string_view kActorsSheetFile = "actors.png";
inline constexpr std::string_view kTilesSheetFile = "tiles.png";
inline constexpr std::string_view kFontSheetFile = "font.png";
inline constexpr std::string_view kNoiseTextureFile = "noise.png";
// 1024 little-endian floats: glyph advance as a fraction of a 16-pixel cell.
inline constexpr std::string_view kGlyphWidthsFile = "glyph_widths.bin";
// The data table: the eight aim offsets as (dx, dy) little-endian int32 pairs.
inline constexpr std::string_view kAimOffsetsFile = "aim_offsets.bin";

// Glyphs: 16 x 16 cells, 32 per row; character ch of font f is glyph ch - 32 + f.
inline constexpr int kGlyphCell = 16;
inline constexpr int kGlyphsPerRow = 32;
inline constexpr int kGlyphCount = 1024;
inline constexpr int kFirstTextChar = 32;  // space
inline constexpr int kLastTextChar = 95;   // underscore

inline constexpr int kFontThin = 0;
inline constexpr int kFontBoldWhite = 64;
inline constexpr int kFontBoldYellow = 128;
inline constexpr int kFontRedDigits = 192;
inline constexpr int kFontYellowDigits = 224;
inline constexpr int kFontSmall = 256;

constexpr int GlyphNumber(char ch, int glyphBase) {
  return static_cast<unsigned char>(ch) - 32 + glyphBase;
}
constexpr int GlyphCellX(int glyph) {
  return (glyph % kGlyphsPerRow) * kGlyphCell;
}
constexpr int GlyphCellY(int glyph) {
  return (glyph / kGlyphsPerRow) * kGlyphCell;
}

struct SheetRect {
  int x, y, width, height;
};

// Boxed icon of fruit n (1..8) for the HUD fruit row.
inline constexpr int kFruitCount = 8;
constexpr SheetRect FruitIconRect(int n) {
  return {32 * (n - 1), 96, 22, 24};
}

inline constexpr SheetRect kGaugeLeftCap{0, 160, 2, 10};
inline constexpr SheetRect kGaugeFull{2, 160, 2, 10};
inline constexpr SheetRect kGaugeEmpty{4, 160, 2, 10};
inline constexpr SheetRect kGaugeRightCap{6, 160, 2, 10};
inline constexpr SheetRect kGemIcon{16, 160, 8, 10};
inline constexpr SheetRect kTitleLogo{64, 160, 400, 96};
inline constexpr SheetRect kTitleArt{0, 256, 320, 256};
inline constexpr SheetRect kSignature{340, 486, 168, 26};

// Tiles sheet: tile t is the 16 x 16 cell at column t % 32, row t / 32.
inline constexpr int kTileSize = 16;
inline constexpr int kTilesPerRow = 32;
inline constexpr int kTileCount = 1024;
constexpr int TileX(int tile) {
  return (tile % kTilesPerRow) * kTileSize;
}
constexpr int TileY(int tile) {
  return (tile / kTilesPerRow) * kTileSize;
}

// Rock kinds: base + neighbour mask (1 up, 2 right, 4 down, 8 left)
// + 16 * (column & 1) + 32 * (row & 1).
inline constexpr int kRockKinds = 4;
inline constexpr std::array<int, kRockKinds> kRockTileBase{128, 192, 256, 320};  // blue, green, purple, grey
inline constexpr int kDecorationATiles = 512;                                    // + running counter 0..15
inline constexpr int kDecorationBTile = 528;
inline constexpr int kHangingHazardTile = 544;
inline constexpr int kStandingHazardTile = 545;
inline constexpr int kCheckpointTile = 546;
inline constexpr int kCurrentCheckpointTile = 547;
// Background: same scheme as rock, grey noise pixels from 576, white ones from 640.
inline constexpr int kBackgroundGreyBase = 576;
inline constexpr int kBackgroundWhiteBase = 640;

inline constexpr int kNoiseTextureSize = 128;

}  // namespace quorin
