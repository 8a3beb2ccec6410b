// The screen and sprite layer: the game's only way to put pixels on the
// display. Sprites are CPU surfaces cut once per display open; each frame is
// blitted into the canvas sprite, copied into the texture sprite and shown as
// one scaled quad by the video device. Images are pictures the game reads
// pixel by pixel (the world layout, the noise texture).
//
// Identifiers: sprites, quads and images live in three tables chosen by the
// caller; reusing an identifier replaces the object; an operation on an
// identifier that holds no object does nothing and returns 0. Only images
// accept -1 (allocate a handle): for sprites -1 means the back buffer or the
// default key.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "runtime/numeric.h"
#include "runtime/object_table.h"
#include "runtime/platform.h"
#include "runtime/png_codec.h"
#include "runtime/surface.h"

namespace quorin {

// Sprite creation flags.
constexpr std::int32_t kSpriteSystemMemory = 1;  // placement only: all sprites live in memory here
constexpr std::int32_t kSpriteRawBuffer = 2;     // one grey byte per pixel; never drawn
constexpr std::int32_t kSpriteTexture = 4;       // may back a textured quad
constexpr std::int32_t kSpriteAlpha = 8;         // keeps image alpha; no key colour

constexpr std::int32_t kRawBufferDepth = -2;
constexpr std::int32_t kSpriteDepth = 32;
constexpr std::int32_t kSpriteTableStep = 64;
// DrawTargetSelect(kBackBuffer); SpriteSetKeyColour(kDefaultKey, ...).
constexpr std::int32_t kBackBuffer = -1;
constexpr std::int32_t kDefaultKey = -1;
constexpr std::int32_t kMagenta = ColourPack(255, 0, 255);
constexpr std::int32_t kMaxScreenSide = 16384;
constexpr std::int32_t kDefaultWindowedFrameRate = 60;

struct Sprite {
  Surface surface;                 // realWidth x realHeight; empty for a raw buffer
  std::vector<std::uint8_t> grey;  // raw-buffer sprites only
  std::int32_t width = 0;          // displayed size: the clip rectangle's
  std::int32_t height = 0;
  std::int32_t depth = kSpriteDepth;  // kRawBufferDepth for a raw buffer
  std::int32_t flags = 0;
  std::int32_t realWidth = 0;
  std::int32_t realHeight = 0;
  std::int32_t clipX = 0;
  std::int32_t clipY = 0;
  std::uint32_t key = 0;  // pixel value, alpha cleared
  bool hasKey = true;
};

// A textured quad shows the whole surface of a texture sprite scaled to its
// display size. It forgets its sprite when that sprite is freed.
struct Quad {
  const Sprite* sprite = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t flags = 0;
  float angle = 0.0f;  // the game never rotates
};

struct Image {
  Surface pixels;
  std::int32_t depth = 24;  // 32 when the picture has alpha
};

// What ImageAsDrawTarget hands to DrawingBegin.
struct DrawingOutput {
  std::int32_t image = 0;
  bool valid = false;
  explicit operator bool() const { return valid; }
};

struct ScreenState {
  bool open = false;
  bool windowed = false;
  NativeWindow window = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  // Where the screen shows on the desktop. A full screen without a display
  // mode of its size is scaled onto the whole display: then this is larger
  // than width x height.
  std::int32_t outputX = 0;
  std::int32_t outputY = 0;
  std::int32_t outputWidth = 0;
  std::int32_t outputHeight = 0;
  std::int32_t depth = 0;
  std::int32_t flipMode = 0;
  std::int32_t requestedRefresh = 0;
  std::int32_t actualRefresh = 0;
  // Current draw target: a sprite, or the back buffer when null.
  Sprite* target = nullptr;
  std::int32_t targetWidth = 0;
  std::int32_t targetHeight = 0;
  std::uint32_t defaultKey = 0;
  bool active = false;
  // The back buffer is filled lazily: a clear only records its colour, since
  // the game clears it every frame and then covers it with the quad. Its
  // pixels are made on the first draw into it (RealiseBackBuffer).
  Surface backBuffer;
  bool backBufferPlain = true;
  std::uint32_t backBufferFill = 0;
};

// Carries out a pending clear of the back buffer, making its pixels first
// when nothing has drawn into it yet.
void RealiseBackBuffer(ScreenState& s);

// The whole layer; one per game, owned by the caller.
struct VideoState {
  VideoDevice* device = nullptr;
  ScreenState screen;
  ObjectTable<Sprite> sprites{kSpriteTableStep};
  ObjectTable<Quad> quads;
  ObjectTable<Image> images;
  std::vector<DesktopInfo> desktops;
  bool quadBilinear = false;
  bool quadBatchOpen = false;
  Surface quadTexels;  // staging for the device, reused every frame
  const Image* drawing = nullptr;
  std::int32_t drawingImage = 0;
};

// Start-up and exit (the game's SpriteSystemInit / QuadInit / SpriteSystemShutdown).
std::int32_t SpriteSystemInit(VideoState& video, VideoDevice& device);
std::int32_t QuadInit(VideoState& video);
void SpriteSystemShutdown(VideoState& video);

// Desktops, primary first.
std::int32_t DesktopEnumerate(VideoState& video);
std::int32_t DesktopGetWidth(const VideoState& video, std::int32_t index);
std::int32_t DesktopGetHeight(const VideoState& video, std::int32_t index);

// 1 on success, 0 with nothing open. Sizes <= 0 are refused.
std::int32_t ScreenOpenFullscreen(VideoState& video, std::int32_t width, std::int32_t height,
                                  std::int32_t depth, std::string_view title, std::int32_t flipMode,
                                  std::int32_t refreshRate);
std::int32_t ScreenOpenWindowed(VideoState& video, NativeWindow window, std::int32_t x, std::int32_t y,
                                std::int32_t width, std::int32_t height, std::int32_t autoStretch,
                                std::int32_t rightOffset, std::int32_t bottomOffset);
// Frees every sprite.
void ScreenClose(VideoState& video);
// 1 while the screen's window has the input focus. Takes the system's pending
// events first, so what the devices read afterwards is current.
std::int32_t ScreenIsActive(VideoState& video);
NativeWindow ScreenWindowHandle(const VideoState& video);
void ScreenClear(VideoState& video, std::int32_t colour);
void ScreenPresent(VideoState& video);
void DrawTargetSelect(VideoState& video, std::int32_t id);

// Sprites exist only while a screen is open; creation without one fails.
Sprite* SpriteFind(const VideoState& video, std::int32_t id);
Sprite* SpriteCreate(VideoState& video, std::int32_t id, std::int32_t width, std::int32_t height,
                     std::int32_t flags);
Sprite* SpriteLoadFromMemory(VideoState& video, std::int32_t id, std::span<const unsigned char> data,
                             std::int32_t flags);
Sprite* SpriteLoadFromMemoryPlain(VideoState& video, std::int32_t id, std::span<const unsigned char> data);
// SpriteLoadFromMemory of an image decoded beforehand (on any thread); its
// pixels become the sprite's.
Sprite* SpriteLoadDecoded(VideoState& video, std::int32_t id, DecodedImage image, std::int32_t flags);
// A copy of a rectangle of the current target; 0 unless it lies wholly inside.
Sprite* SpriteGrab(VideoState& video, std::int32_t id, std::int32_t x, std::int32_t y, std::int32_t width,
                   std::int32_t height, std::int32_t flags);
void SpriteFree(VideoState& video, std::int32_t id);
void SpriteSetKeyColour(VideoState& video, std::int32_t id, std::int32_t colour);
// All four -1: the whole sprite. The rectangle is kept inside the surface.
void SpriteClip(VideoState& video, std::int32_t id, std::int32_t x, std::int32_t y, std::int32_t width,
                std::int32_t height);
void SpriteDraw(VideoState& video, std::int32_t id, std::int32_t x, std::int32_t y);
void SpriteDrawKeyed(VideoState& video, std::int32_t id, std::int32_t x, std::int32_t y);

// Textured quads: the final scaling of the picture.
Quad* QuadCreate(VideoState& video, std::int32_t id3d, std::int32_t spriteId);
void QuadFree(VideoState& video, std::int32_t id3d);
void QuadFreeAll(VideoState& video);
void QuadSetSize(VideoState& video, std::int32_t id3d, std::int32_t width, std::int32_t height);
// 0 nearest texel, anything else bilinear.
void QuadSetFiltering(VideoState& video, std::int32_t mode);
std::int32_t QuadBegin(VideoState& video);
void QuadDraw(VideoState& video, std::int32_t id3d, std::int32_t x, std::int32_t y);
void QuadEnd(VideoState& video);

// Images. ImageLoadFromMemory returns the new handle for id -1, 1 for an
// identifier, 0 when the data does not decode (nothing is created then).
std::int32_t ImageLoadFromMemory(VideoState& video, std::int32_t id, std::span<const unsigned char> data);
std::int32_t ImageExists(const VideoState& video, std::int32_t id);
std::int32_t ImageGetWidth(const VideoState& video, std::int32_t id);
std::int32_t ImageGetHeight(const VideoState& video, std::int32_t id);
void ImageFree(VideoState& video, std::int32_t id);
void ImageFreeAll(VideoState& video);
DrawingOutput ImageAsDrawTarget(const VideoState& video, std::int32_t id);
std::int32_t DrawingBegin(VideoState& video, DrawingOutput output);
// Red-low colour value of pixel (x, y) from the top-left; 0 outside the image
// or without an active drawing.
std::int32_t DrawingReadPixel(const VideoState& video, std::int32_t x, std::int32_t y);
void DrawingEnd(VideoState& video);

}  // namespace quorin
