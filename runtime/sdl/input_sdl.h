// The game's keyboard, joysticks and mouse on SDL. Events are pumped by the
// window layer; this only reads the state SDL keeps. Window handles are
// SDL_Window pointers.
#pragma once

#include <memory>

#include "runtime/input_device.h"

namespace quorin {

std::unique_ptr<InputDevice> CreateSdlInputDevice();

}  // namespace quorin
