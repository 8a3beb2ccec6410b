// Off-screen images read pixel by pixel, independent of any screen.
#include <memory>

#include "runtime/png_codec.h"
#include "runtime/screen.h"

namespace quorin {

std::int32_t ImageLoadFromMemory(VideoState& video, std::int32_t id, std::span<const unsigned char> data) {
  if (id < kAllocateHandle) {
    if (!video.images.Find(id)) return 0;  // only a live handle can be reused
  }
  DecodedImage decoded;
  if (!DecodePng(data, decoded)) return 0;
  auto image = std::make_unique<Image>();
  image->depth = decoded.hasAlpha ? 32 : 24;
  image->pixels = std::move(decoded.pixels);
  if (!decoded.hasAlpha) {
    for (std::uint32_t& p : image->pixels.pixels) p &= kPixelRgbMask;
  }
  if (id != kAllocateHandle && video.drawing && video.drawing == video.images.Find(id)) DrawingEnd(video);
  const std::optional<std::int32_t> stored = video.images.Put(id, std::move(image));
  if (!stored) return 0;
  return id == kAllocateHandle ? *stored : 1;
}

std::int32_t ImageExists(const VideoState& video, std::int32_t id) {
  return video.images.Find(id) ? 1 : 0;
}

std::int32_t ImageGetWidth(const VideoState& video, std::int32_t id) {
  const Image* image = video.images.Find(id);
  return image ? image->pixels.width : 0;
}

std::int32_t ImageGetHeight(const VideoState& video, std::int32_t id) {
  const Image* image = video.images.Find(id);
  return image ? image->pixels.height : 0;
}

void ImageFree(VideoState& video, std::int32_t id) {
  const Image* image = video.images.Find(id);
  if (!image) return;
  if (video.drawing == image) DrawingEnd(video);
  video.images.Remove(id);
}

void ImageFreeAll(VideoState& video) {
  DrawingEnd(video);
  video.images.Clear();
}

DrawingOutput ImageAsDrawTarget(const VideoState& video, std::int32_t id) {
  if (!video.images.Find(id)) return {};
  return DrawingOutput{id, true};
}

std::int32_t DrawingBegin(VideoState& video, DrawingOutput output) {
  DrawingEnd(video);
  const Image* image = output ? video.images.Find(output.image) : nullptr;
  if (!image) return 0;
  video.drawing = image;
  video.drawingImage = output.image;
  return 1;
}

std::int32_t DrawingReadPixel(const VideoState& video, std::int32_t x, std::int32_t y) {
  const Image* image = video.drawing;
  if (!image || x < 0 || y < 0 || x >= image->pixels.width || y >= image->pixels.height) return 0;
  return static_cast<std::int32_t>(image->pixels.Row(y)[x] & kPixelRgbMask);
}

void DrawingEnd(VideoState& video) {
  video.drawing = nullptr;
  video.drawingImage = 0;
}

}  // namespace quorin
