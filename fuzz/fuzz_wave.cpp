// The RIFF WAVE reader and the conversion to mixer samples on any bytes.
#include <cstdint>
#include <cstdlib>

#include "runtime/sound_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quorin::DecodedSound sound;
  if (!quorin::DecodeWave(data, size, sound)) return 0;
  if (sound.bytes.size() > size) std::abort();  // the samples come from the data
  quorin::PcmData pcm;
  quorin::PcmFromDecoded(sound, pcm);
  return 0;
}
