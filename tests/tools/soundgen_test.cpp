#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "tools/soundgen/build_files.h"
#include "tools/soundgen/codec.h"
#include "tools/soundgen/level.h"
#include "tools/soundgen/sounds.h"
#include "tools/soundgen/synth.h"
#include "tools/soundgen/waveform_png.h"

namespace quorin::soundgen {
namespace {

Signal SineWave(double hz, double amplitude, std::size_t n) {
  Signal s(n);
  for (std::size_t i = 0; i < n; ++i)
    s[i] = static_cast<float>(amplitude * std::sin(2.0 * kPi * hz * i / kSampleRate));
  return s;
}

double Rms(const Signal& s) {
  double sum = 0.0;
  for (float v : s) sum += static_cast<double>(v) * v;
  return std::sqrt(sum / static_cast<double>(s.size()));
}

// --- Oscillators and noise ----------------------------------------------------

TEST(Oscillator, DropsHarmonicsThatWouldFoldBackAsAliases) {
  // At 7 kHz only the fundamental of a square lies below the cut-off, so
  // the wave must come out as a pure sine of the fundamental's amplitude.
  Oscillator square(Wave::kSquare);
  Signal s(kSampleRate / 10);
  for (float& v : s) v = square.Next(7000.0);
  EXPECT_NEAR(Rms(s), 4.0 / kPi / std::sqrt(2.0), 1e-3);
}

TEST(Oscillator, LowSawMatchesTheIdealRamp) {
  constexpr double kHz = 100.0;
  Oscillator saw(Wave::kSaw);
  double error = 0.0;
  const std::size_t n = kSampleRate / 10;
  for (std::size_t i = 0; i < n; ++i) {
    const double phase = std::fmod(kHz * static_cast<double>(i) / kSampleRate, 1.0);
    const double ideal = 2.0 * phase - 1.0;
    error += std::abs(saw.Next(kHz) - ideal);
  }
  // Band-limiting only rounds the jumps: small average error.
  EXPECT_LT(error / static_cast<double>(n), 0.03);
}

TEST(Noise, SameSeedSameSequenceInRange) {
  Noise a(1234), b(1234), c(4321);
  bool differs = false;
  double sum = 0.0;
  constexpr int kDraws = 100000;
  for (int i = 0; i < kDraws; ++i) {
    const float x = a.Next();
    ASSERT_EQ(x, b.Next());
    ASSERT_GE(x, -1.0f);
    ASSERT_LT(x, 1.0f);
    differs |= x != c.Next();
    sum += x;
  }
  EXPECT_TRUE(differs);
  EXPECT_NEAR(sum / kDraws, 0.0, 0.01);
}

TEST(Fades, StartAndEndExactlyAtZeroAndLeaveTheMiddle) {
  Signal s(100, 1.0f);
  FadeIn(s, 10);
  FadeOut(s, 10);
  EXPECT_EQ(s.front(), 0.0f);
  EXPECT_EQ(s.back(), 0.0f);
  EXPECT_EQ(s[50], 1.0f);
  for (std::size_t i = 1; i < 10; ++i) EXPECT_GE(s[i], s[i - 1]);
  Signal tiny(3, 1.0f);
  FadeOut(tiny, 10);  // longer than the signal
  EXPECT_EQ(tiny.back(), 0.0f);
}

TEST(Breakpoints, InterpolatesAndHoldsTheEnds) {
  const std::vector<Point> env = {{0.1, 0.0}, {0.2, 1.0}, {0.4, 0.5}};
  EXPECT_DOUBLE_EQ(Breakpoints(0.0, env), 0.0);
  EXPECT_DOUBLE_EQ(Breakpoints(0.15, env), 0.5);
  EXPECT_DOUBLE_EQ(Breakpoints(0.3, env), 0.75);
  EXPECT_DOUBLE_EQ(Breakpoints(9.0, env), 0.5);
}

// --- Levels -------------------------------------------------------------------

TEST(Loudness, FollowsLevelAndCountsShortSoundsAsQuieter) {
  const Signal tone = SineWave(1000.0, 0.5, kSampleRate / 2);
  const Signal half = SineWave(1000.0, 0.25, kSampleRate / 2);
  EXPECT_NEAR(Loudness(tone) - Loudness(half), 20.0 * std::log10(2.0), 0.05);
  // 10 ms in a 100 ms window: a tenth of the energy.
  const Signal blip = SineWave(1000.0, 0.5, kSampleRate / 100);
  EXPECT_NEAR(Loudness(tone) - Loudness(blip), 10.0, 0.5);
  EXPECT_LT(Loudness(Signal(100, 0.0f)), -100.0);
}

TEST(Loudness, MatchingNeverPushesThePeakOverTheLimit) {
  Signal spike(kSampleRate / 5, 0.0f);
  spike[100] = 0.01f;  // quiet, but all peak: matching would need huge gain
  MatchLoudness(spike, -10.0, -2.0);
  EXPECT_NEAR(Peak(spike), FromDb(-2.0), 1e-6);
  Signal tone = SineWave(440.0, 0.1, kSampleRate / 2);
  MatchLoudness(tone, -12.0, -1.0);
  EXPECT_NEAR(Loudness(tone), -12.0, 0.01);
}

// --- File formats -------------------------------------------------------------

TEST(Wave, SeventyTwoSamplesMakeA188ByteFileThatReadsBack) {
  std::vector<std::int16_t> samples(72);
  for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<std::int16_t>(i * 900 - 32000);
  const Bytes file = EncodeWave(samples);
  EXPECT_EQ(file.size(), 188u);
  const DecodedSound d = DecodeWave(file);
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.channels, 1);
  EXPECT_EQ(d.rate, kSampleRate);
  EXPECT_EQ(d.samples, samples);
}

TEST(Wave, RejectsTruncatedAndForeignData) {
  const Bytes file = EncodeWave(std::vector<std::int16_t>(72, 5));
  EXPECT_FALSE(DecodeWave(std::span(file).first(100)).ok);  // data chunk cut short
  EXPECT_FALSE(DecodeWave(std::span(file).first(8)).ok);
  Bytes foreign = file;
  foreign[8] = 'X';
  EXPECT_FALSE(DecodeWave(foreign).ok);
}

TEST(Pcm16, RoundsAndClampsAtFullScale) {
  const auto pcm = ToPcm16({0.0f, 0.5f, -0.5f, 1.5f, -1.5f});
  EXPECT_EQ(pcm, (std::vector<std::int16_t>{0, 16384, -16384, 32767, -32767}));
}

TEST(Vorbis, RoundTripKeepsTheExactLengthAndTheLevel) {
  // Lengths off the encoder's block sizes must come back sample-exact too.
  for (std::size_t n : {std::size_t{1}, std::size_t{1025}, std::size_t{22050}}) {
    SCOPED_TRACE(n);
    const Signal tone = SineWave(1000.0, 0.5, n);
    const DecodedSound d = DecodeVorbis(EncodeVorbis(tone, kVorbisQuality, 7));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.channels, 1);
    EXPECT_EQ(d.rate, kSampleRate);
    ASSERT_EQ(d.samples.size(), n);
    if (n > 10000) {
      Signal back;
      for (std::int16_t v : d.samples) back.push_back(v / 32767.0f);
      EXPECT_NEAR(ToDb(Rms(back)), ToDb(Rms(tone)), 0.5);
    }
  }
}

TEST(Vorbis, RejectsDamagedStreams) {
  Bytes stream = EncodeVorbis(SineWave(500.0, 0.3, 4000), kVorbisQuality, 7);
  EXPECT_FALSE(DecodeVorbis(std::span(stream).first(20)).ok);
  stream[0] = 'X';
  EXPECT_FALSE(DecodeVorbis(stream).ok);
  EXPECT_FALSE(DecodeVorbis({}).ok);
}

// --- The effects --------------------------------------------------------------

TEST(SoundTable, NamesEveryIdInOrderWithOnlyTheFootstepAsWave) {
  const auto table = SoundTable();
  ASSERT_EQ(table.size(), static_cast<std::size_t>(kSoundCount));
  std::set<std::string> events;
  for (std::size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(table[i].id, static_cast<int>(i));
    char expected[32];
    std::snprintf(expected, sizeof expected, "sounds/%02zu.%s", i,
                  table[i].id == kWaveSoundId ? "wav" : "ogg");
    EXPECT_STREQ(table[i].file, expected);
    events.insert(table[i].event);
  }
  EXPECT_EQ(events.size(), table.size());
}

TEST(Effects, AreRepeatableFitTheirLengthAndStayUnderTheCeiling) {
  for (const SoundInfo& info : SoundTable()) {
    SCOPED_TRACE(info.id);
    const Signal s = MakeSound(info.id);
    ASSERT_EQ(s.size(), info.length);
    EXPECT_EQ(s, MakeSound(info.id));
    EXPECT_LE(Peak(s), FromDb(-1.0));
    if (info.id != kLoopSoundId) {
      EXPECT_EQ(s.back(), 0.0f) << "ends on a step";
      EXPECT_LT(std::abs(s.front()), 0.02f) << "starts on a step";
    }
  }
}

TEST(Effects, JetThrustSeamIsNoBiggerThanATypicalStep) {
  const Signal s = MakeSound(kLoopSoundId);
  double sum = 0.0;
  for (std::size_t i = 1; i < s.size(); ++i) sum += std::abs(s[i] - s[i - 1]);
  const double meanStep = sum / static_cast<double>(s.size() - 1);
  EXPECT_LT(std::abs(s.front() - s.back()), 2.0 * meanStep);
}

TEST(Effects, EncodingIsRepeatableAndKeepsDecodedPeaksUnderTheLimit) {
  constexpr int kShortEffect = 4;
  const Bytes a = BuildSoundFile(kShortEffect);
  EXPECT_EQ(a, BuildSoundFile(kShortEffect));
  const DecodedSound d = DecodeSoundFile(kShortEffect, a);
  ASSERT_TRUE(d.ok);
  EXPECT_LE(Measure(d.samples).peakDb, kDecodedPeakLimitDb);
}

// --- Waveform picture ---------------------------------------------------------

TEST(WaveformPicture, EveryLabelCharacterHasAGlyph) {
  EXPECT_EQ(Glyph('~'), nullptr);
  EXPECT_EQ(Glyph('a'), Glyph('A'));
  for (const SoundInfo& info : SoundTable()) {
    StripSound s{info.id, info.event, kSampleRate, std::vector<std::int16_t>(info.length), 0, 1};
    for (char c : StripLabel(s)) EXPECT_NE(Glyph(c), nullptr) << "'" << c << "' in " << info.event;
  }
}

TEST(WaveformPicture, WritesAPngOfOneStripPerSound) {
  std::vector<StripSound> sounds;
  for (int id = 0; id < 3; ++id) {
    std::vector<std::int16_t> samples(1000);
    for (std::size_t i = 0; i < samples.size(); ++i)
      samples[i] = static_cast<std::int16_t>((i % 50) * 600 - 15000);
    sounds.push_back({id, "TEST", kSampleRate, samples, 0, 1});
  }
  const RgbImage one = RenderWaveforms({sounds[0]});
  const RgbImage three = RenderWaveforms(sounds);
  EXPECT_EQ(one.width, three.width);
  EXPECT_GT(three.height, 2 * one.height);

  const auto path = std::filesystem::temp_directory_path() / "quorin_soundgen_test.png";
  ASSERT_TRUE(WritePng(path.string(), three));
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_NE(png_image_begin_read_from_file(&image, path.string().c_str()), 0);
  EXPECT_EQ(static_cast<int>(image.width), three.width);
  EXPECT_EQ(static_cast<int>(image.height), three.height);
  png_image_free(&image);
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace quorin::soundgen
