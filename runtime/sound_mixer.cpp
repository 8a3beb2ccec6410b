#include "runtime/sound_mixer.h"

#include <algorithm>
#include <cmath>

namespace quorin {
namespace {

// Frames mixed per pass; keeps the float accumulator on the stack.
constexpr int kMixBlock = 256;
constexpr float kFractionScale = 1.0f / 4294967296.0f;

std::int16_t Saturate(float x) {
  if (x >= 32767.0f) return 32767;
  if (x <= -32768.0f) return -32768;
  return static_cast<std::int16_t>(std::lrint(x));
}

// Adds `count` stereo frames of the voice into acc, advancing it.
void MixVoice(Voice& voice, float* acc, int count, int outRate) {
  const PcmData& pcm = *voice.pcm;
  const std::size_t frames = pcm.frames;
  const int channels = pcm.channels;
  const int right = channels > 1 ? 1 : 0;
  const std::int16_t* samples = pcm.samples.data();
  const std::uint64_t step =
      (static_cast<std::uint64_t>(pcm.rate) << 32) / static_cast<std::uint64_t>(outRate);
  const std::uint64_t end = static_cast<std::uint64_t>(frames) << 32;
  const float gain = voice.gain;
  std::uint64_t position = voice.position;

  for (int i = 0; i < count; ++i) {
    if (position >= end) {
      if (!voice.loop) {
        voice.playing = false;
        voice.position = 0;
        return;
      }
      position %= end;
    }
    const std::size_t index = static_cast<std::size_t>(position >> 32);
    const float frac = static_cast<float>(position & 0xFFFFFFFFu) * kFractionScale;
    // Past the last frame a loop interpolates into its start, a one-shot holds.
    const std::size_t next = index + 1 < frames ? index + 1 : (voice.loop ? 0 : index);
    const std::int16_t* a = samples + index * channels;
    const std::int16_t* b = samples + next * channels;
    const float left = a[0] + (b[0] - a[0]) * frac;
    const float rightValue = a[right] + (b[right] - a[right]) * frac;
    acc[2 * i] += left * gain;
    acc[2 * i + 1] += rightValue * gain;
    position += step;
  }
  voice.position = position;
}

}  // namespace

float AttenuationToGain(int attenuation) {
  if (attenuation <= -10000) return 0.0f;
  if (attenuation >= 0) return 1.0f;
  return static_cast<float>(std::pow(10.0, attenuation / 2000.0));
}

void MixerAttach(Mixer& mixer, Voice& voice) {
  if (std::find(mixer.voices.begin(), mixer.voices.end(), &voice) == mixer.voices.end()) {
    mixer.voices.push_back(&voice);
  }
}

void MixerDetach(Mixer& mixer, Voice& voice) {
  mixer.voices.erase(std::remove(mixer.voices.begin(), mixer.voices.end(), &voice), mixer.voices.end());
}

void MixerRender(Mixer& mixer, std::int16_t* out, int frames) {
  const int channels = mixer.format.channels;
  if (frames <= 0 || channels <= 0) return;
  if (mixer.format.rate <= 0) {
    std::fill(out, out + static_cast<std::size_t>(frames) * channels, std::int16_t{0});
    return;
  }
  float acc[kMixBlock * 2];
  while (frames > 0) {
    const int count = std::min(frames, kMixBlock);
    std::fill(acc, acc + count * 2, 0.0f);
    for (Voice* voice : mixer.voices) {
      if (voice->playing && voice->pcm && voice->pcm->frames > 0)
        MixVoice(*voice, acc, count, mixer.format.rate);
    }
    if (channels == 1) {
      for (int i = 0; i < count; ++i) out[i] = Saturate((acc[2 * i] + acc[2 * i + 1]) * 0.5f);
    } else {
      for (int i = 0; i < count; ++i) {
        std::int16_t* frame = out + static_cast<std::size_t>(i) * channels;
        frame[0] = Saturate(acc[2 * i]);
        frame[1] = Saturate(acc[2 * i + 1]);
        std::fill(frame + 2, frame + channels, std::int16_t{0});
      }
    }
    out += static_cast<std::size_t>(count) * channels;
    frames -= count;
  }
}

}  // namespace quorin
