// Input for tests and quorin-sim: every state is set by hand (a script, a
// test) and read back by the input layer as if from real devices.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/input_device.h"

namespace quorin {

struct NullJoystick {
  bool readable = true;  // false: reads fail as for an unplugged stick
  JoystickReading reading;
};

class NullInputDevice : public InputDevice {
 public:
  bool keyboardExists = true;
  bool keyboardReadable = true;  // false: the window is not in the foreground
  std::uint8_t keys[256] = {};   // by game key code; nonzero = held
  std::vector<NullJoystick> joysticks;
  // The one window: any non-null handle names it while windowExists is set.
  bool windowExists = true;
  int windowLeft = 0;  // client area origin on the desktop
  int windowTop = 0;
  int windowWidth = 0;
  int windowHeight = 0;
  int desktopX = 0;  // the system pointer
  int desktopY = 0;
  bool mouseHeld[3] = {};     // [1] left, [2] right
  bool mousePressed[3] = {};  // pressed since the last ask
  bool cursorShown = true;
  int cursorPlacements = 0;
  // With deliverOnPump the keys set by hand reach ReadKeys only at Deliver(),
  // as a window system hands key events over only when they are pumped.
  bool deliverOnPump = false;

  void SetKey(int code, bool down);
  void Deliver();
  void SetMouseButton(int button, bool down);

  bool KeyboardExists() override { return keyboardExists; }
  bool ReadKeys(std::uint8_t (&out)[256]) override;
  int JoysticksOpen() override;
  void JoysticksClose() override;
  bool ReadJoystick(int n, JoystickReading& reading) override;
  bool PointerInWindow(NativeWindow window, int& x, int& y, int& width, int& height) override;
  void PointerOnDesktop(int& x, int& y) override;
  bool MouseButton(int button) override;
  void CursorShow(bool show) override { cursorShown = show; }
  void CursorPlaceOnDesktop(int x, int y) override;
  void CursorPlaceInWindow(NativeWindow window, int x, int y) override;

 private:
  bool joysticksOpen_ = false;
  std::uint8_t delivered_[256] = {};
};

}  // namespace quorin
