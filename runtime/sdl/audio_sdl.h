// The game's audio output on SDL. The header names no SDL type so the
// platform code that picks a back end need not include SDL.
#pragma once

#include <memory>

#include "runtime/audio_device.h"

namespace quorin {

std::unique_ptr<AudioDevice> CreateSdlAudioDevice();

}  // namespace quorin
