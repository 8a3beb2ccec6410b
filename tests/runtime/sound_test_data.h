// Sound files made inside the tests: hand-built WAVE bytes and Ogg Vorbis
// streams encoded with libvorbisenc.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorin::test {

using Bytes = std::vector<std::uint8_t>;

void PutU16(Bytes& out, unsigned v);
void PutU32(Bytes& out, std::uint32_t v);
void PutChunk(Bytes& out, const std::string& tag, const Bytes& body);
Bytes WaveFmtBody(int channels, int rate, int bits);
// "RIFF" size "WAVE", then the chunks as given.
Bytes Riff(const std::vector<std::pair<std::string, Bytes>>& chunks);
// A plain PCM WAVE file holding the 16-bit samples.
Bytes Wave16(int channels, int rate, const std::vector<std::int16_t>& samples);

// An Ogg Vorbis stream of `frames` frames of a quiet tone.
Bytes EncodeOggVorbis(int channels, int rate, long frames);

}  // namespace quorin::test
