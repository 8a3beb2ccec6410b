#include "runtime/null/audio_null.h"

#include <algorithm>

#include "runtime/sound_mixer.h"

namespace quorin {

bool NullAudioDevice::Open(const AudioFormat& wanted, Mixer& mixer) {
  wanted_ = wanted;
  if (failOpen) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  mixer.format = offered;
  mixer_ = &mixer;
  return true;
}

void NullAudioDevice::Close() {
  std::lock_guard<std::mutex> lock(mutex_);
  mixer_ = nullptr;
}

void NullAudioDevice::Lock() {
  mutex_.lock();
}
void NullAudioDevice::Unlock() {
  mutex_.unlock();
}

int NullAudioDevice::Pull(std::int16_t* out, int frames) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (mixer_ == nullptr) {
    std::fill(out, out + static_cast<std::size_t>(std::max(frames, 0)) * std::max(offered.channels, 0),
              std::int16_t{0});
    return 0;
  }
  MixerRender(*mixer_, out, frames);
  return frames;
}

}  // namespace quorin
