// The eighteen sound effects: which id marks which event, and the one volume
// setting turned into the volume of every sound.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/sound.h"
#include "world/play_host.h"

namespace quorin {

struct Game;

inline constexpr int kSoundEffectCount = 18;
// Volume is applied to every id up to this one, loaded or not.
inline constexpr int kSoundVolumeLastId = 32;

// The embedded file of a sound id: "sounds/NN.ogg", or "sounds/01.wav".
std::string SoundFileName(int id);
// Decodes the embedded sounds into ids 0..17, in id order. A sound that does
// not decode simply does not exist.
void LoadEmbeddedSounds(SoundSystem& sound);
// Percentage for a volume step 0..4 (OFF, LOW, MEDIUM, HIGH, MAX); any other
// step is silent.
int VolumePercent(std::int32_t audioVolume);
// Gives every loaded sound the volume of AudioVolume.
void ApplyVolume(Game& game);

// Every sound the game flow and play start goes through here, so that the
// frame's soundsStarted mask records it. flags 0 is SoundStart (from the
// beginning, once); otherwise SoundStartEx with those flags.
void StartSoundCue(Game& game, std::int32_t id, std::int32_t flags = 0);

}  // namespace quorin
