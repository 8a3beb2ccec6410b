// Sprite creation, loading, grabbing, key colours and clip rectangles.
#include <algorithm>
#include <memory>

#include "runtime/png_codec.h"
#include "runtime/screen.h"

namespace quorin {

namespace {

// Largest sprite side; the game's largest is 512.
constexpr std::int32_t kMaxSpriteSide = 16384;

// withPixels false leaves a surface sprite's pixels to the caller.
std::unique_ptr<Sprite> NewSprite(const VideoState& video, std::int32_t width, std::int32_t height,
                                  std::int32_t flags, bool withPixels = true) {
  if (width <= 0 || height <= 0 || width > kMaxSpriteSide || height > kMaxSpriteSide) return nullptr;
  auto sprite = std::make_unique<Sprite>();
  sprite->width = sprite->realWidth = width;
  sprite->height = sprite->realHeight = height;
  sprite->flags = flags;
  const std::size_t count = static_cast<std::size_t>(width) * height;
  if (flags & kSpriteRawBuffer) {
    sprite->depth = kRawBufferDepth;
    sprite->grey.assign(count, 0);
  } else if (withPixels) {
    sprite->surface = MakeSurface(width, height);
  }
  sprite->key = video.screen.defaultKey;
  sprite->hasKey = (flags & kSpriteAlpha) == 0;
  return sprite;
}

std::uint8_t GreyOf(std::uint32_t pixel) {
  return static_cast<std::uint8_t>(((pixel & 255) + ((pixel >> 8) & 255) + ((pixel >> 16) & 255)) / 3);
}

// Puts a finished sprite under id. A sprite it replaces that is the current
// target or a quad's texture is forgotten there first.
Sprite* Install(VideoState& video, std::int32_t id, std::unique_ptr<Sprite> sprite) {
  if (!sprite || id < 0) return nullptr;
  SpriteFree(video, id);
  Sprite* made = sprite.get();
  if (!video.sprites.Put(id, std::move(sprite))) return nullptr;
  return made;
}

}  // namespace

Sprite* SpriteFind(const VideoState& video, std::int32_t id) {
  return video.sprites.Find(id);
}

Sprite* SpriteCreate(VideoState& video, std::int32_t id, std::int32_t width, std::int32_t height,
                     std::int32_t flags) {
  if (!video.screen.open || id < 0) return nullptr;
  return Install(video, id, NewSprite(video, width, height, flags));
}

Sprite* SpriteLoadFromMemory(VideoState& video, std::int32_t id, std::span<const unsigned char> data,
                             std::int32_t flags) {
  if (!video.screen.open || id < 0) return nullptr;
  DecodedImage image;
  if (!DecodePng(data, image)) return nullptr;
  return SpriteLoadDecoded(video, id, std::move(image), flags);
}

Sprite* SpriteLoadDecoded(VideoState& video, std::int32_t id, DecodedImage image, std::int32_t flags) {
  if (!video.screen.open || id < 0) return nullptr;
  // Flag 8 means nothing for an image without alpha: it would draw as invisible quads.
  if (!image.hasAlpha) flags &= ~kSpriteAlpha;
  Surface& in = image.pixels;
  if (in.pixels.size() != static_cast<std::size_t>(in.width) * static_cast<std::size_t>(std::max(0, in.height))) {
    return nullptr;
  }
  std::unique_ptr<Sprite> sprite = NewSprite(video, in.width, in.height, flags, false);
  if (!sprite) return nullptr;
  if (flags & kSpriteRawBuffer) {
    std::transform(in.pixels.begin(), in.pixels.end(), sprite->grey.begin(), GreyOf);
  } else {
    if ((flags & kSpriteAlpha) == 0) {
      for (std::uint32_t& p : in.pixels) p &= kPixelRgbMask;
    }
    sprite->surface = std::move(in);
  }
  return Install(video, id, std::move(sprite));
}

Sprite* SpriteLoadFromMemoryPlain(VideoState& video, std::int32_t id, std::span<const unsigned char> data) {
  return SpriteLoadFromMemory(video, id, data, 0);
}

Sprite* SpriteGrab(VideoState& video, std::int32_t id, std::int32_t x, std::int32_t y, std::int32_t width,
                   std::int32_t height, std::int32_t flags) {
  ScreenState& s = video.screen;
  if (!s.open || id < 0) return nullptr;
  if (x < 0 || y < 0 || width <= 0 || height <= 0 || std::int64_t{x} + width > s.targetWidth ||
      std::int64_t{y} + height > s.targetHeight) {
    return nullptr;
  }
  std::unique_ptr<Sprite> sprite = NewSprite(video, width, height, flags);
  if (!sprite) return nullptr;
  if (!s.target) RealiseBackBuffer(s);
  const Surface& from = s.target ? s.target->surface : s.backBuffer;
  if (flags & kSpriteRawBuffer) {
    for (std::int32_t row = 0; row < height; ++row) {
      const std::uint32_t* src = from.Row(y + row) + x;
      std::transform(src, src + width, sprite->grey.begin() + static_cast<std::ptrdiff_t>(row) * width,
                     GreyOf);
    }
  } else {
    CopyRect(from.Row(y) + x, static_cast<std::size_t>(from.width), sprite->surface.pixels.data(),
             static_cast<std::size_t>(width), width, height);
  }
  // Grabbing over the target's own identifier leaves the back buffer selected.
  return Install(video, id, std::move(sprite));
}

void SpriteFree(VideoState& video, std::int32_t id) {
  const Sprite* sprite = video.sprites.Find(id);
  if (!sprite) return;
  ScreenState& s = video.screen;
  if (s.target == sprite) {
    s.target = nullptr;
    s.targetWidth = s.width;
    s.targetHeight = s.height;
  }
  video.quads.ForEach([sprite](std::int32_t, Quad& quad) {
    if (quad.sprite == sprite) quad.sprite = nullptr;
  });
  video.sprites.Remove(id);
}

void SpriteSetKeyColour(VideoState& video, std::int32_t id, std::int32_t colour) {
  const std::uint32_t key = static_cast<std::uint32_t>(colour) & kPixelRgbMask;
  if (id == kDefaultKey) {
    video.screen.defaultKey = key;
    return;
  }
  if (Sprite* sprite = video.sprites.Find(id)) {
    sprite->key = key;
    sprite->hasKey = true;
  }
}

void SpriteClip(VideoState& video, std::int32_t id, std::int32_t x, std::int32_t y, std::int32_t width,
                std::int32_t height) {
  Sprite* sprite = video.sprites.Find(id);
  if (!sprite) return;
  if (x == -1 && y == -1 && width == -1 && height == -1) {
    sprite->clipX = sprite->clipY = 0;
    sprite->width = sprite->realWidth;
    sprite->height = sprite->realHeight;
    return;
  }
  // Kept inside the surface so that no blit can read outside it.
  sprite->clipX = std::clamp(x, 0, sprite->realWidth);
  sprite->clipY = std::clamp(y, 0, sprite->realHeight);
  sprite->width = std::clamp(width, 0, sprite->realWidth - sprite->clipX);
  sprite->height = std::clamp(height, 0, sprite->realHeight - sprite->clipY);
}

}  // namespace quorin
