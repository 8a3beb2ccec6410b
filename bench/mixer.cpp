// Mixing cost: one second of eight 44.1 kHz mono voices (the game's sound
// format) into 48 kHz stereo, in the device's callback-sized pieces.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "runtime/sound_mixer.h"

namespace quorin {
namespace {

constexpr int kVoices = 8;
constexpr int kCallbackFrames = 1024;

std::shared_ptr<PcmData> Tone(int rate, int frames, float pitch) {
  auto pcm = std::make_shared<PcmData>();
  pcm->rate = rate;
  pcm->channels = 1;
  pcm->frames = static_cast<std::size_t>(frames);
  pcm->samples.resize(pcm->frames);
  for (int i = 0; i < frames; ++i) {
    pcm->samples[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(9000.0f * std::sin(i * pitch));
  }
  return pcm;
}

void MixOneSecond(benchmark::State& state, int sourceRate) {
  Mixer mixer;
  std::vector<Voice> voices(kVoices);
  for (int v = 0; v < kVoices; ++v) {
    voices[static_cast<std::size_t>(v)].pcm = Tone(sourceRate, sourceRate * 2, 0.01f + 0.003f * v);
    voices[static_cast<std::size_t>(v)].gain = 0.3f;
    voices[static_cast<std::size_t>(v)].loop = true;
    voices[static_cast<std::size_t>(v)].playing = true;
    MixerAttach(mixer, voices[static_cast<std::size_t>(v)]);
  }
  std::vector<std::int16_t> out(kCallbackFrames * kMixerChannels);
  for (auto _ : state) {
    for (int done = 0; done < kMixerRate; done += kCallbackFrames) {
      MixerRender(mixer, out.data(), std::min(kCallbackFrames, kMixerRate - done));
      benchmark::DoNotOptimize(out.data());
    }
  }
  state.counters["realtime_x"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_MixOneSecondEightVoices44100(benchmark::State& state) {
  MixOneSecond(state, 44100);
}
void BM_MixOneSecondEightVoices48000(benchmark::State& state) {
  MixOneSecond(state, 48000);
}

BENCHMARK(BM_MixOneSecondEightVoices44100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MixOneSecondEightVoices48000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorin
