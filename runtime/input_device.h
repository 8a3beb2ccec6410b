// The keyboard, joysticks and mouse under the input layer. The input layer
// keeps the snapshots the game reads; a device only answers "what is the state
// now". Window handles are the window layer's native handles.
#pragma once

#include <cstdint>

#include "runtime/platform.h"

namespace quorin {

inline constexpr int kJoystickButtons = 32;
inline constexpr int kJoystickAxisRange = 1000;  // axes read -1000..1000

struct JoystickReading {
  int x = 0;  // -1000..1000
  int y = 0;
  std::uint32_t buttons = 0;  // bit b - 1 set while button b is held
  bool start = false;         // a game controller's Start, which acts as Escape
};

class InputDevice {
 public:
  virtual ~InputDevice() = default;

  // Keyboard: false when the platform has none.
  virtual bool KeyboardExists() = 0;
  // The held keys by game key code (128 = held, 0 = up). False when the keys
  // cannot be read now (the game's window is not in the foreground).
  virtual bool ReadKeys(std::uint8_t (&keys)[256]) = 0;

  // Closes any open joysticks, opens every usable one (it must have an X and
  // a Y axis), numbered from 0 in the platform's order. Returns the count.
  virtual int JoysticksOpen() = 0;
  virtual void JoysticksClose() = 0;
  // False when joystick n cannot be read now (unplugged, not open).
  virtual bool ReadJoystick(int n, JoystickReading& reading) = 0;
  // True once after a joystick was plugged in or pulled out since the last
  // JoysticksOpen, so that the game can open them again.
  virtual bool JoysticksChanged() { return false; }

  // Pointer relative to the client area's origin, and the client area's size.
  // False when the window does not exist.
  virtual bool PointerInWindow(NativeWindow window, int& x, int& y, int& width, int& height) = 0;
  virtual void PointerOnDesktop(int& x, int& y) = 0;
  // button 1 left, 2 right (physical): held now, or pressed since the last ask.
  virtual bool MouseButton(int button) = 0;

  virtual void CursorShow(bool show) = 0;
  virtual void CursorPlaceOnDesktop(int x, int y) = 0;
  // A client point of the window.
  virtual void CursorPlaceInWindow(NativeWindow window, int x, int y) = 0;
};

// A raw axis value in min..max onto -1000..1000, the way the game reads axes.
int JoystickAxisScale(int value, int min, int max);

}  // namespace quorin
