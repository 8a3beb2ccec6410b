// Controls and the game's pointer: keyboard, joystick and mouse turned once per
// active frame into game.controls and game.shell.pointerX / pointerY, plus the
// fixed Alt combinations (Alt+Enter, Alt+Tab in full screen, Alt+F4).
#pragma once

#include <cstdint>

#include "flow/game.h"

namespace quorin {

// Mouse buttons as the input layer numbers them (physical, not swapped).
inline constexpr int kMouseLeft = 1;
inline constexpr int kMouseRight = 2;

// Start-up (SystemStartup): opens the joysticks; joystickPresent = 1 when at
// least one answered.
void DetectJoystick(Game& game);

// MainLoopStep, once per frame that has the focus, after the display request
// was serviced and before GameFrame. Fills game.controls, moves the pointer,
// and sets displayRequest, minimiseRequest and quitFlag from the Alt keys.
void UpdateControls(Game& game);

// Parts of UpdateControls: the joystick sets the directions and buttons; the
// keyboard adds to them and handles Escape and the Alt combinations.
void ReadJoystick(Game& game);
void ReadKeyboard(Game& game);

// 1 shows the system cursor, 0 hides it; repeated calls change nothing.
// UpdateControls uses it in a window; DisplayOpen hides it after a full-screen
// open.
void ShowSystemCursor(Game& game, std::int32_t show);

}  // namespace quorin
