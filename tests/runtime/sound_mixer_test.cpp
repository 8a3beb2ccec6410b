#include "runtime/sound_mixer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace quorin {
namespace {

std::shared_ptr<PcmData> Pcm(int channels, int rate, std::vector<std::int16_t> samples) {
  auto pcm = std::make_shared<PcmData>();
  pcm->channels = channels;
  pcm->rate = rate;
  pcm->frames = samples.size() / static_cast<std::size_t>(channels);
  pcm->samples = std::move(samples);
  return pcm;
}

Voice Playing(std::shared_ptr<PcmData> pcm, float gain = 1.0f, bool loop = false) {
  Voice v;
  v.pcm = std::move(pcm);
  v.gain = gain;
  v.playing = true;
  v.loop = loop;
  return v;
}

std::vector<std::int16_t> Render(Mixer& mixer, int frames) {
  std::vector<std::int16_t> out(static_cast<std::size_t>(frames * mixer.format.channels), 1234);
  MixerRender(mixer, out.data(), frames);
  return out;
}

TEST(Mixer, MonoGoesToBothChannelsScaledByGain) {
  Mixer mixer;
  Voice v = Playing(Pcm(1, 48000, {1000, -2000, 3000}), 0.5f);
  MixerAttach(mixer, v);
  EXPECT_EQ(Render(mixer, 4), (std::vector<std::int16_t>{500, 500, -1000, -1000, 1500, 1500, 0, 0}));
  EXPECT_FALSE(v.playing);
  EXPECT_EQ(v.position, 0u) << "a finished voice is rewound";
}

TEST(Mixer, VoicesSumAndSaturateAtFullScale) {
  Mixer mixer;
  Voice a = Playing(Pcm(2, 48000, {30000, -30000, 100, -100}));
  Voice b = Playing(Pcm(2, 48000, {10000, -10000, 200, -200}));
  Voice idle = Playing(Pcm(1, 48000, {5000, 5000}));
  idle.playing = false;
  MixerAttach(mixer, a);
  MixerAttach(mixer, b);
  MixerAttach(mixer, b);  // attaching twice mixes once
  MixerAttach(mixer, idle);
  EXPECT_EQ(Render(mixer, 2), (std::vector<std::int16_t>{32767, -32768, 300, -300}));
  MixerDetach(mixer, b);
  a.playing = true;
  a.position = 0;
  EXPECT_EQ(Render(mixer, 1), (std::vector<std::int16_t>{30000, -30000}));
}

TEST(Mixer, MonoAndMultichannelDevices) {
  Mixer mono;
  mono.format = AudioFormat{48000, 1};
  Voice v = Playing(Pcm(2, 48000, {1000, 3000}));
  MixerAttach(mono, v);
  EXPECT_EQ(Render(mono, 2), (std::vector<std::int16_t>{2000, 0}));

  Mixer surround;
  surround.format = AudioFormat{48000, 6};
  Voice w = Playing(Pcm(2, 48000, {1000, 3000}));
  MixerAttach(surround, w);
  EXPECT_EQ(Render(surround, 1), (std::vector<std::int16_t>{1000, 3000, 0, 0, 0, 0}));
}

TEST(Mixer, LoopsWrapAcrossRenderCalls) {
  Mixer mixer;
  mixer.format = AudioFormat{48000, 1};
  Voice v = Playing(Pcm(1, 48000, {1, 2, 3}), 1.0f, true);
  MixerAttach(mixer, v);
  EXPECT_EQ(Render(mixer, 4), (std::vector<std::int16_t>{1, 2, 3, 1}));
  EXPECT_EQ(Render(mixer, 4), (std::vector<std::int16_t>{2, 3, 1, 2}));
  EXPECT_TRUE(v.playing);
}

TEST(Mixer, ResamplesToTheDeviceRateByInterpolation) {
  Mixer mixer;
  mixer.format = AudioFormat{48000, 1};
  // Half the device rate: every source frame lasts two output frames.
  Voice half = Playing(Pcm(1, 24000, {0, 1000, 2000}));
  MixerAttach(mixer, half);
  EXPECT_EQ(Render(mixer, 7), (std::vector<std::int16_t>{0, 500, 1000, 1500, 2000, 2000, 0}));
  MixerDetach(mixer, half);

  // 72 frames at 44100 Hz last 72 * 48000 / 44100 = 78.4 device frames.
  Voice click = Playing(Pcm(1, 44100, std::vector<std::int16_t>(72, 800)));
  MixerAttach(mixer, click);
  const std::vector<std::int16_t> out = Render(mixer, 100);
  int played = 0;
  for (std::int16_t s : out) played += s != 0;
  EXPECT_EQ(played, 79);
  EXPECT_EQ(out[0], 800);
  EXPECT_EQ(out[78], 800);
}

TEST(Mixer, LongRendersCrossTheInternalBlock) {
  Mixer mixer;
  std::vector<std::int16_t> ramp(1000);
  for (int i = 0; i < 1000; ++i) ramp[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(i);
  Voice v = Playing(Pcm(1, 48000, ramp));
  MixerAttach(mixer, v);
  const std::vector<std::int16_t> out = Render(mixer, 1200);
  for (int i = 0; i < 1200; ++i) {
    ASSERT_EQ(out[static_cast<std::size_t>(2 * i)], i < 1000 ? i : 0) << i;
  }
}

}  // namespace
}  // namespace quorin
