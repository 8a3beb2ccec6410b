#include "runtime/web/web_video.h"

#include <SDL.h>
#include <emscripten.h>

#include <algorithm>
#include <cstdint>

namespace quorin {
namespace {

EM_JS(int, PageVisible, (), { return document.visibilityState !== 'hidden' ? 1 : 0; });

EM_JS(void, SetCanvasSmoothing, (int smooth), {
  if (Module['canvas']) Module['canvas'].style.imageRendering = smooth ? 'auto' : 'pixelated';
});

}  // namespace

// Read when a screen opens its renderer.
WebVideo::WebVideo() { SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software"); }

bool WebVideo::ScreenHasFocus() {
  return SdlVideo::ScreenHasFocus() && PageVisible() != 0;
}

void WebVideo::DrawQuad(const Surface& texels, std::int32_t x, std::int32_t y, std::int32_t width,
                        std::int32_t height, bool bilinear) {
  // The frame quad carries the Smoothing choice; the browser then scales the
  // canvas to the page the same way.
  if (smoothing_ != static_cast<int>(bilinear)) {
    smoothing_ = bilinear ? 1 : 0;
    SetCanvasSmoothing(smoothing_);
  }
  // An opaque quad is scaled here by the core's own scaler, as the null back
  // end scales it, so the page shows quorin-sim's pixels exactly; SDL then
  // only copies it.
  const bool scaled = width != texels.width || height != texels.height;
  if (scaled && width > 0 && height > 0 &&
      std::all_of(texels.pixels.begin(), texels.pixels.end(), [](std::uint32_t p) { return (p >> 24) == 0xFFu; })) {
    if (scaled_.width != width || scaled_.height != height) scaled_ = MakeSurface(width, height);
    DrawScaled(scaled_, texels, 0, 0, width, height, bilinear);
    SdlVideo::DrawQuad(scaled_, x, y, width, height, bilinear);
    return;
  }
  SdlVideo::DrawQuad(texels, x, y, width, height, bilinear);
}

}  // namespace quorin
