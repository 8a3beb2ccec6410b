#include "runtime/null/input_null.h"

#include <cstring>

namespace quorin {

void NullInputDevice::SetKey(int code, bool down) {
  if (code >= 0 && code < 256) keys[code] = down ? 128 : 0;
}

void NullInputDevice::SetMouseButton(int button, bool down) {
  if (button < 1 || button > 2) return;
  if (down && !mouseHeld[button]) mousePressed[button] = true;
  mouseHeld[button] = down;
}

void NullInputDevice::Deliver() {
  std::memcpy(delivered_, keys, sizeof delivered_);
}

bool NullInputDevice::ReadKeys(std::uint8_t (&out)[256]) {
  if (!keyboardExists || !keyboardReadable) return false;
  const std::uint8_t* source = deliverOnPump ? delivered_ : keys;
  for (int k = 0; k < 256; ++k) out[k] = source[k] ? 128 : 0;
  return true;
}

int NullInputDevice::JoysticksOpen() {
  joysticksOpen_ = true;
  return static_cast<int>(joysticks.size());
}

void NullInputDevice::JoysticksClose() {
  joysticksOpen_ = false;
}

bool NullInputDevice::ReadJoystick(int n, JoystickReading& reading) {
  if (!joysticksOpen_ || n < 0 || static_cast<std::size_t>(n) >= joysticks.size()) return false;
  const NullJoystick& stick = joysticks[static_cast<std::size_t>(n)];
  if (!stick.readable) return false;
  reading = stick.reading;
  return true;
}

bool NullInputDevice::PointerInWindow(NativeWindow window, int& x, int& y, int& width, int& height) {
  if (window == 0 || !windowExists) return false;
  x = desktopX - windowLeft;
  y = desktopY - windowTop;
  width = windowWidth;
  height = windowHeight;
  return true;
}

void NullInputDevice::PointerOnDesktop(int& x, int& y) {
  x = desktopX;
  y = desktopY;
}

bool NullInputDevice::MouseButton(int button) {
  if (button < 1 || button > 2) return false;
  const bool down = mouseHeld[button] || mousePressed[button];
  mousePressed[button] = false;
  return down;
}

void NullInputDevice::CursorPlaceOnDesktop(int x, int y) {
  desktopX = x;
  desktopY = y;
  ++cursorPlacements;
}

void NullInputDevice::CursorPlaceInWindow(NativeWindow window, int x, int y) {
  if (window == 0 || !windowExists) return;
  CursorPlaceOnDesktop(windowLeft + x, windowTop + y);
}

}  // namespace quorin
