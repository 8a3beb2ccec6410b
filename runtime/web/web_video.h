// The page's video device: SDL's, drawing with its software renderer into the
// canvas (the same pixels as quorin-sim's: opaque quads are scaled by the core),
// with the page's visibility as part of the focus and the Smoothing choice
// carried over to the browser's own scaling of the canvas.
#pragma once

#include "runtime/sdl/sdl_video.h"
#include "runtime/surface.h"

namespace quorin {

class WebVideo final : public SdlVideo {
 public:
  WebVideo();
  bool ScreenHasFocus() override;
  void DrawQuad(const Surface& texels, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                bool bilinear) override;

 private:
  int smoothing_ = -1;  // what the canvas style says; -1 before the first quad
  Surface scaled_;      // the last opaque quad at its shown size
};

}  // namespace quorin
