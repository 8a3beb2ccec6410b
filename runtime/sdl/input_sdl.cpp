#include "runtime/sdl/input_sdl.h"

#include <SDL.h>

#include <algorithm>
#include <vector>

#include "runtime/key_codes.h"

namespace quorin {
namespace {

// SDL scancodes are USB HID keyboard usages; the key table relies on it.
static_assert(SDL_SCANCODE_A == 0x04 && SDL_SCANCODE_Z == 0x1D && SDL_SCANCODE_ESCAPE == 0x29);
static_assert(SDL_SCANCODE_UP == 0x52 && SDL_SCANCODE_NONUSBACKSLASH == 0x64 &&
              SDL_SCANCODE_INTERNATIONAL1 == 0x87);
static_assert(SDL_SCANCODE_LCTRL == 0xE0 && SDL_SCANCODE_RALT == 0xE6 && SDL_SCANCODE_RGUI == 0xE7);

class SdlInputDevice : public InputDevice {
 public:
  SdlInputDevice() { SDL_AddEventWatch(&SdlInputDevice::WatchEvent, this); }
  ~SdlInputDevice() override {
    SDL_DelEventWatch(&SdlInputDevice::WatchEvent, this);
    JoysticksClose();
  }

  bool KeyboardExists() override { return true; }

  bool ReadKeys(std::uint8_t (&keys)[256]) override {
    // Keys count only while one of our windows has the keyboard.
    if (SDL_GetKeyboardFocus() == nullptr) return false;
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    if (state == nullptr) return false;
    std::fill(std::begin(keys), std::end(keys), std::uint8_t{0});
    const int limit = std::min(count, kUsbUsageCount);
    for (int scancode = 0; scancode < limit; ++scancode) {
      if (state[scancode] == 0) continue;
      const int code = KeyCodeFromUsbUsage(scancode);
      if (code != 0) keys[code] = 128;
    }
    return true;
  }

  int JoysticksOpen() override {
    JoysticksClose();
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return 0;
    subsystem_ = true;
    const int attached = SDL_NumJoysticks();
    for (int i = 0; i < attached; ++i) {
      SDL_Joystick* joystick = SDL_JoystickOpen(i);
      if (joystick == nullptr) continue;
      // The game steers with an X and a Y axis; a stick without both is no use.
      if (SDL_JoystickNumAxes(joystick) < 2) {
        SDL_JoystickClose(joystick);
        continue;
      }
      joysticks_.push_back(joystick);
    }
    return static_cast<int>(joysticks_.size());
  }

  void JoysticksClose() override {
    for (SDL_Joystick* joystick : joysticks_) SDL_JoystickClose(joystick);
    joysticks_.clear();
    if (subsystem_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    subsystem_ = false;
  }

  bool ReadJoystick(int n, JoystickReading& reading) override {
    if (n < 0 || static_cast<std::size_t>(n) >= joysticks_.size()) return false;
    SDL_Joystick* joystick = joysticks_[static_cast<std::size_t>(n)];
    SDL_JoystickUpdate();
    if (!SDL_JoystickGetAttached(joystick)) return false;
    reading.x =
        JoystickAxisScale(SDL_JoystickGetAxis(joystick, 0), SDL_JOYSTICK_AXIS_MIN, SDL_JOYSTICK_AXIS_MAX);
    reading.y =
        JoystickAxisScale(SDL_JoystickGetAxis(joystick, 1), SDL_JOYSTICK_AXIS_MIN, SDL_JOYSTICK_AXIS_MAX);
    reading.buttons = 0;
    const int buttons = std::min(SDL_JoystickNumButtons(joystick), kJoystickButtons);
    for (int b = 0; b < buttons; ++b) {
      if (SDL_JoystickGetButton(joystick, b)) reading.buttons |= 1u << b;
    }
    return true;
  }

  bool PointerInWindow(NativeWindow window, int& x, int& y, int& width, int& height) override {
    SDL_Window* sdlWindow = SDL_GetWindowFromID(static_cast<Uint32>(window));
    if (sdlWindow == nullptr) return false;
    SDL_GetWindowSize(sdlWindow, &width, &height);
    const Point desktop = Desktop();
    if (warp_.pending || SDL_GetMouseFocus() != sdlWindow) {
      int left = 0, top = 0;
      SDL_GetWindowPosition(sdlWindow, &left, &top);
      x = desktop.x - left;
      y = desktop.y - top;
      return true;
    }
    // Motion events keep this exact; the global query may be a stale cache on X11.
    SDL_GetMouseState(&x, &y);
    return true;
  }

  void PointerOnDesktop(int& x, int& y) override {
    const Point desktop = Desktop();
    x = desktop.x;
    y = desktop.y;
  }

  bool MouseButton(int button) override {
    const Uint32 mask = button == 1 ? SDL_BUTTON_LMASK : SDL_BUTTON_RMASK;
    const bool down = (SDL_GetGlobalMouseState(nullptr, nullptr) & mask) != 0 || (pressed_ & mask) != 0;
    pressed_ &= ~mask;
    // Quitting SDL video (a display reopen may) forgets every event watch; put ours
    // back once per frame (the left button is asked first).
    if (button == 1) {
      SDL_DelEventWatch(&SdlInputDevice::WatchEvent, this);
      SDL_AddEventWatch(&SdlInputDevice::WatchEvent, this);
    }
    return down;
  }

  void CursorShow(bool show) override { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }
  void CursorPlaceOnDesktop(int x, int y) override {
    SDL_WarpMouseGlobal(x, y);
    warp_ = {true, {x, y}};
    TakeMoveEvent();
  }
  void CursorPlaceInWindow(NativeWindow window, int x, int y) override {
    SDL_Window* sdlWindow = SDL_GetWindowFromID(static_cast<Uint32>(window));
    if (sdlWindow == nullptr) return;
    int left = 0, top = 0;
    SDL_GetWindowPosition(sdlWindow, &left, &top);
    SDL_WarpMouseInWindow(sdlWindow, x, y);
    warp_ = {true, {left + x, top + y}};
    TakeMoveEvent();
  }

 private:
  struct Point {
    int x = 0;
    int y = 0;
  };
  // A cursor move SDL has not reported yet, and where the cursor was put.
  struct Warp {
    bool pending = false;
    Point target;
  };

  // Takes the move's own motion event into SDL's state at once when the
  // window system has sent it already (the events stay queued for the window
  // layer), so the pending move ends as early as it can.
  static void TakeMoveEvent() { SDL_PumpEvents(); }

  // Where SDL last saw the pointer, in desktop pixels.
  static Point SdlDesktop() {
    Point p;
    if (SDL_Window* focus = SDL_GetMouseFocus()) {
      int left = 0, top = 0;
      SDL_GetWindowPosition(focus, &left, &top);
      SDL_GetMouseState(&p.x, &p.y);
      p.x += left;
      p.y += top;
      return p;
    }
    SDL_GetGlobalMouseState(&p.x, &p.y);
    return p;
  }

  // SDL learns of a cursor move only when the move's own motion event is
  // pumped (on X11 often a loop step later); until then it reports the old
  // place, and a reference taken from that turns the move into motion on the
  // next step. So the cursor is where it was put until SDL reports motion
  // again: the move itself, or anything after it, which comes in the same
  // pump. Comparing positions instead would be fooled by a move that lands
  // exactly where the last one did.
  Point Desktop() { return warp_.pending ? warp_.target : SdlDesktop(); }

  // A click shorter than a frame must still count: presses are latched as the
  // window layer pumps events, and cleared when asked for. Motion, or the
  // pointer crossing a window edge, ends a pending cursor move.
  static int SDLCALL WatchEvent(void* self, SDL_Event* event) {
    SdlInputDevice& device = *static_cast<SdlInputDevice*>(self);
    if (event->type == SDL_MOUSEBUTTONDOWN) {
      device.pressed_ |= SDL_BUTTON(event->button.button);
    } else if (event->type == SDL_MOUSEMOTION ||
               (event->type == SDL_WINDOWEVENT && (event->window.event == SDL_WINDOWEVENT_ENTER ||
                                                   event->window.event == SDL_WINDOWEVENT_LEAVE))) {
      device.warp_.pending = false;
    }
    return 0;
  }

  std::vector<SDL_Joystick*> joysticks_;
  bool subsystem_ = false;
  Uint32 pressed_ = 0;
  Warp warp_;
};

}  // namespace

std::unique_ptr<InputDevice> CreateSdlInputDevice() {
  return std::make_unique<SdlInputDevice>();
}

}  // namespace quorin
