// The game's keyboard, joysticks and mouse on SDL. Events are pumped by the
// window and screen layers; this reads the state SDL keeps, and remembers
// where it put the cursor until SDL reports that move. Window handles are SDL
// window IDs.
#pragma once

#include <memory>

#include "runtime/input_device.h"

namespace quorin {

std::unique_ptr<InputDevice> CreateSdlInputDevice();

}  // namespace quorin
