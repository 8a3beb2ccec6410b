// The outside world as the runtime core sees it. The game receives one
// Platform; the SDL back end (runtime/sdl/) fills it for play, the null back
// end (runtime/null/) for tests and quorin-sim. Nothing here includes SDL.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/surface.h"

namespace quorin {

class AudioDevice;  // runtime/audio_device.h
class InputDevice;  // runtime/input_device.h

// Millisecond time and sleeps. The pacing of the main loop goes through it, so
// a virtual clock makes every test run at full speed and deterministically.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t Milliseconds() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  // The pacing sleeps 1 ms at a time; some systems need a finer timer for
  // that, held from start-up to shutdown. Nothing to do elsewhere.
  virtual void HoldFineTimer(bool hold) { (void)hold; }
};

// Opaque window identity handed out by the video device; 0 is no window.
using NativeWindow = std::uintptr_t;

// One attached display with its current mode.
struct DesktopInfo {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t refreshRate = 0;  // Hz, 0 when unknown
  std::int32_t bitsPerPixel = 32;
  std::string name;  // at most 31 characters
};

// What WindowOpen asks of the window system, already decoded from the flags.
struct WindowSpec {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t clientWidth = 0;
  std::int32_t clientHeight = 0;
  std::string title;
  bool centred = false;          // on the primary display
  bool defaultPosition = false;  // the system chooses the place
  bool titleBar = true;
  bool resizable = false;
  bool hidden = false;
  bool maximised = false;
  bool minimised = false;
};

// Window events the game distinguishes; any other pumped event is absorbed.
constexpr std::int32_t kWindowEventNone = 0;
constexpr std::int32_t kWindowEventClose = 16;

// Window, screen and picture output. The core composes every picture on the
// CPU; the device only shows it: the back buffer first, then the textured
// quads of the frame scaled on top of it.
class VideoDevice {
 public:
  virtual ~VideoDevice() = default;

  virtual std::vector<DesktopInfo> Desktops() = 0;

  // A window whose client area is exactly clientWidth x clientHeight; 0 on failure.
  virtual NativeWindow OpenWindow(const WindowSpec& wanted) = 0;
  // Closes the screen first when it lives in this window.
  virtual void CloseWindow(NativeWindow window) = 0;
  // Minimises the window (and takes the focus from it), as Alt+Tab asks in full screen.
  virtual void MinimiseWindow(NativeWindow window) = 0;
  // Pumps the system's events without waiting and returns the next event the
  // game cares about (kWindowEventClose for a close request; the window stays
  // open), or kWindowEventNone when nothing is pending.
  virtual std::int32_t PollWindowEvent() = 0;
  // Takes pending system events (focus changes, close requests) without
  // returning them; the full-screen present calls it.
  virtual void PumpEvents() = 0;
  // Code of the button pressed; flags as the system message-box style (0 = OK).
  virtual std::int32_t ShowMessage(std::string_view title, std::string_view text, std::int32_t flags) = 0;

  // Screen area of width x height at (x, y) of the window's client area.
  virtual bool OpenScreenWindowed(NativeWindow window, std::int32_t x, std::int32_t y, std::int32_t width,
                                  std::int32_t height, bool autoStretch, std::int32_t rightOffset,
                                  std::int32_t bottomOffset) = 0;
  // flipMode 0 no wait, 1 vertical sync, 2 a best-effort late wait.
  // refreshRate 0 = the display's default. Returns the actual refresh rate
  // (0 when unknown) through actualRefresh.
  virtual bool OpenScreenFullscreen(std::int32_t width, std::int32_t height, std::int32_t refreshRate,
                                    std::string_view title, std::int32_t flipMode,
                                    std::int32_t& actualRefresh) = 0;
  virtual void CloseScreen() = 0;
  // The window that shows the screen (the game's window or the full-screen one).
  virtual NativeWindow ScreenWindow() = 0;
  // The desktop rectangle the screen's picture is shown in: the display in
  // the screen's own mode, or the whole display in its desktop mode when a
  // full screen scales the picture onto it, or the window's screen area.
  // False without a screen.
  virtual bool ScreenOutput(std::int32_t& x, std::int32_t& y, std::int32_t& width, std::int32_t& height) = 0;
  // The screen's window has the input focus.
  virtual bool ScreenHasFocus() = 0;
  // A quad of this frame: texels (alpha in the top byte, straight alpha) scaled
  // to width x height at (x, y) of the back buffer. The texels are taken now;
  // the caller may change them right after.
  virtual void DrawQuad(const Surface& texels, std::int32_t x, std::int32_t y, std::int32_t width,
                        std::int32_t height, bool bilinear) = 0;
  // Shows the frame: backBuffer, or a plain fill of fillPixel when backBuffer
  // is null, with the quads drawn since the last present on top.
  virtual void Present(const Surface* backBuffer, std::uint32_t fillPixel) = 0;
  // Forgets the quads of a frame that is not going to be shown.
  virtual void DiscardFrame() = 0;
  // Desktop composition off while the game runs, where the system offers the
  // switch (it steadies the frame rate there); back on at exit.
  virtual void SetDesktopComposition(bool on) { (void)on; }
};

// Everything of the outside world the game uses. Owned by the back end's
// owner (main or a test); the game only holds the pointers.
struct Platform {
  Clock* clock = nullptr;
  VideoDevice* video = nullptr;
  AudioDevice* audio = nullptr;
  InputDevice* input = nullptr;
};

}  // namespace quorin
