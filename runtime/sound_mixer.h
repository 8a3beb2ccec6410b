// Our own software mixer: every playing voice is resampled to the device rate,
// scaled by its gain and summed into 16-bit frames, saturating at full scale.
// It runs on the audio device's thread (MixerRender) while the sound layer
// changes voices on the main thread under the device lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/audio_device.h"

namespace quorin {

// The whole decoded sound: 16-bit signed samples, channels interleaved, at the
// sound's own rate. Never changes once a voice plays it.
struct PcmData {
  std::vector<std::int16_t> samples;
  int channels = 1;
  int rate = 44100;
  std::size_t frames = 0;  // samples.size() / channels
};

// One playback buffer: where it is and how it plays.
struct Voice {
  std::shared_ptr<const PcmData> pcm;
  std::uint64_t position = 0;  // in source frames, 32.32 fixed point
  float gain = 1.0f;
  bool playing = false;
  bool loop = false;
};

inline constexpr int kMixerRate = 48000;
inline constexpr int kMixerChannels = 2;

struct Mixer {
  AudioFormat format{kMixerRate, kMixerChannels};
  std::vector<Voice*> voices;  // not owned; attached voices outlive their attachment
};

// Attenuation in hundredths of a decibel (0 full, -10000 silent) to a linear
// gain, 10^(attenuation / 2000). -10000 and below are exactly silent.
float AttenuationToGain(int attenuation);

// Attach/detach a voice; the caller holds the device lock.
void MixerAttach(Mixer& mixer, Voice& voice);
void MixerDetach(Mixer& mixer, Voice& voice);

// Fills `frames` frames of mixer.format into out (frames * channels samples).
// A voice that runs off its end stops and rewinds; a looping one wraps.
void MixerRender(Mixer& mixer, std::int16_t* out, int frames);

}  // namespace quorin
