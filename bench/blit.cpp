// Keyed blits of one realistic frame: about 1900 16 x 16 tiles, 300 animation
// frames of 14 to 32 pixels and 400 glyphs clipped from a 512 x 512 sheet,
// drawn into a 512 x 384 canvas, many of them cut by its edges. Our blitter
// against SDL_BlitSurface with a colour key on the same pixels (plain and
// RLE-accelerated) and against a memcpy of the same rows.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "runtime/null/null_video.h"
#include "runtime/random.h"
#include "runtime/screen.h"

namespace quorin {
namespace {

constexpr int kCanvasWidth = 512;
constexpr int kCanvasHeight = 384;
constexpr int kTileCount = 1900;
constexpr int kFrameCount = 300;
constexpr int kGlyphCount = 400;
constexpr int kTileKinds = 256;
constexpr int kFrameKinds = 64;
constexpr std::int32_t kCanvas = 0;
constexpr std::int32_t kSheet = 4081;
constexpr std::int32_t kFirstFrame = 1;
constexpr std::int32_t kFirstTile = 4096;
constexpr std::uint32_t kKey = 0xFF00FF;

struct Draw {
  std::int32_t id;
  std::int32_t x, y;
  std::int32_t clipX, clipY;  // glyphs only
  bool glyph;
};

struct Art {
  std::vector<Surface> tiles;
  std::vector<Surface> frames;
  Surface sheet;
  std::vector<Draw> draws;
};

std::uint32_t Draw32(RandomState& rng) {
  return RandomUpTo(rng, -1);
}
int Between(RandomState& rng, int lo, int hi) {
  return lo + static_cast<int>(RandomUpTo(rng, hi - lo));
}

// Tiles: a third solid rock, a third rock edges (keyed on one side), a third
// sparse background bits. Frames: a filled blob in a keyed box. Glyphs:
// strokes on a keyed sheet.
Art MakeArt() {
  RandomState rng;
  RandomSetSeed(rng, 42);
  Art art;
  for (int t = 0; t < kTileKinds; ++t) {
    Surface s = MakeSurface(16, 16);
    const int kind = t % 3;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        const std::uint32_t colour = Draw32(rng) & 0x7F7F7F;
        bool keyed = false;
        if (kind == 1) keyed = x + y < Between(rng, 8, 14);
        if (kind == 2) keyed = Between(rng, 0, 9) > 1;
        s.Row(y)[x] = keyed ? kKey : colour;
      }
    }
    art.tiles.push_back(std::move(s));
  }
  for (int f = 0; f < kFrameKinds; ++f) {
    const int w = Between(rng, 14, 32), h = Between(rng, 14, 32);
    Surface s = MakeSurface(w, h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const int dx = 2 * x - w, dy = 2 * y - h;
        const bool inside = dx * dx * h * h + dy * dy * w * w < w * w * h * h;
        s.Row(y)[x] = inside ? (Draw32(rng) & 0xFFFF7F) : kKey;
      }
    }
    art.frames.push_back(std::move(s));
  }
  art.sheet = MakeSurface(512, 512, kKey);
  for (int y = 0; y < 512; ++y) {
    for (int x = 0; x < 512; ++x) {
      const int cx = x % 16, cy = y % 16;
      if ((cx >= 3 && cx <= 5) || (cy >= 6 && cy <= 8 && cx < 12)) art.sheet.Row(y)[x] = 0xF0F0F0;
    }
  }
  // Two scrolled layers of tiles and a partial third, edges included.
  for (int i = 0; i < kTileCount; ++i) {
    const int layer = i / 800, cell = i % 800;
    const int x = (cell % 33) * 16 - 7 - layer * 5, y = (cell / 33) * 16 - 11 + layer * 3;
    art.draws.push_back({kFirstTile + static_cast<int>(Draw32(rng) % kTileKinds), x, y, 0, 0, false});
  }
  for (int i = 0; i < kFrameCount; ++i) {
    art.draws.push_back({kFirstFrame + static_cast<int>(Draw32(rng) % kFrameKinds), Between(rng, -24, 520),
                         Between(rng, -24, 392), 0, 0, false});
  }
  for (int i = 0; i < kGlyphCount; ++i) {
    const int g = Between(rng, 0, 255);
    art.draws.push_back({kSheet, (i % 40) * 12 + 8, (i / 40) * 18 + 100, (g % 32) * 16, (g / 32) * 16, true});
  }
  return art;
}

const Art& TheArt() {
  static const Art art = MakeArt();
  return art;
}

void BM_OurKeyedBlit(benchmark::State& state) {
  const Art& art = TheArt();
  NullVideo device;
  VideoState video;
  SpriteSystemInit(video, device);
  ScreenOpenFullscreen(video, 1024, 768, 32, "bench", 0, 0);
  SpriteSetKeyColour(video, kDefaultKey, kMagenta);
  SpriteCreate(video, kCanvas, kCanvasWidth, kCanvasHeight, 0);
  for (int t = 0; t < kTileKinds; ++t) SpriteCreate(video, kFirstTile + t, 16, 16, 0)->surface = art.tiles[t];
  for (int f = 0; f < kFrameKinds; ++f) {
    const Surface& s = art.frames[f];
    SpriteCreate(video, kFirstFrame + f, s.width, s.height, 0)->surface = s;
  }
  SpriteCreate(video, kSheet, 512, 512, 0)->surface = art.sheet;
  DrawTargetSelect(video, kCanvas);
  for (auto _ : state) {
    ScreenClear(video, 0);
    for (const Draw& d : art.draws) {
      if (d.glyph) SpriteClip(video, kSheet, d.clipX, d.clipY, 16, 16);
      SpriteDrawKeyed(video, d.id, d.x, d.y);
    }
    benchmark::DoNotOptimize(SpriteFind(video, kCanvas)->surface.pixels.data());
    benchmark::ClobberMemory();
  }
  state.counters["blits/frame"] = static_cast<double>(art.draws.size());
}
BENCHMARK(BM_OurKeyedBlit)->Unit(benchmark::kMicrosecond);

SDL_Surface* ToSdl(const Surface& s, bool rle) {
  SDL_Surface* out = SDL_CreateRGBSurfaceWithFormat(0, s.width, s.height, 32, SDL_PIXELFORMAT_XBGR8888);
  for (int y = 0; y < s.height; ++y) {
    std::memcpy(static_cast<char*>(out->pixels) + y * out->pitch, s.Row(y),
                static_cast<std::size_t>(s.width) * 4);
  }
  SDL_SetColorKey(out, SDL_TRUE, kKey);
  SDL_SetSurfaceBlendMode(out, SDL_BLENDMODE_NONE);
  if (rle) SDL_SetSurfaceRLE(out, 1);
  return out;
}

void SdlKeyedBlit(benchmark::State& state, bool rle) {
  const Art& art = TheArt();
  SDL_Surface* canvas =
      SDL_CreateRGBSurfaceWithFormat(0, kCanvasWidth, kCanvasHeight, 32, SDL_PIXELFORMAT_XBGR8888);
  std::vector<SDL_Surface*> tiles, frames;
  for (const Surface& s : art.tiles) tiles.push_back(ToSdl(s, rle));
  for (const Surface& s : art.frames) frames.push_back(ToSdl(s, rle));
  SDL_Surface* sheet = ToSdl(art.sheet, rle);
  auto frame = [&] {
    SDL_FillRect(canvas, nullptr, 0);
    for (const Draw& d : art.draws) {
      SDL_Rect dst{d.x, d.y, 0, 0};
      if (d.glyph) {
        SDL_Rect src{d.clipX, d.clipY, 16, 16};
        SDL_BlitSurface(sheet, &src, canvas, &dst);
      } else if (d.id >= kFirstTile) {
        SDL_BlitSurface(tiles[static_cast<std::size_t>(d.id - kFirstTile)], nullptr, canvas, &dst);
      } else {
        SDL_BlitSurface(frames[static_cast<std::size_t>(d.id - kFirstFrame)], nullptr, canvas, &dst);
      }
    }
  };
  frame();  // RLE encoding happens on the first blit
  for (auto _ : state) {
    frame();
    benchmark::DoNotOptimize(canvas->pixels);
    benchmark::ClobberMemory();
  }
  for (SDL_Surface* s : tiles) SDL_FreeSurface(s);
  for (SDL_Surface* s : frames) SDL_FreeSurface(s);
  SDL_FreeSurface(sheet);
  SDL_FreeSurface(canvas);
}

void BM_SdlKeyedBlit(benchmark::State& state) {
  SdlKeyedBlit(state, false);
}
void BM_SdlKeyedBlitRle(benchmark::State& state) {
  SdlKeyedBlit(state, true);
}
BENCHMARK(BM_SdlKeyedBlit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SdlKeyedBlitRle)->Unit(benchmark::kMicrosecond);

// The floor: the same clipped rows copied with memcpy, no key test.
void BM_MemcpySameRows(benchmark::State& state) {
  const Art& art = TheArt();
  struct Rows {
    const std::uint32_t* src;
    std::size_t srcPitch;
    std::uint32_t* dst;
    int w, h;
  };
  Surface canvas = MakeSurface(kCanvasWidth, kCanvasHeight);
  std::vector<Rows> rows;
  for (const Draw& d : art.draws) {
    const Surface& s = d.glyph
                           ? art.sheet
                           : (d.id >= kFirstTile ? art.tiles[static_cast<std::size_t>(d.id - kFirstTile)]
                                                 : art.frames[static_cast<std::size_t>(d.id - kFirstFrame)]);
    const int w = d.glyph ? 16 : s.width, h = d.glyph ? 16 : s.height;
    if (d.x >= kCanvasWidth || d.y >= kCanvasHeight || d.x <= -w || d.y <= -h) continue;
    const int left = d.clipX + std::max(0, -d.x), top = d.clipY + std::max(0, -d.y);
    const int right = d.clipX + std::min(w, kCanvasWidth - d.x),
              bottom = d.clipY + std::min(h, kCanvasHeight - d.y);
    rows.push_back({s.Row(top) + left, static_cast<std::size_t>(s.width),
                    canvas.Row(std::max(0, d.y)) + std::max(0, d.x), right - left, bottom - top});
  }
  for (auto _ : state) {
    SurfaceFill(canvas, 0);
    for (const Rows& r : rows) CopyRect(r.src, r.srcPitch, r.dst, kCanvasWidth, r.w, r.h);
    benchmark::DoNotOptimize(canvas.pixels.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MemcpySameRows)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorin
