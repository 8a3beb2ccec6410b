// The devices an input script plays on. quorin-sim run, quorin --replay and
// quorin --record all go through these, so a recorded run reads back to the
// very same controls, frame by frame.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "app/input_script.h"
#include "runtime/null/input_null.h"
#include "runtime/platform.h"

namespace quorin {

// Key, mouse, button and joystick events set a null input device. A mouse
// event is a place in the screen window's client area; it waits until that
// window exists (the first iteration opens it).
class ScriptedInput {
 public:
  explicit ScriptedInput(NullInputDevice& input) : input_(input) {}

  // False for focus and close events, which belong to the video device.
  bool Apply(const ScriptEvent& e);
  // The screen window's client area on the desktop, at the start and the end
  // of every iteration; a waiting mouse place lands here.
  void FollowWindow(bool exists, int left, int top, int width, int height);
  // FollowWindow with what the video device reports of its screen.
  void FollowScreen(VideoDevice& video);
  // Lands a waiting mouse place in the window last followed, as if the
  // event had come before the iteration.
  void Settle() {
    FollowWindow(input_.windowExists, input_.windowLeft, input_.windowTop, input_.windowWidth,
                 input_.windowHeight);
  }
  NullInputDevice& Device() { return input_; }

 private:
  NullInputDevice& input_;
  bool pointerPending_ = false;
  int pointerX_ = 0;
  int pointerY_ = 0;
};

// A video device that passes everything through except the focus, which is
// the script's: the window a display opens has it, a script's focus events
// and a minimise change it. Close events from the script reach the game as
// the window's own close requests do.
class ScriptedVideo : public VideoDevice {
 public:
  explicit ScriptedVideo(VideoDevice& inner) : inner_(inner) {}

  void SetFocus(bool focus) { focus_ = focus; }
  bool Focus() const { return focus_; }
  void InjectClose() { closes_ += ScreenWindow() != 0 ? 1 : 0; }

  std::vector<DesktopInfo> Desktops() override { return inner_.Desktops(); }
  NativeWindow OpenWindow(const WindowSpec& wanted) override;
  void CloseWindow(NativeWindow window) override;
  void MinimiseWindow(NativeWindow window) override;
  std::int32_t PollWindowEvent() override;
  void PumpEvents() override { inner_.PumpEvents(); }
  std::int32_t ShowMessage(std::string_view title, std::string_view text, std::int32_t flags) override {
    return inner_.ShowMessage(title, text, flags);
  }
  bool OpenScreenWindowed(NativeWindow window, std::int32_t x, std::int32_t y, std::int32_t width,
                          std::int32_t height, bool autoStretch, std::int32_t rightOffset,
                          std::int32_t bottomOffset) override {
    return inner_.OpenScreenWindowed(window, x, y, width, height, autoStretch, rightOffset, bottomOffset);
  }
  bool OpenScreenFullscreen(std::int32_t width, std::int32_t height, std::int32_t refreshRate,
                            std::string_view title, std::int32_t flipMode,
                            std::int32_t& actualRefresh) override;
  void CloseScreen() override { inner_.CloseScreen(); }
  NativeWindow ScreenWindow() override { return inner_.ScreenWindow(); }
  bool ScreenOutput(std::int32_t& x, std::int32_t& y, std::int32_t& width, std::int32_t& height) override {
    return inner_.ScreenOutput(x, y, width, height);
  }
  bool ScreenHasFocus() override { return focus_ && inner_.ScreenWindow() != 0; }
  void DrawQuad(const Surface& texels, std::int32_t x, std::int32_t y, std::int32_t width,
                std::int32_t height, bool bilinear) override {
    inner_.DrawQuad(texels, x, y, width, height, bilinear);
  }
  void Present(const Surface* backBuffer, std::uint32_t fillPixel) override {
    inner_.Present(backBuffer, fillPixel);
  }
  void DiscardFrame() override { inner_.DiscardFrame(); }
  void SetDesktopComposition(bool on) override { inner_.SetDesktopComposition(on); }
  bool ReadPicture(Surface& out) override { return inner_.ReadPicture(out); }

 private:
  VideoDevice& inner_;
  bool focus_ = false;
  int closes_ = 0;
};

}  // namespace quorin
