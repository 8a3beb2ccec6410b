// The contract every version of the game's art must keep, checked on the
// embedded files themselves: sizes, palettes, the key colour, where frames,
// tiles and glyphs sit, and the two small tables beside the images.
#include <png.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "flow/frame_layout.h"
#include "flow/sheet_layout.h"
#include "runtime/embedded.h"

namespace quorin {
namespace {

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

// A paletted PNG as stored: palette and one index per pixel.
struct PalettedImage {
  int width = 0, height = 0, bitDepth = 0, colourType = -1;
  std::vector<Rgb> palette;
  std::vector<std::uint8_t> index;
  bool hasTransparency = false;

  int At(int x, int y) const { return index[static_cast<std::size_t>(y) * width + x]; }
  Rgb ColourAt(int x, int y) const { return palette.at(At(x, y)); }
  bool IsKey(int x, int y) const { return ColourAt(x, y) == Rgb{255, 0, 255}; }
};

struct Reader {
  std::span<const unsigned char> bytes;
  std::size_t pos = 0;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t n) {
  auto* r = static_cast<Reader*>(png_get_io_ptr(png));
  if (r->pos + n > r->bytes.size()) png_error(png, "read past end");
  std::memcpy(out, r->bytes.data() + r->pos, n);
  r->pos += n;
}

PalettedImage DecodeEmbedded(std::string_view name) {
  PalettedImage im;
  const EmbeddedFile* file = FindEmbeddedFile(name);
  if (!file) return im;
  Reader reader{file->bytes};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return PalettedImage{};
  }
  png_set_read_fn(png, &reader, ReadFromMemory);
  png_read_info(png, info);
  im.width = static_cast<int>(png_get_image_width(png, info));
  im.height = static_cast<int>(png_get_image_height(png, info));
  im.bitDepth = png_get_bit_depth(png, info);
  im.colourType = png_get_color_type(png, info);
  im.hasTransparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  png_colorp colours = nullptr;
  int count = 0;
  if (png_get_PLTE(png, info, &colours, &count)) {
    for (int i = 0; i < count; ++i) im.palette.push_back({colours[i].red, colours[i].green, colours[i].blue});
  }
  if (im.colourType != PNG_COLOR_TYPE_PALETTE) {
    png_destroy_read_struct(&png, &info, nullptr);
    return im;
  }
  png_set_packing(png);  // one byte per index whatever the depth
  png_read_update_info(png, info);
  im.index.resize(static_cast<std::size_t>(im.width) * im.height);
  std::vector<png_bytep> rows(im.height);
  for (int y = 0; y < im.height; ++y) rows[y] = im.index.data() + static_cast<std::size_t>(y) * im.width;
  png_read_image(png, rows.data());
  png_destroy_read_struct(&png, &info, nullptr);
  return im;
}

struct Rect {
  int x, y, w, h;
  bool Contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
  bool Overlaps(const Rect& o) const { return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h; }
};

int InkCount(const PalettedImage& im, const Rect& r) {
  int n = 0;
  for (int y = r.y; y < r.y + r.h; ++y)
    for (int x = r.x; x < r.x + r.w; ++x) n += !im.IsKey(x, y);
  return n;
}

// Every ink pixel of the sheet must lie in one of the rectangles.
void ExpectInkOnlyInside(const PalettedImage& im, const std::vector<Rect>& rects, const char* sheet) {
  int stray = 0;
  for (int y = 0; y < im.height; ++y) {
    for (int x = 0; x < im.width; ++x) {
      if (im.IsKey(x, y)) continue;
      bool inside = false;
      for (const Rect& r : rects) inside = inside || r.Contains(x, y);
      if (!inside && stray++ < 5)
        ADD_FAILURE() << sheet << ": ink outside every region at (" << x << ", " << y << ")";
    }
  }
  EXPECT_EQ(stray, 0) << sheet;
}

void ExpectDisjoint(const std::vector<Rect>& rects, const char* what) {
  for (std::size_t i = 0; i < rects.size(); ++i)
    for (std::size_t j = i + 1; j < rects.size(); ++j)
      EXPECT_FALSE(rects[i].Overlaps(rects[j])) << what << " regions " << i << " and " << j << " overlap";
}

// ---------------------------------------------------------------- format

class SheetFormat : public testing::TestWithParam<std::string_view> {};

TEST_P(SheetFormat, Is512SquareEightBitPalettedWithMagentaFirst) {
  const PalettedImage im = DecodeEmbedded(GetParam());
  ASSERT_EQ(im.colourType, PNG_COLOR_TYPE_PALETTE) << GetParam();
  EXPECT_EQ(im.width, kSheetSize);
  EXPECT_EQ(im.height, kSheetSize);
  EXPECT_EQ(im.bitDepth, 8);
  ASSERT_FALSE(im.palette.empty());
  EXPECT_EQ(im.palette[0], (Rgb{255, 0, 255}));
  EXPECT_FALSE(im.hasTransparency) << "the key colour alone makes pixels transparent";
}

INSTANTIATE_TEST_SUITE_P(Sheets, SheetFormat,
                         testing::Values(kActorsSheetFile, kTilesSheetFile, kFontSheetFile));

TEST(NoiseTexture, Is128SquareFourBitBlobsOfBlackGreyAndWhite) {
  const PalettedImage im = DecodeEmbedded(kNoiseTextureFile);
  ASSERT_EQ(im.colourType, PNG_COLOR_TYPE_PALETTE);
  EXPECT_EQ(im.width, kNoiseTextureSize);
  EXPECT_EQ(im.height, kNoiseTextureSize);
  EXPECT_EQ(im.bitDepth, 4);
  std::array<int, 3> counts{};
  const std::array<Rgb, 3> allowed{{{0, 0, 0}, {128, 128, 128}, {255, 255, 255}}};
  for (int y = 0; y < im.height; ++y) {
    for (int x = 0; x < im.width; ++x) {
      const Rgb c = im.ColourAt(x, y);
      int k = 0;
      while (k < 3 && !(allowed[k] == c)) ++k;
      ASSERT_LT(k, 3) << "unexpected colour at (" << x << ", " << y << ")";
      ++counts[k];
    }
  }
  for (int k = 0; k < 3; ++k) EXPECT_GT(counts[k], kNoiseTextureSize) << "colour " << k << " is missing";
}

// ---------------------------------------------------------------- actors

std::vector<FrameRect> AllFrames() {
  std::vector<FrameRect> frames;
  for (const FrameGroup& g : kFrameGroups)
    for (int i = 0; i < g.count; ++i) frames.push_back(FrameInGroup(g, i));
  return frames;
}

TEST(FrameLayout, DefinesExactlyTheFrameIdsOfTheGame) {
  std::set<int> expected;
  for (const auto& [a, b] : std::vector<std::pair<int, int>>{
           {4, 99}, {100, 111}, {116, 127}, {164, 175}, {180, 191}, {192, 199}, {224, 231}, {312, 639}}) {
    for (int id = a; id <= b; ++id) expected.insert(id);
  }
  std::set<int> defined;
  for (const FrameRect& f : AllFrames()) {
    EXPECT_TRUE(defined.insert(f.id).second) << "frame " << f.id << " defined twice";
    EXPECT_GT(f.id, 0);
    EXPECT_LT(f.id, kFrameIdLimit);
  }
  EXPECT_EQ(defined, expected);
  EXPECT_FALSE(defined.contains(2));
}

TEST(FrameLayout, PlacesKnownFramesWhereTheGameCutsThem) {
  auto find = [](int id) {
    for (const FrameRect& f : AllFrames())
      if (f.id == id) return f;
    return FrameRect{};
  };
  auto expect = [&](int id, FrameRect want) {
    const FrameRect f = find(id);
    EXPECT_EQ(f.id, id);
    EXPECT_EQ(std::tie(f.x, f.y, f.width, f.height, f.hotX, f.hotY),
              std::tie(want.x, want.y, want.width, want.height, want.hotX, want.hotY))
        << "frame " << id;
  };
  expect(633, {633, 16, 480, 16, 16, 10, 14});  // fruit 2
  expect(4, {4, 0, 128, 32, 32, 16, 16});
  expect(63, {63, 352, 256, 32, 32, 16, 16});  // kind 5, last shooting frame
  expect(16, {16, 0, 160, 32, 32, 16, 16});    // kind 2 starts the second row
  expect(87, {87, 368, 464, 14, 14, 8, 8});    // ball, last frame
  expect(99, {99, 432, 92, 14, 36, 8, 35});
  expect(96, {96, 388, 120, 6, 8, 2, 7});
  expect(111, {111, 352, 0, 32, 24, 16, 19});
  expect(127, {127, 352, 32, 32, 24, 16, 19});
  expect(175, {175, 352, 64, 32, 16, 16, 3});
  expect(199, {199, 352, 112, 32, 16, 16, -3});
  expect(231, {231, 224, 96, 32, 32, 16, 19});
  expect(312 + 5 * 7 + 3, {350, 112, 432, 16, 16, 10, 10});   // hero shot, sector 7, trail 3
  expect(472 + 5 * 31 + 4, {631, 496, 368, 16, 16, 10, 10});  // monster shot, last one
}

TEST(ActorsSheet, EveryFrameHasInkAndNoInkLiesOutsideTheFrames) {
  const PalettedImage im = DecodeEmbedded(kActorsSheetFile);
  ASSERT_EQ(im.width, kSheetSize);
  std::vector<Rect> rects;
  for (const FrameRect& f : AllFrames()) {
    const Rect r{f.x, f.y, f.width, f.height};
    ASSERT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.w <= kSheetSize && r.y + r.h <= kSheetSize)
        << "frame " << f.id;
    EXPECT_GT(InkCount(im, r), 0) << "frame " << f.id << " is empty";
    rects.push_back(r);
  }
  ExpectDisjoint(rects, "frame");
  ExpectInkOnlyInside(im, rects, "actors");
}

TEST(ActorsSheet, FacingLeftFramesAreTheRightFacingOnesMirrored) {
  // Body, legs and flame frames turn about their hot spot column, so the hero
  // does not shift sideways when it turns.
  const PalettedImage im = DecodeEmbedded(kActorsSheetFile);
  for (const auto& [right, left] :
       std::vector<std::pair<int, int>>{{100, 116}, {104, 120}, {164, 180}, {192, 196}}) {
    FrameRect r{}, l{};
    for (const FrameRect& f : AllFrames()) {
      if (f.id == right) r = f;
      if (f.id == left) l = f;
    }
    for (int y = 0; y < r.height; ++y)
      for (int x = 1; x < r.width; ++x)
        EXPECT_EQ(im.At(r.x + x, r.y + y), im.At(l.x + 2 * r.hotX - x, l.y + y))
            << "frames " << right << "/" << left << " at (" << x << ", " << y << ")";
  }
}

TEST(ActorsSheet, HeroBodyAndLegsJoinIntoOneFigureAboutThirtyTwoPixelsTall) {
  // Both halves are drawn at the hero point; with the legs frame of each body
  // frame (body + 64) they must make one figure with no gap at the waist, whose
  // feet reach the bottom of the collision box (12 pixels below the point).
  const PalettedImage im = DecodeEmbedded(kActorsSheetFile);
  auto frame = [](int id) {
    for (const FrameRect& f : AllFrames())
      if (f.id == id) return f;
    return FrameRect{};
  };
  for (int body = 100; body <= 127; ++body) {
    if (body >= 112 && body < 116) continue;
    const FrameRect b = frame(body), l = frame(body + 64);
    std::set<int> rows;  // hero-space rows holding ink of either half
    for (const FrameRect& f : {b, l}) {
      for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x)
          if (!im.IsKey(f.x + x, f.y + y)) rows.insert(y - f.hotY);
    }
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(static_cast<int>(rows.size()), *rows.rbegin() - *rows.begin() + 1) << "gap in frame " << body;
    EXPECT_GE(static_cast<int>(rows.size()), 28) << "frame " << body;
    EXPECT_LE(static_cast<int>(rows.size()), 34) << "frame " << body;
    if (body == 100 || body == 116) {
      EXPECT_EQ(*rows.rbegin(), 12) << "standing frame " << body << " does not stand on the ground";
    }
  }
}

// ---------------------------------------------------------------- tiles

bool TileInUse(int t) {
  return (t >= 128 && t < 384) || (t >= kDecorationATiles && t <= kDecorationBTile) ||
         (t >= kHangingHazardTile && t <= kCurrentCheckpointTile) || (t >= kBackgroundGreyBase && t < 704);
}

TEST(TilesSheet, TileNumbersMapToSheetCells) {
  EXPECT_EQ(TileX(37), 80);
  EXPECT_EQ(TileY(37), 16);
  EXPECT_EQ(kFirstTileSprite + 37, 4133);
  EXPECT_EQ(TileX(1023), 496);
  EXPECT_EQ(TileY(1023), 496);
}

TEST(TilesSheet, EveryTileInUseHasInkAndNoOtherCellDoes) {
  const PalettedImage im = DecodeEmbedded(kTilesSheetFile);
  ASSERT_EQ(im.width, kSheetSize);
  for (int t = 0; t < kTileCount; ++t) {
    const int ink = InkCount(im, {TileX(t), TileY(t), kTileSize, kTileSize});
    if (TileInUse(t)) {
      EXPECT_GT(ink, 0) << "tile " << t << " is empty";
    } else {
      EXPECT_EQ(ink, 0) << "tile " << t << " is used by nothing but has ink";
    }
  }
}

TEST(TilesSheet, CellsJoinedOnAllFourSidesAreSolid) {
  // A rock or background cell whose four neighbours all join must fill its
  // whole cell, or holes would show inside every solid mass.
  const PalettedImage im = DecodeEmbedded(kTilesSheetFile);
  ASSERT_EQ(im.width, kSheetSize);
  std::vector<int> bases(kRockTileBase.begin(), kRockTileBase.end());
  bases.push_back(kBackgroundGreyBase);
  bases.push_back(kBackgroundWhiteBase);
  for (int base : bases) {
    for (int parity : {0, 16, 32, 48}) {
      const int t = base + 15 + parity;
      EXPECT_EQ(InkCount(im, {TileX(t), TileY(t), kTileSize, kTileSize}), kTileSize * kTileSize)
          << "tile " << t;
    }
  }
}

TEST(TilesSheet, JoinedSidesReachTheCellEdge) {
  // Where the mask says a side joins, the tile's ink runs to that edge so that
  // neighbouring tiles meet without a gap.
  const PalettedImage im = DecodeEmbedded(kTilesSheetFile);
  ASSERT_EQ(im.width, kSheetSize);
  for (int base : {128, 192, 256, 320, kBackgroundGreyBase}) {
    for (int mask = 0; mask < 16; ++mask) {
      const int t = base + mask;
      const int x0 = TileX(t), y0 = TileY(t);
      for (int i = 4; i < kTileSize - 4; ++i) {
        if (mask & 1) {
          EXPECT_FALSE(im.IsKey(x0 + i, y0)) << "tile " << t << " top";
        }
        if (mask & 2) {
          EXPECT_FALSE(im.IsKey(x0 + kTileSize - 1, y0 + i)) << "tile " << t << " right";
        }
        if (mask & 4) {
          EXPECT_FALSE(im.IsKey(x0 + i, y0 + kTileSize - 1)) << "tile " << t << " bottom";
        }
        if (mask & 8) {
          EXPECT_FALSE(im.IsKey(x0, y0 + i)) << "tile " << t << " left";
        }
      }
    }
  }
}

TEST(TilesSheet, HazardsCheckpointsAndDecorationsTouchTheRockTheyRestOn) {
  // A hanging hazard hangs from the rock above its cell, a standing one and a
  // checkpoint stand on the rock below; nothing should float a pixel away.
  const PalettedImage im = DecodeEmbedded(kTilesSheetFile);
  ASSERT_EQ(im.width, kSheetSize);
  auto rowInk = [&](int t, int row) { return InkCount(im, {TileX(t), TileY(t) + row, kTileSize, 1}); };
  EXPECT_GT(rowInk(kHangingHazardTile, 0), 0);
  EXPECT_GT(rowInk(kStandingHazardTile, kTileSize - 1), 0);
  EXPECT_GT(rowInk(kCheckpointTile, kTileSize - 1), 0);
  EXPECT_GT(rowInk(kCurrentCheckpointTile, kTileSize - 1), 0);
  for (int v = 0; v < 16; ++v)
    EXPECT_GT(rowInk(kDecorationATiles + v, kTileSize - 1), 0) << "decoration A " << v;
  EXPECT_GT(rowInk(kDecorationBTile, 0), 0);
}

// ---------------------------------------------------------------- font sheet

struct FontChars {
  int base;
  std::string chars;
};

std::vector<FontChars> FontsInUse() {
  std::string all;
  for (int ch = kFirstTextChar; ch <= kLastTextChar; ++ch) all += static_cast<char>(ch);
  return {{kFontThin, all},
          {kFontBoldWhite, all},
          {kFontBoldYellow, all},
          {kFontRedDigits, "0123456789"},
          {kFontYellowDigits, "0123456789"},
          {kFontSmall, "0123456789:ABCEHIMNORSUX"}};
}

std::vector<float> EmbeddedGlyphFractions() {
  std::vector<float> out;
  const EmbeddedFile* file = FindEmbeddedFile(kGlyphWidthsFile);
  if (!file) return out;
  for (std::size_t i = 0; i + 4 <= file->bytes.size(); i += 4) {
    const std::uint32_t bits = file->bytes[i] | file->bytes[i + 1] << 8 | file->bytes[i + 2] << 16 |
                               static_cast<std::uint32_t>(file->bytes[i + 3]) << 24;
    float f;
    std::memcpy(&f, &bits, sizeof f);
    out.push_back(f);
  }
  return out;
}

int Advance(const std::vector<float>& fractions, int g) {
  return static_cast<int>(fractions[g] * 16.0f);
}

TEST(GlyphGrid, CharacterCellsFollowTheGlyphNumbering) {
  EXPECT_EQ(GlyphNumber('A', kFontThin), 33);
  EXPECT_EQ(GlyphCellX(33), 16);
  EXPECT_EQ(GlyphCellY(33), 16);
  EXPECT_EQ(GlyphNumber('A', kFontBoldWhite), 97);
  EXPECT_EQ(GlyphCellX(97), 16);
  EXPECT_EQ(GlyphCellY(97), 48);
  EXPECT_EQ(GlyphNumber('0', kFontSmall), 272);
  EXPECT_EQ(GlyphCellY(272), 128);
}

TEST(GlyphWidths, EmbeddedFractionsGiveTheListedAdvances) {
  const std::vector<float> fractions = EmbeddedGlyphFractions();
  ASSERT_EQ(fractions.size(), static_cast<std::size_t>(kGlyphCount));
  // Thin font, space to underscore.
  const std::array<int, 64> thin{10, 4,  8,  12, 12, 12, 12, 4,  6,  6,  8,  12, 6,  10, 4,  12,
                                 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 4,  6,  8,  10, 8,  10,
                                 10, 10, 10, 10, 10, 10, 10, 10, 10, 8,  10, 10, 10, 12, 12, 12,
                                 10, 10, 10, 10, 12, 10, 12, 12, 12, 12, 12, 8,  12, 8,  8,  10};
  for (int i = 0; i < 64; ++i) {
    EXPECT_EQ(Advance(fractions, i), thin[i]) << "thin glyph " << i;
    const char ch = static_cast<char>(i + 32);
    const int bold = (ch == '[' || ch == ']') ? 12 : thin[i] + 2;
    EXPECT_EQ(Advance(fractions, 64 + i), bold) << "bold white '" << ch << "'";
    EXPECT_EQ(Advance(fractions, 128 + i), bold) << "bold yellow '" << ch << "'";
  }
  for (int g = 192; g < 320; ++g) EXPECT_EQ(Advance(fractions, g), 10) << "glyph " << g;
  for (int g = 320; g <= 350; ++g) {
    EXPECT_GE(Advance(fractions, g), 6) << "glyph " << g;
    EXPECT_LE(Advance(fractions, g), 14) << "glyph " << g;
  }
  EXPECT_EQ(Advance(fractions, 474), 0);
  EXPECT_EQ(Advance(fractions, 703), 6);
  for (int g = 351; g < kGlyphCount; ++g) {
    if (g != 474 && g != 703) {
      EXPECT_EQ(Advance(fractions, g), 16) << "glyph " << g;
    }
  }
}

TEST(FontSheet, EveryGlyphInUseHasInkWithinItsAdvance) {
  const PalettedImage im = DecodeEmbedded(kFontSheetFile);
  ASSERT_EQ(im.width, kSheetSize);
  const std::vector<float> fractions = EmbeddedGlyphFractions();
  ASSERT_EQ(fractions.size(), static_cast<std::size_t>(kGlyphCount));
  for (const FontChars& font : FontsInUse()) {
    for (char ch : font.chars) {
      const int g = GlyphNumber(ch, font.base);
      const int cx = GlyphCellX(g), cy = GlyphCellY(g);
      const int ink = InkCount(im, {cx, cy, kGlyphCell, kGlyphCell});
      if (ch == ' ') {
        EXPECT_EQ(ink, 0) << "space of font " << font.base;
        continue;
      }
      EXPECT_GT(ink, 0) << "font " << font.base << " '" << ch << "' is empty";
      const int advance = Advance(fractions, g);
      EXPECT_EQ(InkCount(im, {cx + advance, cy, kGlyphCell - advance, kGlyphCell}), 0)
          << "font " << font.base << " '" << ch << "' reaches past its advance of " << advance;
    }
  }
}

TEST(FontSheet, InkOnlyInGlyphsAndTheListedRegions) {
  const PalettedImage im = DecodeEmbedded(kFontSheetFile);
  ASSERT_EQ(im.width, kSheetSize);
  std::vector<Rect> regions;
  for (int n = 1; n <= kFruitCount; ++n) {
    const SheetRect r = FruitIconRect(n);
    regions.push_back({r.x, r.y, r.width, r.height});
  }
  for (const SheetRect& r : {kGaugeLeftCap, kGaugeFull, kGaugeEmpty, kGaugeRightCap, kGemIcon, kTitleLogo,
                             kTitleArt, kSignature}) {
    regions.push_back({r.x, r.y, r.width, r.height});
  }
  for (const PointerRect& p : kPointerImages) regions.push_back({p.x, p.y, p.width, p.height});
  for (std::size_t i = 0; i < regions.size(); ++i)
    EXPECT_GT(InkCount(im, regions[i]), 0) << "region " << i << " is empty";
  for (const FontChars& font : FontsInUse()) {
    for (char ch : font.chars) {
      const int g = GlyphNumber(ch, font.base);
      regions.push_back({GlyphCellX(g), GlyphCellY(g), kGlyphCell, kGlyphCell});
    }
  }
  ExpectDisjoint(regions, "font sheet");
  ExpectInkOnlyInside(im, regions, "font");
}

TEST(FontSheet, GaugePiecesAndPointerTips) {
  const PalettedImage im = DecodeEmbedded(kFontSheetFile);
  ASSERT_EQ(im.width, kSheetSize);
  // A full segment is solid; an empty one keeps only its top and bottom borders.
  EXPECT_EQ(InkCount(im, {kGaugeFull.x, kGaugeFull.y, 2, 10}), 20);
  EXPECT_EQ(InkCount(im, {kGaugeEmpty.x, kGaugeEmpty.y + 3, 2, 4}), 0);
  EXPECT_EQ(InkCount(im, {kGaugeEmpty.x, kGaugeEmpty.y, 2, 1}), 2);
  EXPECT_EQ(InkCount(im, {kGaugeEmpty.x, kGaugeEmpty.y + 9, 2, 1}), 2);
  // The pointer's hot spot is on the drawn tip, not beside it.
  for (const PointerRect& p : kPointerImages) {
    EXPECT_FALSE(im.IsKey(p.x + p.hotX, p.y + p.hotY)) << "pointer " << p.index;
    EXPECT_TRUE(im.IsKey(p.x + p.hotX - 2, p.y + p.hotY - 2)) << "pointer " << p.index;
  }
  EXPECT_EQ(kPointerImages[0].index, 1);
  EXPECT_EQ(
      std::tie(kPointerImages[0].x, kPointerImages[0].y, kPointerImages[0].hotX, kPointerImages[0].hotY),
      std::make_tuple(0, 224, 2, 2));
  EXPECT_EQ(
      std::tie(kPointerImages[1].x, kPointerImages[1].y, kPointerImages[1].hotX, kPointerImages[1].hotY),
      std::make_tuple(32, 224, 7, 2));
}

// ---------------------------------------------------------------- data table

TEST(AimOffsets, DataTableStartsWithTheEightMuzzleOffsets) {
  const EmbeddedFile* file = FindEmbeddedFile(kAimOffsetsFile);
  ASSERT_NE(file, nullptr);
  ASSERT_GE(file->bytes.size(), 64u);
  const std::array<int, 16> expected{18, 3, 16, 12, 1, 20, -14, 12, -18, 3, -16, -12, 1, -18, 18, -12};
  for (int i = 0; i < 16; ++i) {
    const auto* b = file->bytes.data() + 4 * i;
    const std::int32_t v =
        static_cast<std::int32_t>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24);
    EXPECT_EQ(v, expected[i]) << "value " << i;
  }
}

}  // namespace
}  // namespace quorin
