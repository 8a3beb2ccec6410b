// The page's video device: SDL's, drawing with its software renderer into the
// canvas, with the page's visibility as part of the focus and the Smoothing
// choice carried over to the browser's own scaling of the canvas. Pictures
// read back (the screenshot key, the page's test hook) are composed by the
// core from the frame's quads, as quorin-sim composes them, so they equal
// its pictures exactly; the canvas shows SDL's scaling of the same quads.
#pragma once

#include <vector>

#include "runtime/sdl/sdl_video.h"
#include "runtime/surface.h"

namespace quorin {

class WebVideo final : public SdlVideo {
 public:
  WebVideo();
  bool ScreenHasFocus() override;
  void DrawQuad(const Surface& texels, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                bool bilinear) override;
  void Present(const Surface* backBuffer, std::uint32_t fillPixel) override;
  void DiscardFrame() override;
  bool ReadPicture(Surface& out) override;

 private:
  struct Quad {
    Surface texels;
    std::int32_t x, y, width, height;
    bool bilinear;
  };
  int smoothing_ = -1;  // what the canvas style says; -1 before the first quad
  std::vector<Quad> pending_, shown_;
  bool shownPlain_ = true;
  std::uint32_t shownFill_ = 0;
  Surface shownBack_;
};

}  // namespace quorin
