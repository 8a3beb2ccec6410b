// The embedded sound effects, checked as the game receives them: any set of
// eighteen files, generated or made by hand, has to pass these.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "runtime/embedded.h"
#include "flow/sound_cues.h"
#include "runtime/null/audio_null.h"
#include "runtime/sound.h"
#include "tools/soundgen/codec.h"
#include "tools/soundgen/level.h"

namespace quorin {
namespace {

constexpr int kSoundCount = 18;
constexpr int kWaveId = 1;
constexpr int kLoopId = 6;
constexpr int kRate = 44100;
constexpr double kLengthTolerance = 0.25;
constexpr std::size_t kWaveFileBytes = 188;
constexpr std::size_t kWaveDataBytes = 144;
constexpr int kFullScale = 32767;
// No effect may stand out by more than this above the typical one.
constexpr double kLoudnessSpreadDb = 6.0;

// Nominal length of each id in samples at 44100 Hz.
constexpr std::array<std::size_t, kSoundCount> kLengths = {145287, 72,   49261, 49451, 5343,  137165,
                                                           109603, 5150, 8533,  13863, 3721,  32157,
                                                           36035,  4784, 7316,  19408, 24311, 2552};

struct Decoded {
  bool ok = false;
  int channels = 0;
  int rate = 0;
  std::vector<std::int16_t> samples;
};

// The samples of an embedded sound as the game plays them: decoded by the
// game's own sound layer, the way start-up loads them.
Decoded DecodeEmbeddedSound(int id) {
  static const SoundSystem* const loaded = [] {
    static NullAudioDevice device;
    static SoundSystem sound;
    SoundInit(sound, &device);
    LoadEmbeddedSounds(sound);
    return &sound;
  }();
  Decoded out;
  const Sound* s = SoundFind(*loaded, id);
  if (!s || !s->voice.pcm) return out;
  out.ok = true;
  out.channels = s->voice.pcm->channels;
  out.rate = s->voice.pcm->rate;
  out.samples = s->voice.pcm->samples;
  return out;
}

std::uint32_t Le32(std::span<const unsigned char> b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::uint32_t Le16(std::span<const unsigned char> b, std::size_t at) {
  return b[at] | (b[at + 1] << 8);
}

TEST(SoundContract, EveryIdIsEmbeddedInItsFormat) {
  for (int id = 0; id < kSoundCount; ++id) {
    SCOPED_TRACE(id);
    const EmbeddedFile* file = FindEmbeddedFile(SoundFileName(id));
    ASSERT_NE(file, nullptr) << SoundFileName(id);
    ASSERT_GE(file->bytes.size(), 4u);
    const std::string magic(file->bytes.begin(), file->bytes.begin() + 4);
    EXPECT_EQ(magic, id == kWaveId ? "RIFF" : "OggS");
  }
}

TEST(SoundContract, EverySoundDecodesToMono44100WithinAQuarterOfItsLength) {
  for (int id = 0; id < kSoundCount; ++id) {
    SCOPED_TRACE(id);
    const Decoded d = DecodeEmbeddedSound(id);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.channels, 1);
    EXPECT_EQ(d.rate, kRate);
    const double nominal = static_cast<double>(kLengths[static_cast<std::size_t>(id)]);
    EXPECT_GE(static_cast<double>(d.samples.size()), nominal * (1.0 - kLengthTolerance));
    EXPECT_LE(static_cast<double>(d.samples.size()), nominal * (1.0 + kLengthTolerance));
  }
}

TEST(SoundContract, FootstepIsA188ByteWaveOf72Samples) {
  const EmbeddedFile* file = FindEmbeddedFile(SoundFileName(kWaveId));
  ASSERT_NE(file, nullptr);
  const auto b = file->bytes;
  ASSERT_EQ(b.size(), kWaveFileBytes);
  EXPECT_EQ(Le32(b, 4), kWaveFileBytes - 8);  // RIFF size
  EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(Le16(b, 20), 1u);      // PCM
  EXPECT_EQ(Le16(b, 22), 1u);      // mono
  EXPECT_EQ(Le32(b, 24), 44100u);  // rate
  EXPECT_EQ(Le16(b, 34), 16u);     // bits
  EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
  EXPECT_EQ(Le32(b, 40), kWaveDataBytes);
  EXPECT_EQ(DecodeEmbeddedSound(kWaveId).samples.size(), kWaveDataBytes / 2);
}

TEST(SoundContract, JetThrustLoopsWithoutAStepAtTheSeam) {
  const Decoded d = DecodeEmbeddedSound(kLoopId);
  ASSERT_TRUE(d.ok);
  ASSERT_GT(d.samples.size(), 2u);
  int largestStep = 0;
  for (std::size_t i = 1; i < d.samples.size(); ++i) {
    largestStep = std::max(largestStep, std::abs(d.samples[i] - d.samples[i - 1]));
  }
  EXPECT_LE(std::abs(d.samples.front() - d.samples.back()), largestStep);
}

TEST(SoundContract, NoSampleReachesFullScale) {
  for (int id = 0; id < kSoundCount; ++id) {
    SCOPED_TRACE(id);
    const Decoded d = DecodeEmbeddedSound(id);
    ASSERT_TRUE(d.ok);
    for (std::int16_t s : d.samples) ASSERT_LT(std::abs(static_cast<int>(s)), kFullScale);
  }
}

TEST(SoundContract, NoEffectIsMuchLouderThanTheTypicalOne) {
  std::vector<double> loudness;
  for (int id = 0; id < kSoundCount; ++id) {
    const Decoded d = DecodeEmbeddedSound(id);
    ASSERT_TRUE(d.ok);
    soundgen::Signal s;
    for (std::int16_t v : d.samples) s.push_back(static_cast<float>(v) / kFullScale);
    loudness.push_back(soundgen::Loudness(s));
  }
  std::vector<double> sorted = loudness;
  std::sort(sorted.begin(), sorted.end());
  const double median = sorted[sorted.size() / 2];
  for (int id = 0; id < kSoundCount; ++id) {
    EXPECT_LE(loudness[static_cast<std::size_t>(id)], median + kLoudnessSpreadDb) << "id " << id;
  }
}

}  // namespace
}  // namespace quorin
