#include "runtime/sdl/sdl_video.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/host.h"
#include "runtime/screen.h"


namespace quorin {

namespace {

// Pixels keep red in the low byte: SDL calls that packed layout ABGR8888.
constexpr Uint32 kTextureFormat = SDL_PIXELFORMAT_ABGR8888;

// Message box styles and button codes of the game's message calls.
constexpr std::int32_t kMessageButtonsMask = 0xF;
constexpr std::int32_t kMessageOkCancel = 1;
constexpr std::int32_t kMessageYesNo = 4;
constexpr std::int32_t kMessageIconMask = 0xF0;
constexpr std::int32_t kMessageIconError = 0x10;
constexpr std::int32_t kMessageIconWarning = 0x30;
constexpr std::int32_t kButtonOk = 1;
constexpr std::int32_t kButtonCancel = 2;
constexpr std::int32_t kButtonYes = 6;
constexpr std::int32_t kButtonNo = 7;

// The windowed limiter spins only this close to its mark.
constexpr Uint64 kLimiterSpinMicroseconds = 250;

// The game's own message says only that the display failed; SDL's reason goes
// beside it for whoever has to find out why.
void LogFailure(const char* what) {
  SDL_LogWarn(SDL_LOG_CATEGORY_APPLICATION, "%s failed: %s", what, SDL_GetError());
}

bool AllOpaque(const Surface& texels) {
  return std::all_of(texels.pixels.begin(), texels.pixels.end(),
                     [](std::uint32_t p) { return (p >> 24) == 0xFF; });
}

// The texels in a 32-bit window layout, red low (as the texels) or red in the
// third byte. False for any other layout, or when a texel is not fully opaque
// (only an opaque quad may skip SDL's blend); out is then left unusable.
// changed tells whether out held anything else before.
bool OpaqueInLayout(const Surface& texels, Uint32 format, std::vector<std::uint32_t>& out, bool& changed) {
  const bool redLow = format == SDL_PIXELFORMAT_ABGR8888 || format == SDL_PIXELFORMAT_XBGR8888;
  const bool redHigh = format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_XRGB8888;
  if (!redLow && !redHigh) return false;
  changed = out.size() != texels.pixels.size();
  out.resize(texels.pixels.size());
  const std::uint32_t* src = texels.pixels.data();
  std::uint32_t* dst = out.data();
  // No early exit: the loop stays vectorised.
  std::uint32_t alphas = 0xFFFFFFFFu;
  std::uint32_t difference = 0;
  for (std::size_t i = 0, n = texels.pixels.size(); i < n; ++i) {
    const std::uint32_t p = src[i];
    alphas &= p;
    const std::uint32_t q = redLow ? p : (p & 0xFF00FF00u) | ((p & 0xFFu) << 16) | ((p >> 16) & 0xFFu);
    difference |= q ^ dst[i];
    dst[i] = q;
  }
  changed = changed || difference != 0;
  return (alphas >> 24) == 0xFFu;
}

SDL_Window* WindowFromId(NativeWindow window) {
  return window == 0 ? nullptr : SDL_GetWindowFromID(static_cast<Uint32>(window));
}

}  // namespace

SdlVideo::SdlVideo() {
  SDL_SetMainReady();
  // A close click is a request the game answers, not an SDL_QUIT of its own.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // Windows: one window pixel per screen pixel on a scaled desktop, unblurred.
  SDL_SetHint(SDL_HINT_WINDOWS_DPI_AWARENESS, "permonitorv2");
  ready_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  if (!ready_) LogFailure("video start-up");
  if (ready_) {
    const char* driver = SDL_GetCurrentVideoDriver();
    focusless_ = driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0);
  }
}

SdlVideo::~SdlVideo() {
  SetDesktopComposition(true);
  CloseScreen();
  for (NativeWindow window : std::set<NativeWindow>(windows_)) CloseWindow(window);
  if (ready_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void SdlVideo::SetDesktopComposition(bool on) {
  composition_.Set(on);
}

std::vector<DesktopInfo> SdlVideo::Desktops() {
  std::vector<DesktopInfo> out;
  if (!ready_) return out;
  const int count = SDL_GetNumVideoDisplays();
  for (int i = 0; i < count; ++i) {
    SDL_Rect bounds;
    SDL_DisplayMode mode;
    if (SDL_GetDisplayBounds(i, &bounds) != 0 || SDL_GetCurrentDisplayMode(i, &mode) != 0) continue;
    DesktopInfo info;
    info.x = bounds.x;
    info.y = bounds.y;
    info.width = bounds.w;
    info.height = bounds.h;
    info.refreshRate = mode.refresh_rate;
    info.bitsPerPixel =
        SDL_BYTESPERPIXEL(mode.format) == 4 ? 32 : static_cast<std::int32_t>(SDL_BITSPERPIXEL(mode.format));
    if (const char* name = SDL_GetDisplayName(i)) info.name = std::string(name).substr(0, 31);
    // SDL lists the primary display first, and full screen and centring use
    // its display 0, wherever that display sits on the desktop.
    out.push_back(info);
  }
  return out;
}

NativeWindow SdlVideo::OpenWindow(const WindowSpec& wanted) {
  if (!ready_) return 0;
  Uint32 flags = wanted.hidden ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN;
  if (!wanted.titleBar) flags |= SDL_WINDOW_BORDERLESS;
  if (wanted.resizable) flags |= SDL_WINDOW_RESIZABLE;
  if (wanted.maximised) flags |= SDL_WINDOW_MAXIMIZED;
  if (wanted.minimised) flags |= SDL_WINDOW_MINIMIZED;
  int x = wanted.x, y = wanted.y;
  int w = wanted.clientWidth, h = wanted.clientHeight;
  if (wanted.centred) {
    x = y = static_cast<int>(SDL_WINDOWPOS_CENTERED_DISPLAY(0));
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w > 0 && usable.h > 0) {
      w = std::min(w, usable.w);
      h = std::min(h, usable.h);
    }
  } else if (wanted.defaultPosition) {
    x = y = static_cast<int>(SDL_WINDOWPOS_UNDEFINED);
  }
  SDL_Window* window = SDL_CreateWindow(wanted.title.c_str(), x, y, w, h, flags);
  if (!window) {
    LogFailure("window");
    return 0;
  }
  if (!wanted.hidden && !wanted.minimised) SDL_RaiseWindow(window);
  const NativeWindow id = SDL_GetWindowID(window);
  windows_.insert(id);
  return id;
}

void SdlVideo::CloseWindow(NativeWindow window) {
  if (!windows_.count(window)) return;
  // Forgotten before the screen closes: closing the full-screen screen comes
  // back here for its own window, which must then be left to this call.
  windows_.erase(window);
  std::erase_if(events_, [window](const Event& e) { return e.window == window; });
  SDL_Window* sdlWindow = WindowFromId(window);
  if (sdlWindow && sdlWindow == screenWindow_) CloseScreen();
  if (sdlWindow) SDL_DestroyWindow(sdlWindow);
}

void SdlVideo::MinimiseWindow(NativeWindow window) {
  if (SDL_Window* sdlWindow = windows_.count(window) ? WindowFromId(window) : nullptr) {
    SDL_MinimizeWindow(sdlWindow);
  }
}

void SdlVideo::PumpEvents() {
  if (!ready_) return;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (observer_) observer_(event);
    if (event.type == SDL_QUIT) {
      events_.push_back({0, kWindowEventClose});
    } else if (event.type == SDL_WINDOWEVENT) {
      const NativeWindow window = event.window.windowID;
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
        events_.push_back({window, kWindowEventClose});
      } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED && renderer_ && screenWindow_ &&
                 window == SDL_GetWindowID(screenWindow_)) {
        // Repaint with the last picture.
        RenderFrame();
        SDL_RenderPresent(renderer_);
      }
    }
    // Keyboard, mouse and joystick state stay readable through SDL's state
    // calls: pumping updates them whether or not the events are taken.
  }
}

std::int32_t SdlVideo::PollWindowEvent() {
  PumpEvents();
  if (events_.empty()) return kWindowEventNone;
  const Event event = events_.front();
  events_.pop_front();
  return event.code;
}

std::int32_t SdlVideo::ShowMessage(std::string_view title, std::string_view text, std::int32_t flags) {
  const std::string titleText(title), bodyText(text);
  SDL_MessageBoxButtonData buttons[2];
  int count = 1;
  buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kButtonOk, "OK"};
  switch (flags & kMessageButtonsMask) {
    case kMessageOkCancel:
      buttons[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kButtonCancel, "Cancel"};
      count = 2;
      break;
    case kMessageYesNo:
      buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kButtonYes, "Yes"};
      buttons[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kButtonNo, "No"};
      count = 2;
      break;
    default:
      break;
  }
  Uint32 boxFlags = SDL_MESSAGEBOX_INFORMATION;
  if ((flags & kMessageIconMask) == kMessageIconError) boxFlags = SDL_MESSAGEBOX_ERROR;
  if ((flags & kMessageIconMask) == kMessageIconWarning) boxFlags = SDL_MESSAGEBOX_WARNING;
  // Owned by our focused window, modal to it.
  SDL_Window* owner = ready_ ? SDL_GetKeyboardFocus() : nullptr;
  const SDL_MessageBoxData data{boxFlags, owner,  titleText.c_str(), bodyText.c_str(), count,
                                buttons,  nullptr};
  int pressed = buttons[0].buttonid;
  // A headless driver has nowhere to show a box; asking SDL anyway makes it
  // fork a child for its X11 box, which can deadlock a threaded process.
  const char* driver = ready_ ? SDL_GetCurrentVideoDriver() : SDL_GetHint(SDL_HINT_VIDEODRIVER);
  const bool headless = driver && (SDL_strcasecmp(driver, "dummy") == 0 || SDL_strcasecmp(driver, "offscreen") == 0);
  if (headless || SDL_ShowMessageBox(&data, &pressed) != 0) {
    // No message system (no display): the message still reaches the user.
    std::fprintf(stderr, "%s: %s\n", titleText.c_str(), bodyText.c_str());
    pressed = buttons[0].buttonid;
  }
  return pressed < 0 ? buttons[count - 1].buttonid : pressed;
}

bool SdlVideo::CreateRenderer(SDL_Window* window, bool vsync) {
  // SDL chooses the driver: the one SDL_RENDER_DRIVER names, else its best
  // that works here, software included where nothing accelerated exists.
  const char* wanted = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
  if (wanted && SDL_strcasecmp(wanted, "software") == 0) {
    // Asked for no graphics driver at all: SDL would otherwise show the
    // software picture through one. SDL_FRAMEBUFFER_ACCELERATION still wins.
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
  }
  const Uint32 vsyncFlag = vsync ? SDL_RENDERER_PRESENTVSYNC : 0;
  renderer_ = SDL_CreateRenderer(window, -1, vsyncFlag);
  // A driver that cannot wait for the retrace still shows the picture.
  if (!renderer_ && vsync) renderer_ = SDL_CreateRenderer(window, -1, 0);
  if (!renderer_) renderer_ = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (!renderer_) {
    LogFailure("renderer");
    return false;
  }
  SDL_RendererInfo info;
  softwareRenderer_ = SDL_GetRendererInfo(renderer_, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
  outputFormat_ = SDL_GetWindowPixelFormat(window);
  backTexture_ = SDL_CreateTexture(renderer_, kTextureFormat, SDL_TEXTUREACCESS_STREAMING, width_, height_);
  if (!backTexture_) {
    LogFailure("picture texture");
    return false;
  }
  SDL_SetTextureBlendMode(backTexture_, SDL_BLENDMODE_NONE);
  return true;
}

std::string SdlVideo::RendererName() const {
  SDL_RendererInfo info;
  if (!renderer_ || SDL_GetRendererInfo(renderer_, &info) != 0 || !info.name) return {};
  return info.name;
}

bool SdlVideo::OpenScreenWindowed(NativeWindow window, std::int32_t x, std::int32_t y, std::int32_t width,
                                  std::int32_t height, bool autoStretch, std::int32_t rightOffset,
                                  std::int32_t bottomOffset) {
  CloseScreen();
  SDL_Window* sdlWindow = windows_.count(window) ? WindowFromId(window) : nullptr;
  if (!sdlWindow) return false;
  screenWindow_ = sdlWindow;
  fullscreen_ = false;
  x_ = x;
  y_ = y;
  width_ = width;
  height_ = height;
  autoStretch_ = autoStretch;
  rightOffset_ = rightOffset;
  bottomOffset_ = bottomOffset;
  // A windowed screen always waits for the vertical retrace.
  if (!CreateRenderer(sdlWindow, true)) {
    CloseScreen();
    return false;
  }
  lastPresent_ = 0;
  return true;
}

bool SdlVideo::OpenScreenFullscreen(std::int32_t width, std::int32_t height, std::int32_t refreshRate,
                                    std::string_view title, std::int32_t flipMode,
                                    std::int32_t& actualRefresh) {
  CloseScreen();
  if (!ready_) return false;
  const std::string titleText(title);
  SDL_Window* window =
      SDL_CreateWindow(titleText.c_str(), static_cast<int>(SDL_WINDOWPOS_CENTERED_DISPLAY(0)),
                       static_cast<int>(SDL_WINDOWPOS_CENTERED_DISPLAY(0)), width, height,
                       SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
  if (!window) {
    LogFailure("full-screen window");
    return false;
  }
  const NativeWindow id = SDL_GetWindowID(window);
  windows_.insert(id);
  screenWindow_ = window;
  fullscreen_ = true;
  width_ = width;
  height_ = height;

  // The exact mode when the display has it; else the desktop's mode with the
  // picture scaled by the renderer.
  SDL_DisplayMode wanted{0, width, height, refreshRate, nullptr};
  SDL_DisplayMode closest;
  const bool exact =
      SDL_GetClosestDisplayMode(0, &wanted, &closest) && closest.w == width && closest.h == height;
  bool full = exact && SDL_SetWindowDisplayMode(window, &closest) == 0 &&
              SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) == 0;
  logicalSize_ = !full;
  if (!full) full = SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
  if (!full) LogFailure("full screen");
  // Flip mode 2 (a late wait on the beam) has no portable form: it waits for
  // the retrace like mode 1.
  if (!full || !CreateRenderer(window, flipMode != 0) ||
      (logicalSize_ && SDL_RenderSetLogicalSize(renderer_, width, height) != 0)) {
    CloseScreen();
    return false;
  }
  SDL_ShowWindow(window);
  SDL_RaiseWindow(window);
  SDL_ShowCursor(SDL_DISABLE);
  SDL_DisplayMode current;
  actualRefresh = SDL_GetWindowDisplayMode(window, &current) == 0 ? current.refresh_rate : 0;
  return true;
}

void SdlVideo::CloseScreen() {
  for (QuadTexture& q : quadTextures_) {
    if (q.texture) SDL_DestroyTexture(q.texture);
    if (q.scaled) SDL_DestroyTexture(q.scaled);
  }
  quadTextures_.clear();
  pendingQuads_.clear();
  shownQuads_.clear();
  if (backTexture_) SDL_DestroyTexture(backTexture_);
  backTexture_ = nullptr;
  if (renderer_) SDL_DestroyRenderer(renderer_);
  renderer_ = nullptr;
  softwareRenderer_ = false;
  outputFormat_ = 0;
  SDL_Window* window = screenWindow_;
  const bool own = fullscreen_;
  screenWindow_ = nullptr;
  fullscreen_ = false;
  logicalSize_ = false;
  shownPlain_ = true;
  shownFill_ = 0;
  if (window && own) CloseWindow(SDL_GetWindowID(window));
}

NativeWindow SdlVideo::ScreenWindow() {
  return screenWindow_ ? SDL_GetWindowID(screenWindow_) : 0;
}

bool SdlVideo::ScreenOutput(std::int32_t& x, std::int32_t& y, std::int32_t& width, std::int32_t& height) {
  if (!screenWindow_) return false;
  // A full-screen window covers its output: the mode's size, or the desktop's
  // when the picture is scaled.
  SDL_GetWindowPosition(screenWindow_, &x, &y);
  SDL_GetWindowSize(screenWindow_, &width, &height);
  if (!fullscreen_) {
    x += x_;
    y += y_;
    width = width_;
    height = height_;
  }
  return true;
}

bool SdlVideo::ScreenHasFocus() {
  if (!screenWindow_) return false;
  const Uint32 flags = SDL_GetWindowFlags(screenWindow_);
  if (flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) return false;
  return focusless_ || (flags & SDL_WINDOW_INPUT_FOCUS) != 0;
}

bool SdlVideo::StretchQuad(QuadTexture& q, const Surface& texels, std::int32_t width, std::int32_t height,
                           bool bilinear) {
  bool changed = true;
  if (!OpaqueInLayout(texels, outputFormat_, q.staging, changed)) {
    q.scaledValid = false;
    return false;
  }
  changed = changed || q.stagingWidth != texels.width;
  q.stagingWidth = texels.width;
  if (!q.scaled || q.scaledWidth != width || q.scaledHeight != height) {
    if (q.scaled) SDL_DestroyTexture(q.scaled);
    q.scaled = SDL_CreateTexture(renderer_, outputFormat_, SDL_TEXTUREACCESS_STREAMING, width, height);
    q.scaledWidth = width;
    q.scaledHeight = height;
    q.scaledValid = false;
    if (!q.scaled) return false;
    SDL_SetTextureBlendMode(q.scaled, SDL_BLENDMODE_NONE);
  }
  // The software renderer's texture keeps its pixels: a still picture is
  // not stretched again.
  if (!changed && q.scaledValid && q.scaledBilinear == bilinear) return true;
  q.scaledValid = false;
  SDL_Surface* from = SDL_CreateRGBSurfaceWithFormatFrom(q.staging.data(), texels.width, texels.height, 32,
                                                         texels.width * 4, outputFormat_);
  void* pixels = nullptr;
  int pitch = 0;
  if (from && SDL_LockTexture(q.scaled, nullptr, &pixels, &pitch) == 0) {
    if (SDL_Surface* to = SDL_CreateRGBSurfaceWithFormatFrom(pixels, width, height, 32, pitch, outputFormat_)) {
      // The calls SDL's scaled copy makes on its scratch surface.
      q.scaledValid = (bilinear ? SDL_SoftStretchLinear(from, nullptr, to, nullptr)
                                : SDL_SoftStretch(from, nullptr, to, nullptr)) == 0;
      q.scaledBilinear = bilinear;
      SDL_FreeSurface(to);
    }
    SDL_UnlockTexture(q.scaled);
  }
  SDL_FreeSurface(from);
  return q.scaledValid;
}

void SdlVideo::DrawQuad(const Surface& texels, std::int32_t x, std::int32_t y, std::int32_t width,
                        std::int32_t height, bool bilinear) {
  if (!renderer_ || texels.width <= 0 || texels.height <= 0 || width <= 0 || height <= 0) return;
  const std::size_t index = pendingQuads_.size();
  if (index >= quadTextures_.size()) quadTextures_.resize(index + 1);
  QuadTexture& q = quadTextures_[index];
  // Only with the picture drawn 1:1 into the window: a renderer scale or a
  // logical size would scale the stretched picture a second time.
  const bool scaling = width != texels.width || height != texels.height;
  if (ownStretch_ && softwareRenderer_ && scaling && !logicalSize_ && !autoStretch_ &&
      StretchQuad(q, texels, width, height, bilinear)) {
    pendingQuads_.push_back({index, x, y, width, height, true, true});
    return;
  }
  if (!q.texture || q.width != texels.width || q.height != texels.height) {
    if (q.texture) SDL_DestroyTexture(q.texture);
    q.texture = SDL_CreateTexture(renderer_, kTextureFormat, SDL_TEXTUREACCESS_STREAMING, texels.width,
                                  texels.height);
    q.width = texels.width;
    q.height = texels.height;
    if (!q.texture) return;
  }
  SDL_UpdateTexture(q.texture, nullptr, texels.pixels.data(), texels.width * 4);
  SDL_SetTextureScaleMode(q.texture, bilinear ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  // Blending with an alpha of 255 everywhere gives the texels themselves:
  // an opaque quad is copied, which is cheaper on every renderer.
  const bool opaque = AllOpaque(texels);
  SDL_SetTextureBlendMode(q.texture, opaque ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
  pendingQuads_.push_back({index, x, y, width, height, opaque, false});
}

void SdlVideo::WaitForFrameSlot() {
  // At most 61 presents a second. The wait sleeps on the fine clock to just
  // short of the mark and spins only the last stretch, where a sleep could
  // overshoot.
  const Uint64 frequency = SDL_GetPerformanceFrequency();
  const Uint64 frameTicks = frequency / (kDefaultWindowedFrameRate + 1);
  const Uint64 spinTicks = frequency * kLimiterSpinMicroseconds / 1000000;
  if (lastPresent_ != 0) {
    const Uint64 mark = lastPresent_ + frameTicks;
    for (Uint64 now = SDL_GetPerformanceCounter(); now <= mark; now = SDL_GetPerformanceCounter()) {
      const Uint64 left = mark - now;
      if (left > spinTicks) SleepFine((left - spinTicks) * 1000000000 / frequency);
    }
  }
  lastPresent_ = SDL_GetPerformanceCounter();
}

bool SdlVideo::QuadsCoverOutput(std::int32_t outW, std::int32_t outH) const {
  return std::any_of(shownQuads_.begin(), shownQuads_.end(), [&](const QuadDrawing& quad) {
    return quad.opaque && quad.x <= 0 && quad.y <= 0 && quad.x + quad.width >= outW && quad.y + quad.height >= outH;
  });
}

void SdlVideo::RenderFrame() {
  if (!renderer_) return;
  // An opaque quad over the whole window hides the clear and the back buffer.
  int windowW = 0, windowH = 0;
  const bool covered = !logicalSize_ && !autoStretch_ && (fullscreen_ || (x_ == 0 && y_ == 0)) &&
                       SDL_GetRendererOutputSize(renderer_, &windowW, &windowH) == 0 && windowW == width_ &&
                       windowH == height_ && QuadsCoverOutput(width_, height_);
  if (!covered) {
    // Clearing ignores the viewport: this paints the bars.
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
  }
  // A scaled full screen keeps the centred viewport of its logical size;
  // replacing it would move the picture to the top and leave one bar.
  if (!logicalSize_) {
    SDL_RenderSetScale(renderer_, 1.0f, 1.0f);  // the viewport below is in output pixels
    // The screen area of the window; an auto-stretched one follows the window's size.
    int outW = width_, outH = height_;
    if (autoStretch_ && SDL_GetRendererOutputSize(renderer_, &outW, &outH) == 0) {
      outW = std::max(1, outW - rightOffset_ - x_);
      outH = std::max(1, outH - bottomOffset_ - y_);
    } else {
      outW = width_;
      outH = height_;
    }
    const SDL_Rect area{fullscreen_ ? 0 : x_, fullscreen_ ? 0 : y_, outW, outH};
    SDL_RenderSetViewport(renderer_, &area);
    SDL_RenderSetScale(renderer_, static_cast<float>(outW) / width_, static_cast<float>(outH) / height_);
  }
  const SDL_Rect all{0, 0, width_, height_};
  if (!covered && shownPlain_) {
    SDL_SetRenderDrawColor(renderer_, shownFill_ & 255, (shownFill_ >> 8) & 255, (shownFill_ >> 16) & 255,
                           255);
    SDL_RenderFillRect(renderer_, &all);
  } else if (!covered) {
    SDL_RenderCopy(renderer_, backTexture_, nullptr, &all);
  }
  for (const QuadDrawing& quad : shownQuads_) {
    const SDL_Rect dst{quad.x, quad.y, quad.width, quad.height};
    const QuadTexture& q = quadTextures_[quad.texture];
    SDL_RenderCopy(renderer_, quad.scaled ? q.scaled : q.texture, nullptr, &dst);
  }
}

void SdlVideo::Present(const Surface* backBuffer, std::uint32_t fillPixel) {
  if (!renderer_) return;
  if (!fullscreen_) WaitForFrameSlot();
  shownPlain_ = backBuffer == nullptr;
  shownFill_ = fillPixel;
  if (backBuffer) SDL_UpdateTexture(backTexture_, nullptr, backBuffer->pixels.data(), backBuffer->width * 4);
  shownQuads_.swap(pendingQuads_);
  pendingQuads_.clear();
  RenderFrame();
  SDL_RenderPresent(renderer_);
}

bool SdlVideo::ReadLastPicture(Surface& out) {
  if (!renderer_) return false;
  RenderFrame();
  int outW = 0, outH = 0;
  if (SDL_GetRendererOutputSize(renderer_, &outW, &outH) != 0 || outW <= 0 || outH <= 0) return false;
  // Reading is limited to the viewport: open it to the whole output for the
  // read, so the bars come along, and give the logical size back after.
  if (logicalSize_) {
    SDL_RenderSetLogicalSize(renderer_, 0, 0);
  } else {
    SDL_RenderSetScale(renderer_, 1.0f, 1.0f);
    SDL_RenderSetViewport(renderer_, nullptr);
  }
  out = MakeSurface(outW, outH);
  const bool read =
      SDL_RenderReadPixels(renderer_, nullptr, kTextureFormat, out.pixels.data(), outW * 4) == 0;
  if (logicalSize_) SDL_RenderSetLogicalSize(renderer_, width_, height_);
  return read;
}

}  // namespace quorin
