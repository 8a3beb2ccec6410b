// The Ogg Vorbis decoder, reading from memory through our callbacks, and the
// conversion to mixer samples, on any bytes.
#include <cstdint>
#include <cstdlib>

#include "runtime/sound_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quorin::DecodedSound sound;
  if (!quorin::DecodeOggVorbis(data, size, sound)) return 0;
  if (sound.bytes.size() > quorin::kSoundMaxBytes) std::abort();
  quorin::PcmData pcm;
  quorin::PcmFromDecoded(sound, pcm);
  return 0;
}
