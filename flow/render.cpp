#include "flow/render.h"

#include "flow/frame_layout.h"
#include "flow/game.h"
#include "flow/picture_quad.h"
#include "flow/sprite_sheets.h"

namespace quorin {

namespace {

constexpr std::int32_t kBlack = ColourPack(0, 0, 0);

// Only ids of the game's own numbering are drawn: a stray frame 0 or tile -15
// would otherwise blit the canvas or the font sheet.
void DrawTiles(Game& game) {
  VideoState& video = game.video;
  game.presentation.tileQueue.ForEach([&](const TileRequest& r) {
    if (r.tile < 0 || r.tile >= kTileCount) return;
    SpriteDrawKeyed(video, kFirstTileSprite + r.tile, r.x, r.y);
  });
}

void DrawFrames(Game& game) {
  VideoState& video = game.video;
  const Array<FrameDef>& table = game.presentation.frameTable;
  game.presentation.frameQueue.ForEach([&](const FrameRequest& r) {
    if (r.frame <= 0 || static_cast<std::size_t>(r.frame) >= table.Size()) return;
    const FrameDef& f = table[static_cast<std::size_t>(r.frame)];
    SpriteDrawKeyed(video, r.frame, r.x - f.hotX, r.y - f.hotY);
  });
}

void DrawSheetClips(Game& game) {
  VideoState& video = game.video;
  game.presentation.sheetClipQueue.ForEach([&](const SheetClipRequest& r) {
    SpriteClip(video, kFontSheetSprite, r.srcX, r.srcY, r.width, r.height);
    SpriteDrawKeyed(video, kFontSheetSprite, r.dstX, r.dstY);
  });
}

void DrawTexts(Game& game) {
  VideoState& video = game.video;
  const Presentation& p = game.presentation;
  p.textQueue.ForEach([&](const TextRequest& r) {
    std::int32_t pen = r.x;
    for (char c : r.text) {
      const std::int32_t g = GlyphNumber(c, r.glyphBase);
      // A code below the font has no cell; it advances by nothing, as TextWidth counts it.
      if (g >= 0 && g < kGlyphCount) {
        SpriteClip(video, kFontSheetSprite, GlyphCellX(g), GlyphCellY(g), kGlyphCell, kGlyphCell);
        SpriteDrawKeyed(video, kFontSheetSprite, pen, r.y);
      }
      pen += GlyphAdvanceOf(p, g) + r.spacing;
    }
  });
}

void DrawPointer(Game& game) {
  const std::int32_t index = game.shell.pointerImage;
  const Array<PointerImage>& images = game.presentation.pointerImages;
  if (index <= 0 || static_cast<std::size_t>(index) >= images.Size()) return;
  const PointerImage& image = images[static_cast<std::size_t>(index)];
  VideoState& video = game.video;
  SpriteClip(video, kFontSheetSprite, image.x, image.y, image.width, image.height);
  SpriteDrawKeyed(video, kFontSheetSprite,
                  FloatToIntTruncate(game.shell.pointerX - static_cast<float>(image.hotX)),
                  FloatToIntTruncate(game.shell.pointerY - static_cast<float>(image.hotY)));
}

}  // namespace

void RenderFrame(Game& game) {
  VideoState& video = game.video;
  // The back buffer's black is the bars around the picture.
  DrawTargetSelect(video, kBackBuffer);
  ScreenClear(video, kBlack);

  DrawTargetSelect(video, kCanvasSprite);
  ScreenClear(video, game.shell.clearColour);
  DrawTiles(game);
  DrawFrames(game);
  DrawSheetClips(game);
  DrawTexts(game);
  DrawPointer(game);

  // Only the used rows of the canvas go to the texture; the rest of the
  // square quad falls off the display.
  DrawTargetSelect(video, kPresentTextureSprite);
  SpriteClip(video, kCanvasSprite, 0, 0, kCanvasSize, game.shell.internalHeight);
  SpriteDraw(video, kCanvasSprite, 0, 0);
  DrawTargetSelect(video, kBackBuffer);

  QuadBegin(video);
  QuadSetFiltering(video, game.settings.BilinearFiltering);
  const PictureQuad quad = ComputePictureQuad(game);
  QuadSetSize(video, kPictureQuad, quad.width, quad.height);
  QuadDraw(video, kPictureQuad, quad.left, quad.top);
  QuadEnd(video);
}

}  // namespace quorin
