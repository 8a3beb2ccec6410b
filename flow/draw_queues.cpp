#include "flow/draw_queues.h"

#include "flow/game.h"

namespace quorin {

std::int32_t GlyphAdvanceOf(const Presentation& p, std::int32_t glyph) {
  if (glyph < 0 || glyph >= kGlyphCount) return 0;
  return static_cast<std::int32_t>(p.glyphAdvance[static_cast<std::size_t>(glyph)]);
}

void QueueTile(Game& game, std::int32_t tile, std::int32_t x, std::int32_t y) {
  ListInsert(game.presentation.tileQueue) = {tile, x, y};
}

void QueueFrame(Game& game, std::int32_t frame, std::int32_t x, std::int32_t y) {
  ListInsert(game.presentation.frameQueue) = {frame, x, y};
}

void QueueSheetClip(Game& game, std::int32_t srcX, std::int32_t srcY, std::int32_t width, std::int32_t height,
                    std::int32_t dstX, std::int32_t dstY) {
  ListInsert(game.presentation.sheetClipQueue) = {srcX, srcY, width, height, dstX, dstY};
}

std::int32_t TextWidth(const Game& game, std::string_view text, std::int32_t glyphBase, std::int32_t spacing) {
  std::int32_t w = 0;
  for (char c : text) {
    w += GlyphAdvanceOf(game.presentation, GlyphNumber(c, glyphBase)) + spacing;
  }
  return w - spacing;
}

void QueueText(Game& game, std::string_view text, std::int32_t glyphBase, std::int32_t x, std::int32_t y,
               std::int32_t spacing, std::int32_t align) {
  if (align == 1) x -= TextWidth(game, text, glyphBase, spacing) / 2;
  else if (align == 2) x -= TextWidth(game, text, glyphBase, spacing);
  TextRequest& r = ListInsert(game.presentation.textQueue);
  r.text = text;
  r.x = x;
  r.y = y;
  r.spacing = spacing;
  r.glyphBase = glyphBase;
}

void ClearDrawQueues(Game& game) {
  Presentation& p = game.presentation;
  ListClearAll(p.frameQueue);
  ListClearAll(p.sheetClipQueue);
  ListClearAll(p.textQueue);
  ListClearAll(p.tileQueue);
}

}  // namespace quorin
