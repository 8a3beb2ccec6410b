// The video device without a display: windows are records, the picture is
// kept in memory (so a test or quorin-sim can save it), focus and close
// requests are injected, message boxes are recorded and answered at once.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "runtime/platform.h"

namespace quorin {

class NullVideo final : public VideoDevice {
 public:
  struct Window {
    WindowSpec wanted;
    std::int32_t x = 0;  // client area position on the virtual desktop
    std::int32_t y = 0;
    bool minimised = false;
  };
  struct Message {
    std::string title;
    std::string text;
    std::int32_t flags = 0;
  };

  NullVideo();

  // Set before DesktopEnumerate; one 1920 x 1080 display at 60 Hz by default.
  std::vector<DesktopInfo> desktops;
  // A full screen keeps the first display's mode and shows the picture scaled
  // onto the whole display, as when the display has no mode of the wanted size.
  bool scaledFullscreen = false;
  // Button code every message box answers with (1 = OK).
  std::int32_t messageAnswer = 1;
  // Messages are also written to stderr.
  bool printMessages = true;
  // Runs whenever the game pumps the system's events (PumpEvents and every
  // PollWindowEvent): input connected here reaches the game only then, as a
  // window system's does.
  std::function<void()> onPump;

  // Injection.
  void SetFocus(NativeWindow window);  // 0: another program has the focus
  void InjectClose(NativeWindow window);

  // Observation.
  const Window* WindowOf(NativeWindow window) const;
  std::size_t WindowCount() const { return windows_.size(); }
  NativeWindow Focus() const { return focus_; }
  const std::vector<Message>& Messages() const { return messages_; }
  std::int32_t Presents() const { return presents_; }
  bool ScreenOpen() const { return screenOpen_; }
  bool ScreenFullscreen() const { return fullscreen_; }
  std::int32_t ScreenFlipMode() const { return flipMode_; }
  // The last presented picture, screen-sized: back buffer with its quads.
  const Surface& LastPicture();

  std::vector<DesktopInfo> Desktops() override;
  NativeWindow OpenWindow(const WindowSpec& wanted) override;
  void CloseWindow(NativeWindow window) override;
  void MinimiseWindow(NativeWindow window) override;
  std::int32_t PollWindowEvent() override;
  void PumpEvents() override {
    if (onPump) onPump();
  }
  std::int32_t ShowMessage(std::string_view title, std::string_view text, std::int32_t flags) override;
  bool OpenScreenWindowed(NativeWindow window, std::int32_t x, std::int32_t y, std::int32_t width,
                          std::int32_t height, bool autoStretch, std::int32_t rightOffset,
                          std::int32_t bottomOffset) override;
  bool OpenScreenFullscreen(std::int32_t width, std::int32_t height, std::int32_t refreshRate,
                            std::string_view title, std::int32_t flipMode,
                            std::int32_t& actualRefresh) override;
  void CloseScreen() override;
  NativeWindow ScreenWindow() override { return screenWindow_; }
  bool ScreenOutput(std::int32_t& x, std::int32_t& y, std::int32_t& width, std::int32_t& height) override;
  bool ScreenHasFocus() override;
  void DrawQuad(const Surface& texels, std::int32_t x, std::int32_t y, std::int32_t width,
                std::int32_t height, bool bilinear) override;
  void Present(const Surface* backBuffer, std::uint32_t fillPixel) override;
  void DiscardFrame() override { pendingCount_ = 0; }
  bool ReadPicture(Surface& out) override;

 private:
  struct QuadCopy {
    Surface texels;
    std::int32_t x, y, width, height;
    bool bilinear;
  };
  struct Event {
    NativeWindow window;
    std::int32_t code;
  };

  std::map<NativeWindow, Window> windows_;
  NativeWindow nextWindow_ = 1;
  NativeWindow focus_ = 0;
  std::deque<Event> events_;
  std::vector<Message> messages_;

  bool screenOpen_ = false;
  bool fullscreen_ = false;
  NativeWindow screenWindow_ = 0;
  std::int32_t screenWidth_ = 0;
  std::int32_t screenHeight_ = 0;
  std::int32_t flipMode_ = 0;

  // The picture is composed only when someone asks for it. The quads' copies
  // keep their storage from frame to frame: only the first counts are live.
  std::vector<QuadCopy> pendingQuads_;
  std::vector<QuadCopy> shownQuads_;
  std::size_t pendingCount_ = 0;
  std::size_t shownCount_ = 0;
  Surface shownBackBuffer_;
  std::uint32_t shownFill_ = 0;
  bool shownPlain_ = true;
  bool pictureStale_ = true;
  Surface picture_;
  std::int32_t presents_ = 0;
};

}  // namespace quorin
