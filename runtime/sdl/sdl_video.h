// The video device on SDL2: windows, the screen as an SDL renderer on the
// game's window or on a full-screen window, the back buffer and the quads as
// textures scaled by the renderer, message boxes, displays. A NativeWindow is
// an SDL window ID (SDL_GetWindowFromID turns it back into the window).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "runtime/host.h"
#include "runtime/platform.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

namespace quorin {

class SdlVideo : public VideoDevice {
 public:
  // Starts SDL's video subsystem; Ready() tells whether that worked.
  SdlVideo();
  ~SdlVideo() override;
  SdlVideo(const SdlVideo&) = delete;
  SdlVideo& operator=(const SdlVideo&) = delete;

  bool Ready() const { return ready_; }
  // Draws the last presented frame again and reads back the whole output,
  // bars included: the window, or the display in full screen (screenshots and
  // tests). False without a screen.
  bool ReadLastPicture(Surface& out);
  // The name of the SDL render driver the open screen uses ("opengl",
  // "software", ...); empty without a screen.
  std::string RendererName() const;
  // The window layer is the one place that takes events from SDL's queue; a
  // device that wants events rather than SDL's state calls (say, the mouse
  // wheel) sees each one here as it is taken.
  void SetEventObserver(std::function<void(const SDL_Event&)> observer) { observer_ = std::move(observer); }
  // On the software renderer an opaque quad is scaled here, with SDL's own
  // stretch, straight into a texture in the window's format: the same
  // pixels as SDL's scaled copy, without its per-frame scratch surface and
  // format-converting blend. On by default; off shows every quad through
  // SDL's scaled copy (tests compare the two).
  void SetOwnStretch(bool on) { ownStretch_ = on; }

  std::vector<DesktopInfo> Desktops() override;
  NativeWindow OpenWindow(const WindowSpec& wanted) override;
  void CloseWindow(NativeWindow window) override;
  void MinimiseWindow(NativeWindow window) override;
  std::int32_t PollWindowEvent() override;
  void PumpEvents() override;
  std::int32_t ShowMessage(std::string_view title, std::string_view text, std::int32_t flags) override;
  bool OpenScreenWindowed(NativeWindow window, std::int32_t x, std::int32_t y, std::int32_t width,
                          std::int32_t height, bool autoStretch, std::int32_t rightOffset,
                          std::int32_t bottomOffset) override;
  bool OpenScreenFullscreen(std::int32_t width, std::int32_t height, std::int32_t refreshRate,
                            std::string_view title, std::int32_t flipMode,
                            std::int32_t& actualRefresh) override;
  void CloseScreen() override;
  NativeWindow ScreenWindow() override;
  bool ScreenOutput(std::int32_t& x, std::int32_t& y, std::int32_t& width, std::int32_t& height) override;
  bool ScreenHasFocus() override;
  void DrawQuad(const Surface& texels, std::int32_t x, std::int32_t y, std::int32_t width,
                std::int32_t height, bool bilinear) override;
  void Present(const Surface* backBuffer, std::uint32_t fillPixel) override;
  void DiscardFrame() override { pendingQuads_.clear(); }
  void SetDesktopComposition(bool on) override;
  bool ReadPicture(Surface& out) override { return ReadLastPicture(out); }

 private:
  struct Event {
    NativeWindow window;
    std::int32_t code;
  };
  struct QuadTexture {
    SDL_Texture* texture = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    // The own stretch: the texels in the window's format, and the scaled
    // picture at the quad's size.
    std::vector<std::uint32_t> staging;
    std::int32_t stagingWidth = 0;
    SDL_Texture* scaled = nullptr;
    std::int32_t scaledWidth = 0;
    std::int32_t scaledHeight = 0;
    bool scaledValid = false;  // scaled holds staging stretched with scaledBilinear
    bool scaledBilinear = false;
  };
  struct QuadDrawing {
    std::size_t texture;
    std::int32_t x, y, width, height;
    bool opaque;  // every texel fully opaque
    bool scaled;  // drawn from the quad's scaled texture, unscaled
  };

  bool CreateRenderer(SDL_Window* window, bool vsync);
  bool StretchQuad(QuadTexture& q, const Surface& texels, std::int32_t width, std::int32_t height, bool bilinear);
  bool QuadsCoverOutput(std::int32_t outW, std::int32_t outH) const;
  void RenderFrame();
  void WaitForFrameSlot();

  bool ready_ = false;
  CompositionSwitch composition_;
  bool focusless_ = false;  // a video driver without a window system (dummy, offscreen)
  std::set<NativeWindow> windows_;
  std::deque<Event> events_;
  std::function<void(const SDL_Event&)> observer_;

  SDL_Window* screenWindow_ = nullptr;
  bool fullscreen_ = false;
  bool logicalSize_ = false;
  SDL_Renderer* renderer_ = nullptr;
  bool softwareRenderer_ = false;
  std::uint32_t outputFormat_ = 0;  // SDL pixel format of the window
  bool ownStretch_ = true;
  SDL_Texture* backTexture_ = nullptr;
  std::int32_t x_ = 0, y_ = 0, width_ = 0, height_ = 0;
  bool autoStretch_ = false;
  std::int32_t rightOffset_ = 0, bottomOffset_ = 0;

  std::vector<QuadTexture> quadTextures_;
  std::vector<QuadDrawing> pendingQuads_;
  std::vector<QuadDrawing> shownQuads_;
  bool shownPlain_ = true;
  std::uint32_t shownFill_ = 0;
  std::uint64_t lastPresent_ = 0;
};

}  // namespace quorin
