#include "runtime/sound.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>

namespace quorin {
namespace {

// Voice changes are made under the device lock so the mixer sees each one
// whole. Decoding and freeing happen outside it, so it is held only briefly.
class AudioLock {
 public:
  explicit AudioLock(SoundSystem& sound) : device_(sound.device) {
    if (device_ != nullptr) device_->Lock();
  }
  ~AudioLock() {
    if (device_ != nullptr) device_->Unlock();
  }
  AudioLock(const AudioLock&) = delete;
  AudioLock& operator=(const AudioLock&) = delete;

 private:
  AudioDevice* device_;
};

template <class System>
auto* Slot(System& sound, int id) {
  using SlotPointer = decltype(&sound.sounds[0]);
  if (id >= kSoundHandleBase) {
    const std::size_t index = static_cast<std::size_t>(id - kSoundHandleBase);
    return index < sound.handles.size() ? &sound.handles[index] : SlotPointer{nullptr};
  }
  if (id < 0 || static_cast<std::size_t>(id) >= sound.sounds.size()) return SlotPointer{nullptr};
  return &sound.sounds[static_cast<std::size_t>(id)];
}

template <class System>
auto* Find(System& sound, int id) {
  auto* slot = Slot(sound, id);
  return slot != nullptr ? slot->get() : nullptr;
}

void Detach(Mixer& mixer, Sound& s) {
  MixerDetach(mixer, s.voice);
  for (auto& instance : s.instances) MixerDetach(mixer, *instance);
}

void Rewind(Voice& voice) {
  voice.playing = false;
  voice.position = 0;
}

}  // namespace

int SoundInit(SoundSystem& sound, AudioDevice* device) {
  sound.volumeTable[0] = kVolumeSilent;
  sound.volumeTable[kVolumeSteps - 1] = 0;
  for (int p = 1; p < kVolumeSteps - 1; ++p) {
    sound.volumeTable[p] = static_cast<int>(std::trunc(std::log10(1000.0 * p) * 20.0 * 100.0)) - 10000;
  }
  sound.device = device;
  sound.initialised = device != nullptr;
  return sound.initialised ? 1 : 0;
}

int SoundDeviceOpen(SoundSystem& sound) {
  if (!sound.initialised) return 0;
  if (sound.deviceOpen) return 1;
  const AudioFormat wanted{kMixerRate, kMixerChannels};
  sound.deviceOpen = sound.device->Open(wanted, sound.mixer);
  return sound.deviceOpen ? 1 : 0;
}

std::unique_ptr<Sound> SoundPrepare(const void* address, std::size_t size) {
  if (address == nullptr) return nullptr;
  const auto* data = static_cast<const std::uint8_t*>(address);
  DecodedSound decoded;
  const bool ok = IsRiff(data, size) ? DecodeWave(data, size, decoded) : DecodeOggVorbis(data, size, decoded);
  if (!ok) return nullptr;
  auto pcm = std::make_shared<PcmData>();
  if (!PcmFromDecoded(decoded, *pcm)) return nullptr;
  auto made = std::make_unique<Sound>();
  made->voice.pcm = std::move(pcm);
  made->format = decoded.format;
  made->bufferBytes = decoded.bytes.size();
  return made;
}

int SoundInstall(SoundSystem& sound, int id, std::unique_ptr<Sound> made) {
  if (!sound.initialised || !made || id < -1 || id >= kSoundHandleBase) return 0;
  std::unique_ptr<Sound>* slot = nullptr;
  int result = 1;
  try {
    if (id == -1) {
      sound.handles.emplace_back();
      slot = &sound.handles.back();
      result = kSoundHandleBase + static_cast<int>(sound.handles.size() - 1);
    } else {
      const std::size_t need = static_cast<std::size_t>(id) + 1;
      if (need > sound.sounds.size()) {
        const std::size_t grown = (need + kSoundTableGrowth - 1) / kSoundTableGrowth * kSoundTableGrowth;
        sound.sounds.resize(grown);
      }
      slot = &sound.sounds[static_cast<std::size_t>(id)];
    }
  } catch (const std::bad_alloc&) {
    return 0;
  }

  std::unique_ptr<Sound> old;
  {
    AudioLock lock(sound);
    if (*slot) Detach(sound.mixer, **slot);
    old = std::exchange(*slot, std::move(made));
    MixerAttach(sound.mixer, (*slot)->voice);
  }
  return result;
}

int SoundLoadFromMemory(SoundSystem& sound, int id, const void* address, std::size_t size) {
  if (!sound.initialised || address == nullptr || id < -1 || id >= kSoundHandleBase) return 0;
  return SoundInstall(sound, id, SoundPrepare(address, size));
}

int SoundStart(SoundSystem& sound, int id) {
  return SoundStartEx(sound, id, 0);
}

int SoundStartEx(SoundSystem& sound, int id, int flags) {
  Sound* s = Find(sound, id);
  if (s == nullptr) return 0;
  const bool loop = (flags & kSoundLoop) != 0;
  if ((flags & kSoundNewInstance) == 0) {
    AudioLock lock(sound);
    s->voice.position = 0;
    s->voice.loop = loop;
    s->voice.playing = true;
    return 1;
  }

  // A further copy on the same samples, at the buffer's volume as created.
  auto instance = std::make_unique<Voice>();
  instance->pcm = s->voice.pcm;
  instance->gain = AttenuationToGain(s->initialVolume);
  instance->loop = loop;
  instance->playing = true;
  std::vector<std::unique_ptr<Voice>> finished;
  s->instances.reserve(s->instances.size() + 1);
  {
    AudioLock lock(sound);
    auto stopped = std::stable_partition(s->instances.begin(), s->instances.end(),
                                         [](const std::unique_ptr<Voice>& v) { return v->playing; });
    for (auto it = stopped; it != s->instances.end(); ++it) {
      MixerDetach(sound.mixer, **it);
      finished.push_back(std::move(*it));
    }
    s->instances.erase(stopped, s->instances.end());
    s->instances.push_back(std::move(instance));
    MixerAttach(sound.mixer, *s->instances.back());
  }
  return 1;
}

void SoundStop(SoundSystem& sound, int id) {
  if (id == -1) {
    AudioLock lock(sound);
    for (auto& s : sound.sounds) {
      if (s) Rewind(s->voice);
    }
    for (auto& s : sound.handles) {
      if (s) Rewind(s->voice);
    }
    return;
  }
  Sound* s = Find(sound, id);
  if (s == nullptr) return;
  AudioLock lock(sound);
  Rewind(s->voice);
}

int SoundExists(const SoundSystem& sound, int id) {
  return SoundFind(sound, id) != nullptr ? 1 : 0;
}

void SoundSetVolume(SoundSystem& sound, int id, int percent) {
  Sound* s = Find(sound, id);
  if (s == nullptr) return;
  const int attenuation = sound.volumeTable[static_cast<std::size_t>(std::clamp(percent, 0, 100))];
  const float gain = AttenuationToGain(attenuation);
  s->volume = attenuation;
  AudioLock lock(sound);
  s->voice.gain = gain;
}

void SoundShutdown(SoundSystem& sound) {
  if (sound.deviceOpen) sound.device->Close();
  sound.deviceOpen = false;
  sound.mixer.voices.clear();
  sound.sounds.clear();
  sound.handles.clear();
  sound.initialised = false;
}

void MusicStop() {}

const Sound* SoundFind(const SoundSystem& sound, int id) {
  return Find(sound, id);
}

int SoundIsPlaying(SoundSystem& sound, int id) {
  Sound* s = Find(sound, id);
  if (s == nullptr) return 0;
  AudioLock lock(sound);
  return s->voice.playing ? 1 : 0;
}

}  // namespace quorin
