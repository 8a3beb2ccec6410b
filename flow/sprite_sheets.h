// The frame table, pointer images, glyph advances and the start-up tables cut
// from or read out of the embedded sheets.
#pragma once

#include <cstdint>

namespace quorin {

struct Game;

inline constexpr std::int32_t kArrowPointer = 1;
inline constexpr std::int32_t kHandPointer = 2;

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

}  // namespace quorin
