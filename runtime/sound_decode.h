// Turning the embedded sound files into playback buffers: the RIFF WAVE chunk
// walk, Ogg Vorbis through libvorbisfile reading from memory, and the
// conversion of a buffer into the mixer's 16-bit samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/sound_mixer.h"

namespace quorin {

// A decoded sound may be at most this long; longer streams are cut.
inline constexpr std::size_t kSoundMaxBytes = 64'000'000;
// Ogg Vorbis is decoded in pieces of at most this many bytes.
inline constexpr std::size_t kSoundDecodePiece = 4096;
inline constexpr int kWaveFormatPcm = 1;

// The buffer format, as a WAVE fmt chunk states it.
struct WaveFormat {
  int formatTag = 0;
  int channels = 0;
  int rate = 0;
  int byteRate = 0;
  int blockAlign = 0;
  int bitsPerSample = 0;
};

// One playback buffer's contents: the sample bytes exactly as played.
struct DecodedSound {
  WaveFormat format;
  std::vector<std::uint8_t> bytes;
};

// True when the data starts with "RIFF" (and so goes to DecodeWave).
bool IsRiff(const std::uint8_t* data, std::size_t size);
// The fmt chunk must sit at offset 12; the chunks after it are skipped by
// their size fields until "data". False when refused.
bool DecodeWave(const std::uint8_t* data, std::size_t size, DecodedSound& out);
// Whole stream to 16-bit signed little-endian samples. False when the data is
// not an Ogg Vorbis stream.
bool DecodeOggVorbis(const std::uint8_t* data, std::size_t size, DecodedSound& out);

// The decoder reads the embedded bytes through these callbacks.
struct MemoryStream {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  std::size_t position = 0;
};
// Copies at most the bytes left; returns whole items copied.
std::size_t MemoryStreamRead(void* destination, std::size_t itemSize, std::size_t items, void* stream);
// whence: 0 from the start, 1 from the current position, 2 from the end.
// Returns 0, or -1 (position unchanged) for a target outside the data.
int MemoryStreamSeek(void* stream, std::int64_t offset, int whence);
long MemoryStreamTell(void* stream);
// Rewinds to 0.
int MemoryStreamClose(void* stream);

// The buffer as mixer samples. False for a format the mixer cannot play
// (not integer PCM of 8 or 16 bits, no channels, no rate) or no whole frame.
bool PcmFromDecoded(const DecodedSound& sound, PcmData& out);

}  // namespace quorin
