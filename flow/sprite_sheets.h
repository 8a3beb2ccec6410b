// The frame table, pointer images, glyph advances and the start-up tables cut
// from or read out of the embedded sheets.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "runtime/png_codec.h"

namespace quorin {

struct Game;

inline constexpr std::int32_t kArrowPointer = 1;
inline constexpr std::int32_t kHandPointer = 2;

// The sprite numbering: frames 1..4080 and tiles 4096 + t come from
// frame_layout.h; these are the rest.
inline constexpr std::int32_t kCanvasSprite = 0;
inline constexpr std::int32_t kPresentTextureSprite = 4082;
inline constexpr std::int32_t kSheetScratchSprite = 4083;  // only while BuildSprites cuts
inline constexpr std::int32_t kPictureQuad = 0;            // the quad that shows the present texture
inline constexpr std::int32_t kCanvasSize = 512;           // canvas and present texture are square

// The background map: 129 x 129 slots indexed [x][y], of which 128 x 128 are
// used, repeating every 128 cells.
inline constexpr int kBackgroundMapSlots = 129;
inline constexpr int kBackgroundMapSize = 128;

void DefineFrame(Game& game, std::int32_t id, std::int32_t x, std::int32_t y, std::int32_t width,
                 std::int32_t height, std::int32_t hotX, std::int32_t hotY);
// Defines every frame group of the actors sheet; other ids stay undefined.
void BuildFrameTable(Game& game);
void DefinePointerImage(Game& game, std::int32_t index, std::int32_t x, std::int32_t y, std::int32_t width,
                        std::int32_t height, std::int32_t hotX, std::int32_t hotY);
// The arrow and the hand; the arrow is shown.
void DefinePointerImages(Game& game);
// advance = trunc(fraction x 16) from the embedded table of width fractions.
void BuildGlyphAdvances(Game& game);
// The eight aim offsets from the embedded data table.
void ReadAimOffsets(Game& game);

// The three embedded sheets decoded ahead of BuildSprites; a sheet that does
// not decode is left empty (BuildSprites then tries it itself, and fails the
// same way). Touches nothing of the game, so any thread may run it.
struct SpriteSheetImages {
  std::optional<DecodedImage> actors;
  std::optional<DecodedImage> tiles;
  std::optional<DecodedImage> font;
};
SpriteSheetImages DecodeSpriteSheets();

// Cuts every sprite of the numbering from the embedded sheets: canvas,
// present texture and its quad, the frames, the 1024 tiles, the font sheet.
// The main loop calls it whenever spritesBuilt is 0 (a new display, or the
// focus back), then sets spritesBuilt. The first call takes the sheets that
// start-up had decoded (Game::decodedSheets), waiting for them if need be;
// later calls decode them again.
void BuildSprites(Game& game);
// Frees exactly the sprites BuildSprites makes, and the picture quad. Called
// on focus loss, before a display reopen and at shutdown.
void ReleaseAllSprites(Game& game);

// Background tile numbers from the noise texture: black stays 0, grey joins
// grey and white neighbours from 576, white joins white from 640, with the
// parity variants of the tile scheme.
void BuildBackgroundMap(Game& game);
// The same from any encoded 128 x 128 picture (tests feed their own).
void BuildBackgroundMapFrom(Game& game, std::span<const unsigned char> image);
// Start-up, once, after BuildFrameTable: aim offsets, the seeded noise field,
// the fixed direction table (from the direction table SystemStartup built)
// and the background map.
void PrepareTables(Game& game);

}  // namespace quorin
