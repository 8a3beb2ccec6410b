// The two file formats of the sound effects: Ogg Vorbis streams and the one
// tiny RIFF WAVE, both mono 16-bit at 44100 Hz once decoded.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "tools/soundgen/synth.h"

namespace quorin::soundgen {

using Bytes = std::vector<unsigned char>;

struct DecodedSound {
  bool ok = false;
  int channels = 0;
  int rate = 0;
  std::vector<std::int16_t> samples;  // interleaved when channels > 1
};

// Rounds to 16 bits, clamping at full scale.
std::vector<std::int16_t> ToPcm16(const Signal& signal);

// Mono 44100 Hz, variable bit rate at the given quality (-0.1 .. 1.0).
// serial names the logical stream; a fixed one keeps the output repeatable.
Bytes EncodeVorbis(const Signal& signal, float quality, int serial);
// A canonical 44-byte header followed by the samples.
Bytes EncodeWave(const std::vector<std::int16_t>& samples);

// Both return ok = false on anything they cannot read.
DecodedSound DecodeVorbis(std::span<const unsigned char> bytes);
DecodedSound DecodeWave(std::span<const unsigned char> bytes);

}  // namespace quorin::soundgen
