// The painters of each asset. Each returns the finished image.
#pragma once

#include "tools/artgen/image.h"

namespace quorin::art {

// The font sheet's title art is a scene made of the finished actors.
Image PaintFontSheet(const Image& actors);
Image PaintTilesSheet();
Image PaintActorsSheet();
// 128 x 128, colours 0 black, 1 grey, 2 white.
Image PaintNoiseTexture();

// Pieces shared between sheets.
// Fruit n (1..8) centred on column cx with its lowest pixel on row bottom.
void PaintFruit(Image& im, int n, int cx, int bottom);
// A power gem filling the w x h box at (x, y).
void PaintGem(Image& im, int x, int y, int w, int h);
// The title screen's scene, 320 x 256: actor frames enlarged four times.
Image PaintTitleArt(const Image& actors);

// A picture of play composed from the finished sheets, for reviewers only.
Image PaintScene(const Image& actors, const Image& tiles, const Image& font, const Image& noise);

}  // namespace quorin::art
