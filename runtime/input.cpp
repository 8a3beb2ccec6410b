#include "runtime/input.h"

#include <algorithm>
#include <cstring>

namespace quorin {
namespace {

constexpr int kAnyKey = -1;
// Any-key asks stop below this code: 255 is never a real key.
constexpr int kAnyKeyLimit = 255;

const JoystickDevice* Joystick(const InputSystem& input, int n) {
  if (n < 0 || static_cast<std::size_t>(n) >= input.joysticks.size()) return nullptr;
  return &input.joysticks[static_cast<std::size_t>(n)];
}

int Direction(int axis) {
  if (axis < -kJoystickDeadZone) return -1;
  if (axis > kJoystickDeadZone) return 1;
  return 0;
}

struct WindowPointer {
  bool inside = false;
  int x = -1;
  int y = -1;
};

WindowPointer ReadWindowPointer(InputSystem& input, NativeWindow window) {
  WindowPointer p;
  int x = 0, y = 0, width = 0, height = 0;
  if (input.device == nullptr || window == 0 ||
      !input.device->PointerInWindow(window, x, y, width, height)) {
    return p;
  }
  if (x < 0 || y < 0 || x >= width || y >= height) return p;
  return WindowPointer{true, x, y};
}

}  // namespace

int JoystickAxisScale(int value, int min, int max) {
  if (max <= min) return 0;
  const long long span = static_cast<long long>(max) - min;
  const long long offset = std::clamp<long long>(static_cast<long long>(value) - min, 0, span);
  // Rounded to nearest, so the centre of an even-sized range reads 0.
  return static_cast<int>((offset * 2 * kJoystickAxisRange + span / 2) / span) - kJoystickAxisRange;
}

int KeyboardInit(InputSystem& input) {
  if (input.keyboard.state != kKeyboardNone) return 1;
  if (input.device == nullptr || !input.device->KeyboardExists()) return 0;
  input.keyboard.state = kKeyboardCreated;
  return 1;
}

int KeyboardPoll(InputSystem& input) {
  KeyboardDevice& keyboard = input.keyboard;
  if (keyboard.state == kKeyboardNone) return 0;
  keyboard.state = kKeyboardAcquired;
  std::uint8_t fresh[kKeyCodeCount] = {};
  if (!input.device->ReadKeys(fresh)) {
    // Re-acquired on the next poll; the old snapshot stays but reads as up.
    keyboard.state = kKeyboardCreated;
    keyboard.lastPollOk = false;
    return 0;
  }
  std::memcpy(keyboard.keys, fresh, sizeof fresh);
  keyboard.lastPollOk = true;
  return 1;
}

int KeyIsHeld(const InputSystem& input, int code) {
  const KeyboardDevice& keyboard = input.keyboard;
  if (!keyboard.lastPollOk) return 0;
  if (code == kAnyKey) {
    for (int k = 0; k < kAnyKeyLimit; ++k) {
      if (keyboard.keys[k] & kKeyHeld) return 1;
    }
    return 0;
  }
  if (code < 0 || code >= kKeyCodeCount) return 0;
  return (keyboard.keys[code] & kKeyHeld) ? kKeyHeld : 0;
}

void KeyboardShutdown(InputSystem& input) {
  input.keyboard = KeyboardDevice{};
}

void InputLibraryRelease(InputSystem&) {}

int JoystickInit(InputSystem& input) {
  if (input.device == nullptr) return 0;
  if (input.joysticksOpened) input.device->JoysticksClose();
  input.joysticksOpened = true;
  const int count = std::max(input.device->JoysticksOpen(), 0);
  input.joysticks.assign(static_cast<std::size_t>(count), JoystickDevice{});
  return count;
}

int JoystickPoll(InputSystem& input, int n) {
  if (Joystick(input, n) == nullptr) return 0;
  JoystickDevice& joystick = input.joysticks[static_cast<std::size_t>(n)];
  JoystickReading reading;
  if (!input.device->ReadJoystick(n, reading)) {
    // A joystick that stopped answering (unplugged) reads idle rather than
    // holding its last direction forever.
    joystick = JoystickDevice{};
    return 0;
  }
  joystick.lX = std::clamp(reading.x, -kJoystickAxisRange, kJoystickAxisRange);
  joystick.lY = std::clamp(reading.y, -kJoystickAxisRange, kJoystickAxisRange);
  for (int b = 0; b < kJoystickButtons; ++b) {
    joystick.buttons[static_cast<std::size_t>(b)] = (reading.buttons >> b) & 1u ? kKeyHeld : 0;
  }
  joystick.start = reading.start ? kKeyHeld : 0;
  return 1;
}

int JoystickDirX(const InputSystem& input, int n) {
  const JoystickDevice* joystick = Joystick(input, n);
  return joystick != nullptr ? Direction(joystick->lX) : 0;
}

int JoystickDirY(const InputSystem& input, int n) {
  const JoystickDevice* joystick = Joystick(input, n);
  return joystick != nullptr ? Direction(joystick->lY) : 0;
}

int JoystickButtonHeld(const InputSystem& input, int n, int button) {
  const JoystickDevice* joystick = Joystick(input, n);
  if (joystick == nullptr || button < 1 || button > kJoystickButtons) return 0;
  return joystick->buttons[static_cast<std::size_t>(button - 1)] & kKeyHeld;
}

int JoystickStartHeld(const InputSystem& input, int n) {
  const JoystickDevice* joystick = Joystick(input, n);
  return joystick != nullptr ? joystick->start : 0;
}

int JoystickDevicesChanged(InputSystem& input) {
  if (input.device == nullptr || !input.joysticksOpened) return 0;
  return input.device->JoysticksChanged() ? 1 : 0;
}

void JoystickShutdown(InputSystem& input) {
  if (input.device != nullptr && input.joysticksOpened) input.device->JoysticksClose();
  input.joysticksOpened = false;
  input.joysticks.clear();
}

int WindowPointerX(InputSystem& input, NativeWindow window) {
  return ReadWindowPointer(input, window).x;
}
int WindowPointerY(InputSystem& input, NativeWindow window) {
  return ReadWindowPointer(input, window).y;
}

int DesktopPointerX(InputSystem& input) {
  int x = 0, y = 0;
  if (input.device != nullptr) input.device->PointerOnDesktop(x, y);
  return x;
}

int DesktopPointerY(InputSystem& input) {
  int x = 0, y = 0;
  if (input.device != nullptr) input.device->PointerOnDesktop(x, y);
  return y;
}

int MouseButtonDown(InputSystem& input, int button) {
  if (input.device == nullptr || (button != 1 && button != 2)) return 0;
  return input.device->MouseButton(button) ? 1 : 0;
}

void SystemCursorShow(InputSystem& input, int show) {
  if (input.device != nullptr) input.device->CursorShow(show != 0);
}

void SystemCursorPlace(InputSystem& input, int desktopX, int desktopY) {
  if (input.device != nullptr) input.device->CursorPlaceOnDesktop(desktopX, desktopY);
}

void SystemCursorPlaceInWindow(InputSystem& input, NativeWindow window, int clientX, int clientY) {
  if (input.device != nullptr && window != 0)
    input.device->CursorPlaceInWindow(window, clientX, clientY);
}

}  // namespace quorin
