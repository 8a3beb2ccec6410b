#include "runtime/web/web_video.h"

#include <SDL.h>
#include <emscripten.h>

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
  pending_.push_back({texels, x, y, width, height, bilinear});
  SdlVideo::DrawQuad(texels, x, y, width, height, bilinear);
}

void WebVideo::Present(const Surface* backBuffer, std::uint32_t fillPixel) {
  shownPlain_ = backBuffer == nullptr;
  shownFill_ = fillPixel;
  if (backBuffer) shownBack_ = *backBuffer;
  shown_.swap(pending_);
  pending_.clear();
  SdlVideo::Present(backBuffer, fillPixel);
}

void WebVideo::DiscardFrame() {
  pending_.clear();
  SdlVideo::DiscardFrame();
}

bool WebVideo::ReadPicture(Surface& out) {
  // SDL's read gives the output's size and tells whether there is a screen.
  if (!SdlVideo::ReadPicture(out)) return false;
  if (shownPlain_ || shownBack_.width != out.width || shownBack_.height != out.height) {
    out = MakeSurface(out.width, out.height, shownFill_);
  } else {
    out = shownBack_;
  }
  for (const Quad& q : shown_) DrawScaled(out, q.texels, q.x, q.y, q.width, q.height, q.bilinear);
  return true;
}

}  // namespace quorin
