// The four per-iteration draw queues. Game code never draws: it appends
// requests here, and the render pass draws them in a fixed layer order.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "runtime/list.h"
#include "runtime/text.h"

namespace quorin {

struct Game;

struct TileRequest {
  std::int32_t tile;  // 0..1023
  std::int32_t x;     // canvas pixels, top-left
  std::int32_t y;
};

struct FrameRequest {
  std::int32_t frame;  // 1..4080
  std::int32_t x;      // canvas pixels of the hot spot
  std::int32_t y;
};

struct SheetClipRequest {
  std::int32_t srcX;  // rectangle on the font and title sheet
  std::int32_t srcY;
  std::int32_t width;
  std::int32_t height;
  std::int32_t dstX;
  std::int32_t dstY;
};

struct TextRequest {
  Text text;
  std::int32_t x;  // left edge after alignment
  std::int32_t y;
  std::int32_t spacing;
  std::int32_t glyphBase;
};

inline constexpr int kGlyphCount = 1024;
inline constexpr int kGlyphCellSize = 16;
inline constexpr int kGlyphsPerRow = 32;

// Font numbers: the first glyph of each font.
inline constexpr std::int32_t kFontThin = 0;
inline constexpr std::int32_t kFontBold = 64;
inline constexpr std::int32_t kFontBoldYellow = 128;
inline constexpr std::int32_t kFontRedDigits = 192;
inline constexpr std::int32_t kFontYellowDigits = 224;
inline constexpr std::int32_t kFontSmall = 256;

// The drawing state of the flow: queues, glyph advances, pointer images.
struct Presentation {
  List<TileRequest> tileQueue;
  List<FrameRequest> frameQueue;
  List<SheetClipRequest> sheetClipQueue;
  List<TextRequest> textQueue;
  std::array<float, kGlyphCount> glyphAdvance{};
};

// Glyph number of a character in a font; the cell is at
// ((g % 32) * 16, (g / 32) * 16) on the font sheet.
inline std::int32_t GlyphOf(unsigned char code, std::int32_t glyphBase) { return code - 32 + glyphBase; }
// Advance of glyph g in pixels; glyphs outside the table advance by nothing.
std::int32_t GlyphAdvanceOf(const Presentation& p, std::int32_t glyph);

void QueueTile(Game& game, std::int32_t tile, std::int32_t x, std::int32_t y);
void QueueFrame(Game& game, std::int32_t frame, std::int32_t x, std::int32_t y);
void QueueSheetClip(Game& game, std::int32_t srcX, std::int32_t srcY, std::int32_t width, std::int32_t height,
                    std::int32_t dstX, std::int32_t dstY);
// align 0: x is the left edge; 1: centred on x; 2: right edge at x.
void QueueText(Game& game, std::string_view text, std::int32_t glyphBase, std::int32_t x, std::int32_t y,
               std::int32_t spacing, std::int32_t align);
// Width as drawn: the advances plus spacing between characters (an empty
// text measures -spacing).
std::int32_t TextWidth(const Game& game, std::string_view text, std::int32_t glyphBase, std::int32_t spacing);

// Empties the queues at the end of every active iteration, drawn or not.
void ClearDrawQueues(Game& game);

}  // namespace quorin
