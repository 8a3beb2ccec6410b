// The eighteen effects of the game: what each id is for, how long it lasts,
// and the recipe that makes it.
#pragma once

#include <cstddef>
#include <span>

#include "tools/soundgen/synth.h"

namespace quorin::soundgen {

constexpr int kSoundCount = 18;
// The one id stored as a RIFF WAVE; the others are Ogg Vorbis.
constexpr int kWaveSoundId = 1;
// The one id the game loops (the jet thrust).
constexpr int kLoopSoundId = 6;

struct SoundInfo {
  int id;
  const char* file;    // below assets/
  const char* event;   // what plays it, upper case for the waveform labels
  std::size_t length;  // samples at 44100 Hz
  double trimDb;       // loudness relative to the common level
};

std::span<const SoundInfo> SoundTable();

// The effect at full quality and at the common level, peaks below full scale.
Signal MakeSound(int id);

}  // namespace quorin::soundgen
