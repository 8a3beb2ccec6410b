#include "flow/sprite_sheets.h"

#include <algorithm>
#include <cstring>

#include "flow/frame_layout.h"
#include "flow/game.h"
#include "runtime/embedded.h"

namespace quorin {

namespace {

std::uint32_t ReadLe32(const unsigned char* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

}  // namespace

void DefineFrame(Game& game, std::int32_t id, std::int32_t x, std::int32_t y, std::int32_t width,
                 std::int32_t height, std::int32_t hotX, std::int32_t hotY) {
  Array<FrameDef>& table = game.presentation.frameTable;
  if (id < 0 || static_cast<std::size_t>(id) >= table.Size()) return;
  table[static_cast<std::size_t>(id)] = {1, hotX, hotY, x, y, width, height};
}

void BuildFrameTable(Game& game) {
  if (game.presentation.frameTable.Size() != kFrameIdLimit) ArrayCreate(game.presentation.frameTable, kFrameIdLimit);
  for (const FrameGroup& group : kFrameGroups) {
    for (int i = 0; i < group.count; ++i) {
      const FrameRect r = FrameInGroup(group, i);
      DefineFrame(game, r.id, r.x, r.y, r.width, r.height, r.hotX, r.hotY);
    }
  }
}

void DefinePointerImage(Game& game, std::int32_t index, std::int32_t x, std::int32_t y, std::int32_t width,
                        std::int32_t height, std::int32_t hotX, std::int32_t hotY) {
  Array<PointerImage>& images = game.presentation.pointerImages;
  if (images.Size() != kPointerImageSlots) ArrayCreate(images, kPointerImageSlots);
  if (index < 0 || index >= kPointerImageSlots) return;
  images[static_cast<std::size_t>(index)] = {x, y, width, height, hotX, hotY};
}

void DefinePointerImages(Game& game) {
  for (const PointerRect& p : kPointerImages) {
    DefinePointerImage(game, p.index, p.x, p.y, p.width, p.height, p.hotX, p.hotY);
  }
  game.shell.pointerImage = kArrowPointer;
}

void BuildGlyphAdvances(Game& game) {
  game.presentation.glyphAdvance.fill(0.0f);
  const EmbeddedFile* file = FindEmbeddedFile(kGlyphWidthsFile);
  if (!file) return;
  const std::size_t glyphs = std::min<std::size_t>(file->bytes.size() / 4, kGlyphCount);
  for (std::size_t g = 0; g < glyphs; ++g) {
    const std::uint32_t bits = ReadLe32(file->bytes.data() + 4 * g);
    float fraction;
    std::memcpy(&fraction, &bits, sizeof fraction);
    game.presentation.glyphAdvance[g] = static_cast<float>(static_cast<std::int32_t>(fraction * kGlyphCell));
  }
}

void ReadAimOffsets(Game& game) {
  Array<AimOffset>& offsets = game.world.aimOffsets;
  if (offsets.Size() != kAimOffsetSlots) ArrayCreate(offsets, kAimOffsetSlots);
  const EmbeddedFile* file = FindEmbeddedFile(kAimOffsetsFile);
  if (!file) return;
  const unsigned char* p = file->bytes.data();
  const std::size_t pairs = std::min<std::size_t>(file->bytes.size() / 8, kAimDirections);
  for (std::size_t k = 0; k < pairs; ++k) {
    offsets[k].dx = static_cast<std::int32_t>(ReadLe32(p + 8 * k));
    offsets[k].dy = static_cast<std::int32_t>(ReadLe32(p + 8 * k + 4));
  }
}

}  // namespace quorin
