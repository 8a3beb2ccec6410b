#include "flow/sprite_sheets.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "flow/frame_layout.h"
#include "flow/game.h"
#include "runtime/embedded.h"
#include "world/tables.h"

namespace quorin {

namespace {

std::uint32_t ReadLe32(const unsigned char* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

constexpr std::int32_t kBlack = ColourPack(0, 0, 0);
constexpr std::int32_t kNoiseGrey = ColourPack(128, 128, 128);
constexpr std::int32_t kNoiseWhite = ColourPack(255, 255, 255);

std::span<const unsigned char> EmbeddedBytes(std::string_view name) {
  const EmbeddedFile* file = FindEmbeddedFile(name);
  return file ? file->bytes : std::span<const unsigned char>{};
}

// The creation flags of the cut sprites. The setting only chooses where they
// live; any other bit (raw buffer, alpha) would leave them undrawable.
std::int32_t SpritePlacement(const Game& game) {
  return game.settings.SpritesMainMem == kSpriteSystemMemory ? kSpriteSystemMemory : 0;
}

// A sheet as a sprite: from its decoded image when there is one, else
// decoded now.
Sprite* LoadSheet(VideoState& video, std::int32_t id, std::string_view file, std::optional<DecodedImage>& decoded,
                  std::int32_t flags) {
  if (decoded) return SpriteLoadDecoded(video, id, *std::exchange(decoded, std::nullopt), flags);
  return SpriteLoadFromMemory(video, id, EmbeddedBytes(file), flags);
}

// Loads a sheet into the scratch sprite and makes it the target; false when
// it does not decode, so that nothing is grabbed from whatever was selected.
bool SelectScratchSheet(VideoState& video, std::string_view file, std::optional<DecodedImage>& decoded) {
  if (!LoadSheet(video, kSheetScratchSprite, file, decoded, 0)) return false;
  DrawTargetSelect(video, kSheetScratchSprite);
  return true;
}

std::optional<DecodedImage> DecodeSheet(std::string_view file) {
  DecodedImage image;
  if (!DecodePng(EmbeddedBytes(file), image)) return std::nullopt;
  return image;
}

void DropScratchSheet(VideoState& video) {
  DrawTargetSelect(video, kBackBuffer);
  SpriteFree(video, kSheetScratchSprite);
}

bool FrameDefined(const Game& game, std::int32_t id) {
  const Array<FrameDef>& table = game.presentation.frameTable;
  return id > 0 && static_cast<std::size_t>(id) < table.Size() &&
         table[static_cast<std::size_t>(id)].defined != 0;
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

SpriteSheetImages DecodeSpriteSheets() {
  return {DecodeSheet(kActorsSheetFile), DecodeSheet(kTilesSheetFile), DecodeSheet(kFontSheetFile)};
}

void BuildSprites(Game& game) {
  VideoState& video = game.video;
  const std::int32_t placement = SpritePlacement(game);
  SpriteSetKeyColour(video, kDefaultKey, kMagenta);
  SpriteCreate(video, kCanvasSprite, kCanvasSize, kCanvasSize, placement);
  if (SpriteCreate(video, kPresentTextureSprite, kCanvasSize, kCanvasSize, kSpriteTexture)) {
    DrawTargetSelect(video, kPresentTextureSprite);
    ScreenClear(video, kBlack);
    QuadCreate(video, kPictureQuad, kPresentTextureSprite);
  }

  // Taken as late as possible: the worker may still be at it.
  SpriteSheetImages sheets;
  if (game.decodedSheets.valid()) sheets = game.decodedSheets.get();
  if (SelectScratchSheet(video, kActorsSheetFile, sheets.actors)) {
    for (std::int32_t id = 1; id < kFrameIdLimit; ++id) {
      if (!FrameDefined(game, id)) continue;
      const FrameDef& f = game.presentation.frameTable[static_cast<std::size_t>(id)];
      SpriteGrab(video, id, f.x, f.y, f.width, f.height, placement);
    }
  }
  DropScratchSheet(video);

  if (SelectScratchSheet(video, kTilesSheetFile, sheets.tiles)) {
    for (std::int32_t t = 0; t < kTileCount; ++t) {
      SpriteGrab(video, kFirstTileSprite + t, TileX(t), TileY(t), kTileSize, kTileSize, placement);
    }
  }
  DropScratchSheet(video);

  LoadSheet(video, kFontSheetSprite, kFontSheetFile, sheets.font, placement);
}

void ReleaseAllSprites(Game& game) {
  VideoState& video = game.video;
  QuadFree(video, kPictureQuad);
  SpriteFree(video, kCanvasSprite);
  for (std::int32_t id = 1; id < kFrameIdLimit; ++id) {
    if (FrameDefined(game, id)) SpriteFree(video, id);
  }
  SpriteFree(video, kFontSheetSprite);
  SpriteFree(video, kPresentTextureSprite);
  for (std::int32_t t = 0; t < kTileCount; ++t) SpriteFree(video, kFirstTileSprite + t);
}

void BuildBackgroundMapFrom(Game& game, std::span<const unsigned char> image) {
  Array<std::int32_t>& map = game.presentation.backgroundMap;
  ArrayCreateMulti(map, {kBackgroundMapSlots, kBackgroundMapSlots});
  VideoState& video = game.video;
  const std::int32_t handle = ImageLoadFromMemory(video, kAllocateHandle, image);
  if (handle == 0) return;
  if (DrawingBegin(video, ImageAsDrawTarget(video, handle))) {
    constexpr int n = kBackgroundMapSize;
    auto pixel = [&](int x, int y) { return DrawingReadPixel(video, (x + n) % n, (y + n) % n); };
    for (int y = 0; y < n; ++y) {
      for (int x = 0; x < n; ++x) {
        const std::int32_t c = pixel(x, y);
        if ((c & kNoiseGrey) == 0) continue;  // black: no background here
        // Grey joins everything that is not black; white only joins white.
        const bool grey = c == kNoiseGrey;
        auto joins = [&](int nx, int ny) {
          const std::int32_t o = pixel(nx, ny);
          return grey ? (o & kNoiseGrey) != 0 : o == kNoiseWhite;
        };
        const int mask = (joins(x, y - 1) ? 1 : 0) + (joins(x + 1, y) ? 2 : 0) + (joins(x, y + 1) ? 4 : 0) +
                         (joins(x - 1, y) ? 8 : 0);
        const int base = grey ? kBackgroundGreyBase : kBackgroundWhiteBase;
        map.At(x, y) = base + mask + 32 * (y % 2) + 16 * (x % 2);
      }
    }
    DrawingEnd(video);
  }
  ImageFree(video, handle);
}

void BuildBackgroundMap(Game& game) {
  BuildBackgroundMapFrom(game, EmbeddedBytes(kNoiseTextureFile));
}

void PrepareTables(Game& game) {
  ReadAimOffsets(game);
  PrepareNoiseField(game.world);
  // Start-up built the direction table long before; without it the fixed
  // table stays zero rather than reading nothing.
  if (game.world.directionTable.Size() == static_cast<std::size_t>(kAngleSteps) * 2) {
    BuildFixedDirectionTable(game.world);
  } else {
    ArrayCreateMulti(game.world.fixedDirectionTable, {kAngleSteps + 1, 2});
  }
  BuildBackgroundMap(game);
}

}  // namespace quorin
