// Screen opening, draw targets, blits and textured quads.
#include <algorithm>
#include <vector>

#include "runtime/screen.h"

namespace quorin {

namespace {

std::uint32_t ToPixel(std::int32_t colour) {
  return static_cast<std::uint32_t>(colour) & kPixelRgbMask;
}

void SelectBackBuffer(ScreenState& s) {
  s.target = nullptr;
  s.targetWidth = s.width;
  s.targetHeight = s.height;
}

// The current target, with a pending clear of the back buffer carried out.
Surface& TargetSurface(ScreenState& s) {
  if (s.target) return s.target->surface;
  RealiseBackBuffer(s);
  return s.backBuffer;
}

bool CanDraw(const ScreenState& s) {
  return s.open && (s.windowed || s.active);
}

void ResetScreen(VideoState& video) {
  const std::uint32_t defaultKey = video.screen.defaultKey;
  video.screen = ScreenState{};
  video.screen.defaultKey = defaultKey;
  video.quadBatchOpen = false;
}

// Opens the back buffer and the state common to both modes.
void StartScreen(VideoState& video, std::int32_t width, std::int32_t height) {
  ScreenState& s = video.screen;
  s.open = true;
  s.width = width;
  s.height = height;
  s.backBuffer = Surface{width, height, {}};
  s.backBufferPlain = true;
  s.backBufferFill = 0;
  s.active = true;
  s.window = video.device->ScreenWindow();
  if (!video.device->ScreenOutput(s.outputX, s.outputY, s.outputWidth, s.outputHeight) || s.outputWidth <= 0 ||
      s.outputHeight <= 0) {
    s.outputX = s.outputY = 0;
    s.outputWidth = width;
    s.outputHeight = height;
  }
  SelectBackBuffer(s);
}

bool ValidScreenSize(std::int32_t width, std::int32_t height) {
  return width > 0 && height > 0 && width <= kMaxScreenSide && height <= kMaxScreenSide;
}

void DrawSprite(VideoState& video, std::int32_t id, std::int32_t x, std::int32_t y, bool keyed) {
  ScreenState& s = video.screen;
  if (!CanDraw(s)) return;
  const Sprite* sprite = video.sprites.Find(id);
  if (!sprite || sprite->depth == kRawBufferDepth) return;
  const std::int32_t w = sprite->width, h = sprite->height;
  const std::int32_t W = s.targetWidth, H = s.targetHeight;
  if (x >= W || y >= H || x <= -w || y <= -h) return;

  const std::int32_t left = sprite->clipX + std::max(0, -x);
  const std::int32_t top = sprite->clipY + std::max(0, -y);
  const std::int32_t right = sprite->clipX + std::min(w, W - x);
  const std::int32_t bottom = sprite->clipY + std::min(h, H - y);
  if (right <= left || bottom <= top) return;

  Surface& dst = TargetSurface(s);
  const std::uint32_t* src = sprite->surface.Row(top) + left;
  std::size_t srcPitch = static_cast<std::size_t>(sprite->realWidth);
  std::vector<std::uint32_t> copy;
  if (&dst == &sprite->surface) {
    // Drawing a sprite onto itself: the rectangles may overlap.
    copy.resize(static_cast<std::size_t>(right - left) * (bottom - top));
    CopyRect(src, srcPitch, copy.data(), static_cast<std::size_t>(right - left), right - left, bottom - top);
    src = copy.data();
    srcPitch = static_cast<std::size_t>(right - left);
  }
  std::uint32_t* out = dst.Row(std::max(0, y)) + std::max(0, x);
  const std::size_t dstPitch = static_cast<std::size_t>(dst.width);
  if (keyed && sprite->hasKey) {
    CopyRectKeyed(src, srcPitch, out, dstPitch, right - left, bottom - top, sprite->key);
  } else {
    CopyRect(src, srcPitch, out, dstPitch, right - left, bottom - top);
  }
}

}  // namespace

void RealiseBackBuffer(ScreenState& s) {
  if (!s.backBufferPlain) return;
  if (s.backBuffer.pixels.empty()) {
    s.backBuffer = MakeSurface(s.width, s.height, s.backBufferFill);
  } else {
    SurfaceFill(s.backBuffer, s.backBufferFill);
  }
  s.backBufferPlain = false;
}

std::int32_t SpriteSystemInit(VideoState& video, VideoDevice& device) {
  video.device = &device;
  return 1;
}

std::int32_t QuadInit(VideoState& video) {
  return video.device != nullptr ? 1 : 0;
}

void SpriteSystemShutdown(VideoState& video) {
  ScreenClose(video);
  video.device = nullptr;
}

std::int32_t DesktopEnumerate(VideoState& video) {
  video.desktops.clear();
  if (video.device) video.desktops = video.device->Desktops();
  return static_cast<std::int32_t>(video.desktops.size());
}

std::int32_t DesktopGetWidth(const VideoState& video, std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= video.desktops.size()) return 0;
  return video.desktops[static_cast<std::size_t>(index)].width;
}

std::int32_t DesktopGetHeight(const VideoState& video, std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= video.desktops.size()) return 0;
  return video.desktops[static_cast<std::size_t>(index)].height;
}

std::int32_t ScreenOpenFullscreen(VideoState& video, std::int32_t width, std::int32_t height,
                                  std::int32_t depth, std::string_view title, std::int32_t flipMode,
                                  std::int32_t refreshRate) {
  ScreenClose(video);
  if (!video.device || !ValidScreenSize(width, height)) return 0;
  const std::int32_t refresh = refreshRate < 0 ? 0 : refreshRate;
  std::int32_t actual = 0;
  if (!video.device->OpenScreenFullscreen(width, height, refresh, title, flipMode, actual)) return 0;
  StartScreen(video, width, height);
  ScreenState& s = video.screen;
  s.windowed = false;
  s.depth = depth;
  s.flipMode = flipMode;
  s.requestedRefresh = refresh;
  s.actualRefresh = actual;
  return 1;
}

std::int32_t ScreenOpenWindowed(VideoState& video, NativeWindow window, std::int32_t x, std::int32_t y,
                                std::int32_t width, std::int32_t height, std::int32_t autoStretch,
                                std::int32_t rightOffset, std::int32_t bottomOffset) {
  ScreenClose(video);
  if (!video.device || window == 0 || !ValidScreenSize(width, height)) return 0;
  if (!video.device->OpenScreenWindowed(window, x, y, width, height, autoStretch != 0, rightOffset,
                                        bottomOffset)) {
    return 0;
  }
  StartScreen(video, width, height);
  ScreenState& s = video.screen;
  s.windowed = true;
  if (video.desktops.empty()) DesktopEnumerate(video);
  s.depth = video.desktops.empty() ? kSpriteDepth : video.desktops.front().bitsPerPixel;
  s.flipMode = 1;
  s.actualRefresh = video.desktops.empty() ? 0 : video.desktops.front().refreshRate;
  return 1;
}

void ScreenClose(VideoState& video) {
  // Quads lose their textures with the sprites.
  video.quads.ForEach([](std::int32_t, Quad& quad) { quad.sprite = nullptr; });
  video.sprites.Clear();
  if (video.screen.open && video.device) video.device->CloseScreen();
  ResetScreen(video);
}

std::int32_t ScreenIsActive(VideoState& video) {
  ScreenState& s = video.screen;
  if (!s.open) return 0;
  // The main loop asks on every iteration, right before the controls are
  // read: taking the system's events here keeps the focus and the devices
  // fresh whether or not this iteration presents (in full screen the
  // present is the only other place that takes them).
  video.device->PumpEvents();
  s.active = video.device->ScreenHasFocus();
  return s.active ? 1 : 0;
}

NativeWindow ScreenWindowHandle(const VideoState& video) {
  return video.screen.open ? video.screen.window : 0;
}

void ScreenClear(VideoState& video, std::int32_t colour) {
  ScreenState& s = video.screen;
  if (!CanDraw(s)) return;
  if (s.target) {
    SurfaceFill(s.target->surface, ToPixel(colour));
  } else {
    s.backBufferPlain = true;
    s.backBufferFill = ToPixel(colour);
  }
}

void ScreenPresent(VideoState& video) {
  ScreenState& s = video.screen;
  if (!s.open) return;
  SelectBackBuffer(s);
  if (!s.windowed) {
    video.device->PumpEvents();
    s.active = video.device->ScreenHasFocus();
    if (!s.active) {
      video.device->DiscardFrame();
      return;
    }
  }
  video.device->Present(s.backBufferPlain ? nullptr : &s.backBuffer, s.backBufferFill);
}

void DrawTargetSelect(VideoState& video, std::int32_t id) {
  ScreenState& s = video.screen;
  if (id == kBackBuffer) {
    SelectBackBuffer(s);
    return;
  }
  Sprite* sprite = video.sprites.Find(id);
  if (!sprite || sprite->depth == kRawBufferDepth) return;
  s.target = sprite;
  s.targetWidth = sprite->realWidth;
  s.targetHeight = sprite->realHeight;
}

void SpriteDraw(VideoState& video, std::int32_t id, std::int32_t x, std::int32_t y) {
  DrawSprite(video, id, x, y, false);
}

void SpriteDrawKeyed(VideoState& video, std::int32_t id, std::int32_t x, std::int32_t y) {
  DrawSprite(video, id, x, y, true);
}

Quad* QuadCreate(VideoState& video, std::int32_t id3d, std::int32_t spriteId) {
  if (id3d < 0) return nullptr;
  const Sprite* sprite = video.sprites.Find(spriteId);
  if (!sprite || (sprite->flags & kSpriteTexture) == 0 || sprite->depth == kRawBufferDepth) return nullptr;
  auto quad = std::make_unique<Quad>();
  quad->sprite = sprite;
  quad->width = sprite->width;
  quad->height = sprite->height;
  quad->flags = sprite->flags;
  Quad* made = quad.get();
  if (!video.quads.Put(id3d, std::move(quad))) return nullptr;
  return made;
}

void QuadFree(VideoState& video, std::int32_t id3d) {
  video.quads.Remove(id3d);
}

void QuadFreeAll(VideoState& video) {
  video.quads.Clear();
}

void QuadSetSize(VideoState& video, std::int32_t id3d, std::int32_t width, std::int32_t height) {
  if (Quad* quad = video.quads.Find(id3d)) {
    quad->width = width;
    quad->height = height;
  }
}

void QuadSetFiltering(VideoState& video, std::int32_t mode) {
  video.quadBilinear = mode != 0;
}

std::int32_t QuadBegin(VideoState& video) {
  if (!CanDraw(video.screen)) return 0;
  video.quadBatchOpen = true;
  return 1;
}

void QuadDraw(VideoState& video, std::int32_t id3d, std::int32_t x, std::int32_t y) {
  if (!video.quadBatchOpen || !CanDraw(video.screen)) return;
  const Quad* quad = video.quads.Find(id3d);
  if (!quad || !quad->sprite || quad->width <= 0 || quad->height <= 0) return;
  const Sprite& sprite = *quad->sprite;
  // Texels carry straight alpha: key-coloured texels are transparent, the
  // rest opaque, unless the sprite brings its own alpha.
  Surface& texels = video.quadTexels;
  texels.width = sprite.realWidth;
  texels.height = sprite.realHeight;
  texels.pixels.resize(sprite.surface.pixels.size());
  const std::uint32_t* src = sprite.surface.pixels.data();
  std::uint32_t* dst = texels.pixels.data();
  const std::size_t n = sprite.surface.pixels.size();
  if (sprite.flags & kSpriteAlpha) {
    std::copy(src, src + n, dst);
  } else if (sprite.hasKey) {
    const std::uint32_t key = sprite.key & kPixelRgbMask;
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint32_t rgb = src[i] & kPixelRgbMask;
      dst[i] = rgb == key ? 0 : (rgb | kPixelAlphaOpaque);
    }
  } else {
    for (std::size_t i = 0; i < n; ++i) dst[i] = src[i] | kPixelAlphaOpaque;
  }
  video.device->DrawQuad(texels, x, y, quad->width, quad->height, video.quadBilinear);
}

void QuadEnd(VideoState& video) {
  video.quadBatchOpen = false;
}

}  // namespace quorin
