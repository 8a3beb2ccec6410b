#include "app/scripted_input.h"

#include <algorithm>

namespace quorin {

bool ScriptedInput::Apply(const ScriptEvent& e) {
  switch (e.kind) {
    case EventKind::Key: input_.SetKey(e.a, e.b != 0); return true;
    case EventKind::Mouse:
      pointerX_ = e.a;
      pointerY_ = e.b;
      pointerPending_ = true;
      return true;
    case EventKind::Button: input_.SetMouseButton(e.a, e.b != 0); return true;
    case EventKind::Joy:
      if (input_.joysticks.empty()) return true;
      input_.joysticks[0].reading.x = std::clamp(e.a, -kJoystickAxisRange, kJoystickAxisRange);
      input_.joysticks[0].reading.y = std::clamp(e.b, -kJoystickAxisRange, kJoystickAxisRange);
      return true;
    case EventKind::JoyButton: {
      if (input_.joysticks.empty()) return true;
      const std::uint32_t bit = 1u << (e.a - 1);
      std::uint32_t& buttons = input_.joysticks[0].reading.buttons;
      buttons = e.b ? (buttons | bit) : (buttons & ~bit);
      return true;
    }
    case EventKind::Focus:
    case EventKind::Close: return false;
  }
  return false;
}

void ScriptedInput::FollowWindow(bool exists, int left, int top, int width, int height) {
  input_.windowExists = exists;
  if (!exists) return;
  input_.windowLeft = left;
  input_.windowTop = top;
  input_.windowWidth = width;
  input_.windowHeight = height;
  if (pointerPending_) {
    input_.desktopX = left + pointerX_;
    input_.desktopY = top + pointerY_;
    pointerPending_ = false;
  }
}

void ScriptedInput::FollowScreen(VideoDevice& video) {
  std::int32_t x = 0, y = 0, width = 0, height = 0;
  const bool exists = video.ScreenWindow() != 0 && video.ScreenOutput(x, y, width, height);
  FollowWindow(exists, x, y, width, height);
}

NativeWindow ScriptedVideo::OpenWindow(const WindowSpec& wanted) {
  const NativeWindow window = inner_.OpenWindow(wanted);
  if (window != 0 && !wanted.hidden && !wanted.minimised) focus_ = true;
  return window;
}

void ScriptedVideo::CloseWindow(NativeWindow window) {
  if (window == inner_.ScreenWindow()) closes_ = 0;
  inner_.CloseWindow(window);
}

void ScriptedVideo::MinimiseWindow(NativeWindow window) {
  if (window == inner_.ScreenWindow()) focus_ = false;
  inner_.MinimiseWindow(window);
}

std::int32_t ScriptedVideo::PollWindowEvent() {
  // The device's own events are taken either way, as the window system needs.
  const std::int32_t event = inner_.PollWindowEvent();
  if (event != kWindowEventNone) return event;
  if (closes_ > 0) {
    --closes_;
    return kWindowEventClose;
  }
  return kWindowEventNone;
}

bool ScriptedVideo::OpenScreenFullscreen(std::int32_t width, std::int32_t height, std::int32_t refreshRate,
                                         std::string_view title, std::int32_t flipMode,
                                         std::int32_t& actualRefresh) {
  const bool open = inner_.OpenScreenFullscreen(width, height, refreshRate, title, flipMode, actualRefresh);
  if (open) focus_ = true;
  return open;
}

}  // namespace quorin
