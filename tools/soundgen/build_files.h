// Turning the effects into the files the game embeds, and measuring them back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/soundgen/codec.h"

namespace quorin::soundgen {

// Vorbis quality for every effect: small files, no audible loss on short effects.
constexpr float kVorbisQuality = 0.4f;
// Decoded peaks must stay at or below this, leaving headroom for the encoder's ripple.
constexpr double kDecodedPeakLimitDb = -1.0;

// The bytes of the file for one id, as it goes under assets/.
Bytes BuildSoundFile(int id);

// Decodes a file by its id's format.
DecodedSound DecodeSoundFile(int id, std::span<const unsigned char> bytes);

struct SoundLevels {
  double peakDb = 0.0;      // relative to full scale
  double rmsDb = 0.0;       // over the whole sound
  double loudnessDb = 0.0;  // as the generator matches it (see level.h)
};
SoundLevels Measure(const std::vector<std::int16_t>& samples);

}  // namespace quorin::soundgen
