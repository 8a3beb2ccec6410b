#include "runtime/null/null_video.h"

#include <algorithm>
#include <cstdio>

namespace quorin {

NullVideo::NullVideo() {
  DesktopInfo primary;
  primary.width = 1920;
  primary.height = 1080;
  primary.refreshRate = 60;
  primary.bitsPerPixel = 32;
  primary.name = "NULL1";
  desktops.push_back(primary);
}

void NullVideo::SetFocus(NativeWindow window) {
  focus_ = window;
  if (const auto it = windows_.find(window); it != windows_.end()) it->second.minimised = false;
}

void NullVideo::InjectClose(NativeWindow window) {
  if (windows_.count(window)) events_.push_back({window, kWindowEventClose});
}

const NullVideo::Window* NullVideo::WindowOf(NativeWindow window) const {
  const auto it = windows_.find(window);
  return it == windows_.end() ? nullptr : &it->second;
}

std::vector<DesktopInfo> NullVideo::Desktops() {
  return desktops;
}

NativeWindow NullVideo::OpenWindow(const WindowSpec& wanted) {
  const NativeWindow id = nextWindow_++;
  Window window;
  window.wanted = wanted;
  window.x = wanted.x;
  window.y = wanted.y;
  window.minimised = wanted.minimised;
  if (wanted.centred && !desktops.empty()) {
    const DesktopInfo& d = desktops.front();
    window.x = d.x + (d.width - wanted.clientWidth) / 2;
    window.y = d.y + (d.height - wanted.clientHeight) / 2;
  } else if (wanted.defaultPosition) {
    window.x = window.y = 0;
  }
  windows_[id] = window;
  if (!wanted.hidden && !wanted.minimised) focus_ = id;
  return id;
}

void NullVideo::CloseWindow(NativeWindow window) {
  if (!windows_.count(window)) return;
  if (screenOpen_ && screenWindow_ == window) CloseScreen();
  windows_.erase(window);
  std::erase_if(events_, [window](const Event& e) { return e.window == window; });
  if (focus_ == window) focus_ = 0;
}

void NullVideo::MinimiseWindow(NativeWindow window) {
  const auto it = windows_.find(window);
  if (it == windows_.end()) return;
  it->second.minimised = true;
  if (focus_ == window) focus_ = 0;
}

std::int32_t NullVideo::PollWindowEvent() {
  PumpEvents();
  if (events_.empty()) return kWindowEventNone;
  const Event event = events_.front();
  events_.pop_front();
  return event.code;
}

std::int32_t NullVideo::ShowMessage(std::string_view title, std::string_view text, std::int32_t flags) {
  messages_.push_back({std::string(title), std::string(text), flags});
  if (printMessages) {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
                 static_cast<int>(text.size()), text.data());
  }
  return messageAnswer;
}

bool NullVideo::OpenScreenWindowed(NativeWindow window, std::int32_t, std::int32_t, std::int32_t width,
                                   std::int32_t height, bool, std::int32_t, std::int32_t) {
  if (!windows_.count(window)) return false;
  CloseScreen();
  screenOpen_ = true;
  fullscreen_ = false;
  screenWindow_ = window;
  screenWidth_ = width;
  screenHeight_ = height;
  flipMode_ = 1;
  return true;
}

bool NullVideo::OpenScreenFullscreen(std::int32_t width, std::int32_t height, std::int32_t refreshRate,
                                     std::string_view title, std::int32_t flipMode,
                                     std::int32_t& actualRefresh) {
  CloseScreen();
  WindowSpec wanted;
  wanted.clientWidth = width;
  wanted.clientHeight = height;
  if (scaledFullscreen && !desktops.empty()) {  // the window covers the display
    wanted.clientWidth = desktops.front().width;
    wanted.clientHeight = desktops.front().height;
  }
  wanted.title = std::string(title);
  wanted.titleBar = false;
  screenWindow_ = OpenWindow(wanted);
  screenOpen_ = true;
  fullscreen_ = true;
  screenWidth_ = width;
  screenHeight_ = height;
  flipMode_ = flipMode;
  actualRefresh = refreshRate > 0 ? refreshRate : (desktops.empty() ? 0 : desktops.front().refreshRate);
  return true;
}

bool NullVideo::ScreenOutput(std::int32_t& x, std::int32_t& y, std::int32_t& width, std::int32_t& height) {
  if (!screenOpen_) return false;
  const Window* window = WindowOf(screenWindow_);
  x = window ? window->x : 0;
  y = window ? window->y : 0;
  width = screenWidth_;
  height = screenHeight_;
  if (fullscreen_ && window) {
    width = window->wanted.clientWidth;
    height = window->wanted.clientHeight;
  }
  return true;
}

void NullVideo::CloseScreen() {
  if (!screenOpen_) return;
  const NativeWindow window = screenWindow_;
  const bool ownWindow = fullscreen_;
  screenOpen_ = false;
  fullscreen_ = false;
  screenWindow_ = 0;
  pendingCount_ = 0;
  if (ownWindow) CloseWindow(window);
}

bool NullVideo::ScreenHasFocus() {
  return screenOpen_ && focus_ == screenWindow_;
}

void NullVideo::DrawQuad(const Surface& texels, std::int32_t x, std::int32_t y, std::int32_t width,
                         std::int32_t height, bool bilinear) {
  if (!screenOpen_) return;
  if (pendingCount_ == pendingQuads_.size()) pendingQuads_.emplace_back();
  QuadCopy& quad = pendingQuads_[pendingCount_++];
  quad.texels.width = texels.width;
  quad.texels.height = texels.height;
  quad.texels.pixels.assign(texels.pixels.begin(), texels.pixels.end());
  quad.x = x;
  quad.y = y;
  quad.width = width;
  quad.height = height;
  quad.bilinear = bilinear;
}

void NullVideo::Present(const Surface* backBuffer, std::uint32_t fillPixel) {
  if (!screenOpen_) return;
  shownPlain_ = backBuffer == nullptr;
  shownFill_ = fillPixel;
  if (backBuffer) {
    shownBackBuffer_ = *backBuffer;
  } else {
    shownBackBuffer_ = Surface{screenWidth_, screenHeight_, {}};
  }
  shownQuads_.swap(pendingQuads_);
  shownCount_ = pendingCount_;
  pendingCount_ = 0;
  pictureStale_ = true;
  ++presents_;
}

const Surface& NullVideo::LastPicture() {
  if (pictureStale_) {
    if (shownPlain_) {
      picture_ = MakeSurface(shownBackBuffer_.width, shownBackBuffer_.height, shownFill_);
    } else {
      picture_ = shownBackBuffer_;
    }
    for (std::size_t k = 0; k < shownCount_; ++k) {
      const QuadCopy& quad = shownQuads_[k];
      DrawScaled(picture_, quad.texels, quad.x, quad.y, quad.width, quad.height, quad.bilinear);
    }
    pictureStale_ = false;
  }
  return picture_;
}

bool NullVideo::ReadPicture(Surface& out) {
  if (!screenOpen_) return false;
  out = LastPicture();
  return true;
}

}  // namespace quorin
