// The four per-iteration draw queues. Game code never draws: it appends
// requests here, and the render pass draws them in a fixed layer order.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "flow/sheet_layout.h"
#include "runtime/array.h"
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

// One animation frame: its rectangle on the actors sheet and its hot spot.
struct FrameDef {
  std::int32_t defined;
  std::int32_t hotX;
  std::int32_t hotY;
  std::int32_t x;
  std::int32_t y;
  std::int32_t width;
  std::int32_t height;
};

// A pointer picture on the font sheet.
struct PointerImage {
  std::int32_t x;
  std::int32_t y;
  std::int32_t width;
  std::int32_t height;
  std::int32_t hotX;
  std::int32_t hotY;
};
inline constexpr int kPointerImageSlots = 5;

// The drawing state of the flow: queues, glyph advances, frames, pointer images.
struct Presentation {
  List<TileRequest> tileQueue;
  List<FrameRequest> frameQueue;
  List<SheetClipRequest> sheetClipQueue;
  List<TextRequest> textQueue;
  std::array<float, kGlyphCount> glyphAdvance{};
  Array<FrameDef> frameTable;  // by frame id, 0..4080
  Array<PointerImage> pointerImages;
  Array<std::int32_t> backgroundMap;  // 129 x 129 tile numbers, [x][y]
};

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
