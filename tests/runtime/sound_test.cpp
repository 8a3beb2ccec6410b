#include "runtime/sound.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "runtime/null/audio_null.h"
#include "tests/runtime/sound_test_data.h"

namespace quorin {
namespace {

using test::Bytes;

// A sound layer on the null device, opened at 48 kHz stereo so that 48 kHz
// test sounds come out sample for sample.
struct SoundFixture : ::testing::Test {
  void SetUp() override {
    ASSERT_EQ(SoundInit(sound, &device), 1);
    ASSERT_EQ(SoundDeviceOpen(sound), 1);
  }
  void TearDown() override { SoundShutdown(sound); }

  int Load(int id, const Bytes& bytes) { return SoundLoadFromMemory(sound, id, bytes.data(), bytes.size()); }
  // Left channel of the next `frames` frames.
  std::vector<int> PullLeft(int frames) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * 2);
    device.Pull(out.data(), frames);
    std::vector<int> left;
    for (int i = 0; i < frames; ++i) left.push_back(out[static_cast<std::size_t>(2 * i)]);
    return left;
  }

  NullAudioDevice device;
  SoundSystem sound;
};

std::vector<std::int16_t> Ramp(int n) {
  std::vector<std::int16_t> samples;
  for (int i = 1; i <= n; ++i) samples.push_back(static_cast<std::int16_t>(i * 100));
  return samples;
}

int CountNonZero(const std::vector<int>& v) {
  int n = 0;
  for (int x : v) n += x != 0;
  return n;
}

TEST(SoundVolumeTable, MatchesTheLogarithmicScale) {
  NullAudioDevice device;
  SoundSystem sound;
  ASSERT_EQ(SoundInit(sound, &device), 1);
  EXPECT_EQ(sound.volumeTable[0], -10000);
  EXPECT_EQ(sound.volumeTable[100], 0);
  EXPECT_EQ(sound.volumeTable[1], -4000);
  EXPECT_EQ(sound.volumeTable[50], -603);
  // The game's four levels.
  EXPECT_EQ(sound.volumeTable[2], -3398);
  EXPECT_EQ(sound.volumeTable[5], -2603);
  EXPECT_EQ(sound.volumeTable[15], -1648);
  EXPECT_EQ(sound.volumeTable[49], -620);
  EXPECT_EQ(sound.volumeTable[10], -2000);
  for (int p = 1; p <= 100; ++p) EXPECT_GT(sound.volumeTable[p], sound.volumeTable[p - 1]) << p;
}

TEST(SoundStartUp, AFailingDeviceIsTheProbeFailure) {
  NullAudioDevice device;
  device.failOpen = true;
  SoundSystem sound;
  ASSERT_EQ(SoundInit(sound, &device), 1);
  EXPECT_EQ(SoundDeviceOpen(sound), 0);
  EXPECT_EQ(device.Wanted().rate, 48000);
  EXPECT_EQ(device.Wanted().channels, 2);
  SoundShutdown(sound);
}

TEST(SoundStartUp, TheMixerFollowsTheFormatTheDeviceGives) {
  NullAudioDevice device;
  device.offered = AudioFormat{44100, 1};
  SoundSystem sound;
  SoundInit(sound, &device);
  ASSERT_EQ(SoundDeviceOpen(sound), 1);
  EXPECT_EQ(sound.mixer.format.rate, 44100);
  EXPECT_EQ(sound.mixer.format.channels, 1);
  SoundShutdown(sound);
  EXPECT_FALSE(device.IsOpen());
}

TEST_F(SoundFixture, TheClickWaveLoadsItsDataChunk) {
  // 44-byte header and 72 mono 16-bit samples: the game's 188-byte click.
  const Bytes wave = test::Wave16(1, 44100, std::vector<std::int16_t>(72, 7));
  ASSERT_EQ(wave.size(), 188u);
  ASSERT_EQ(Load(1, wave), 1);
  const Sound* s = SoundFind(sound, 1);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->bufferBytes, 144u);
  EXPECT_EQ(s->format.channels, 1);
  EXPECT_EQ(s->format.rate, 44100);
  EXPECT_EQ(s->format.bitsPerSample, 16);
  EXPECT_EQ(s->voice.pcm->frames, 72u);
}

TEST_F(SoundFixture, WaveChunksBeforeDataAreSkippedAndTheWaveTagIsIgnored) {
  Bytes data;
  for (int i = 0; i < 6; ++i) test::PutU16(data, 1000);
  Bytes wave =
      test::Riff({{"fmt ", test::WaveFmtBody(2, 22050, 16)}, {"LIST", Bytes(13, 'x')}, {"data", data}});
  wave[8] = 'X';  // not "WAVE"
  ASSERT_EQ(Load(0, wave), 1);
  EXPECT_EQ(SoundFind(sound, 0)->bufferBytes, 12u);
  EXPECT_EQ(SoundFind(sound, 0)->voice.pcm->frames, 3u);
  // A longer fmt chunk moves the walk along by its own size.
  Bytes fmt = test::WaveFmtBody(1, 8000, 8);
  fmt.insert(fmt.end(), {0, 0});
  const Bytes eightBit = test::Riff({{"fmt ", fmt}, {"data", {128, 255, 0}}});
  ASSERT_EQ(Load(2, eightBit), 1);
  const auto& pcm = SoundFind(sound, 2)->voice.pcm->samples;
  EXPECT_EQ(pcm, (std::vector<std::int16_t>{0, 127 * 256, -128 * 256}));
}

TEST_F(SoundFixture, WaveRefusals) {
  const Bytes good = test::Wave16(1, 44100, Ramp(8));
  Bytes notFmt = good;
  notFmt[12] = 'x';
  EXPECT_EQ(Load(0, notFmt), 0) << "chunk at offset 12 is not fmt";
  const Bytes noData = test::Riff({{"fmt ", test::WaveFmtBody(1, 44100, 16)}, {"junk", Bytes(4, 0)}});
  EXPECT_EQ(Load(0, noData), 0) << "no data chunk";
  // A data chunk whose header runs past the given size is not found.
  EXPECT_EQ(SoundLoadFromMemory(sound, 0, good.data(), 40), 0);
  EXPECT_EQ(SoundLoadFromMemory(sound, 0, good.data(), 14), 0) << "too short for a fmt chunk";
  const Bytes shortFmt = test::Riff({{"fmt ", Bytes(8, 1)}, {"data", Bytes(4, 0)}});
  EXPECT_EQ(Load(0, shortFmt), 0) << "fmt chunk too small to hold a format";
  const Bytes floatWave = [] {
    Bytes fmt = test::WaveFmtBody(1, 44100, 32);
    fmt[0] = 3;
    return test::Riff({{"fmt ", fmt}, {"data", Bytes(8, 0)}});
  }();
  EXPECT_EQ(Load(0, floatWave), 0) << "not integer PCM";
  const Bytes empty = test::Riff({{"fmt ", test::WaveFmtBody(1, 44100, 16)}, {"data", {}}});
  EXPECT_EQ(Load(0, empty), 0) << "no sample at all";
  EXPECT_EQ(SoundLoadFromMemory(sound, 0, nullptr, 100), 0);
  EXPECT_EQ(Load(0, Bytes(300, 0x55)), 0) << "neither WAVE nor Ogg";
  EXPECT_EQ(SoundExists(sound, 0), 0);
}

TEST_F(SoundFixture, AWaveDataSizePastTheEndKeepsWhatIsThere) {
  Bytes wave = test::Wave16(1, 44100, Ramp(10));
  wave[40] = 0xFF;  // data size field: far more than the file holds
  wave[41] = 0xFF;
  ASSERT_EQ(Load(0, wave), 1);
  EXPECT_EQ(SoundFind(sound, 0)->bufferBytes, 20u);
}

TEST_F(SoundFixture, OggVorbisDecodesToTwoBytesPerMonoSample) {
  const Bytes ogg = test::EncodeOggVorbis(1, 44100, 145287);
  ASSERT_EQ(Load(0, ogg), 1);
  const Sound* s = SoundFind(sound, 0);
  EXPECT_EQ(s->bufferBytes, 290574u);
  EXPECT_EQ(s->format.channels, 1);
  EXPECT_EQ(s->format.rate, 44100);
  EXPECT_EQ(s->format.blockAlign, 2);
  EXPECT_EQ(s->format.byteRate, 88200);
  EXPECT_EQ(s->voice.pcm->frames, 145287u);
  int loud = 0;
  for (std::int16_t v : s->voice.pcm->samples) loud += std::abs(v) > 4000;
  EXPECT_GT(loud, 10000) << "the tone was decoded, not left silent";
}

TEST_F(SoundFixture, StereoOggAndACutStream) {
  const Bytes ogg = test::EncodeOggVorbis(2, 22050, 5000);
  ASSERT_EQ(Load(3, ogg), 1);
  EXPECT_EQ(SoundFind(sound, 3)->bufferBytes, 20000u);
  EXPECT_EQ(SoundFind(sound, 3)->format.blockAlign, 4);
  // Half a stream is either refused or decoded to what is there: never a crash.
  Load(4, Bytes(ogg.begin(), ogg.begin() + static_cast<long>(ogg.size() / 2)));
  Bytes corrupt = ogg;
  for (std::size_t i = corrupt.size() / 3; i < corrupt.size(); i += 7) corrupt[i] ^= 0x5A;
  Load(5, corrupt);
  EXPECT_EQ(Load(6, Bytes(ogg.begin(), ogg.begin() + 30)), 0);
}

TEST_F(SoundFixture, IdentifiersGrowReplaceAndHandOutHandles) {
  const Bytes a = test::Wave16(1, 48000, Ramp(4));
  const Bytes b = test::Wave16(1, 48000, Ramp(6));
  ASSERT_EQ(Load(70, a), 1);
  EXPECT_EQ(sound.sounds.size(), 128u);
  EXPECT_EQ(SoundExists(sound, 69), 0);
  EXPECT_EQ(SoundExists(sound, 500), 0);
  SoundStart(sound, 70);
  ASSERT_EQ(Load(70, b), 1);
  EXPECT_EQ(SoundFind(sound, 70)->voice.pcm->frames, 6u);
  EXPECT_EQ(sound.mixer.voices.size(), 1u) << "the replaced sound left the mixer";
  EXPECT_EQ(CountNonZero(PullLeft(8)), 0) << "a new buffer is not playing";
  // A refused load leaves the old sound in place.
  EXPECT_EQ(Load(70, Bytes(10, 0)), 0);
  EXPECT_EQ(SoundExists(sound, 70), 1);

  const int handle = Load(-1, a);
  ASSERT_GE(handle, kSoundHandleBase);
  EXPECT_EQ(SoundExists(sound, handle), 1);
  EXPECT_EQ(SoundStart(sound, handle), 1);
  EXPECT_EQ(PullLeft(4), (std::vector<int>{100, 200, 300, 400}));
  EXPECT_EQ(Load(-2, a), 0);
}

TEST_F(SoundFixture, APreparedSoundInstallsAsALoadWould) {
  const Bytes ogg = test::EncodeOggVorbis(1, 44100, 3000);
  std::unique_ptr<Sound> made = SoundPrepare(ogg.data(), ogg.size());
  ASSERT_NE(made, nullptr);
  ASSERT_EQ(Load(2, ogg), 1);
  const Sound& loaded = *SoundFind(sound, 2);
  ASSERT_EQ(SoundInstall(sound, 9, std::move(made)), 1);
  const Sound& installed = *SoundFind(sound, 9);
  EXPECT_EQ(installed.voice.pcm->samples, loaded.voice.pcm->samples);
  EXPECT_EQ(installed.bufferBytes, loaded.bufferBytes);
  EXPECT_EQ(installed.format.rate, loaded.format.rate);
  EXPECT_EQ(installed.volume, loaded.volume);
  EXPECT_EQ(sound.mixer.voices.size(), 2u) << "the installed sound joined the mixer";
  EXPECT_GE(SoundInstall(sound, -1, SoundPrepare(ogg.data(), ogg.size())), kSoundHandleBase);
}

TEST_F(SoundFixture, PrepareAndInstallRefusals) {
  const Bytes wave = test::Wave16(1, 48000, Ramp(4));
  EXPECT_EQ(SoundPrepare(nullptr, 10), nullptr);
  EXPECT_EQ(SoundPrepare(Bytes(10, 0).data(), 10), nullptr);
  EXPECT_EQ(SoundInstall(sound, 1, nullptr), 0);
  EXPECT_EQ(SoundInstall(sound, -2, SoundPrepare(wave.data(), wave.size())), 0);
  EXPECT_EQ(SoundInstall(sound, kSoundHandleBase, SoundPrepare(wave.data(), wave.size())), 0);
  EXPECT_EQ(SoundInstall(sound, kSoundHandleBase - 1, SoundPrepare(wave.data(), wave.size())), 1);
  // A sound layer that never started takes nothing, even a good sound.
  SoundSystem idle;
  EXPECT_EQ(SoundInstall(idle, 1, SoundPrepare(wave.data(), wave.size())), 0);
  EXPECT_EQ(SoundExists(idle, 1), 0);
}

TEST_F(SoundFixture, EmptyIdentifiersDoNothing) {
  EXPECT_EQ(SoundStart(sound, 3), 0);
  EXPECT_EQ(SoundStartEx(sound, 3, kSoundLoop), 0);
  EXPECT_EQ(SoundStart(sound, -1), 0);
  EXPECT_EQ(SoundStart(sound, kSoundHandleBase + 5), 0);
  SoundStop(sound, 3);
  SoundStop(sound, -1);
  SoundSetVolume(sound, 3, 50);
  EXPECT_EQ(SoundExists(sound, 3), 0);
  MusicStop();
}

TEST_F(SoundFixture, StartingAPlayingSoundRestartsItFromTheBeginning) {
  ASSERT_EQ(Load(0, test::Wave16(1, 48000, Ramp(10))), 1);
  ASSERT_EQ(SoundStart(sound, 0), 1);
  EXPECT_EQ(PullLeft(3), (std::vector<int>{100, 200, 300}));
  ASSERT_EQ(SoundStart(sound, 0), 1);
  EXPECT_EQ(PullLeft(3), (std::vector<int>{100, 200, 300}));
  EXPECT_EQ(CountNonZero(PullLeft(20)), 7) << "plays to its end once, no overlap";
  EXPECT_EQ(SoundIsPlaying(sound, 0), 0);
}

TEST_F(SoundFixture, LoopThenRestartWithoutLoopPlaysOnce) {
  ASSERT_EQ(Load(6, test::Wave16(1, 48000, Ramp(10))), 1);
  ASSERT_EQ(SoundStartEx(sound, 6, kSoundLoop), 1);
  const std::vector<int> looped = PullLeft(25);
  EXPECT_EQ(CountNonZero(looped), 25);
  EXPECT_EQ(looped[10], 100) << "wrapped to the start";
  ASSERT_EQ(SoundStart(sound, 6), 1);
  const std::vector<int> once = PullLeft(30);
  EXPECT_EQ(once[0], 100);
  EXPECT_EQ(CountNonZero(once), 10);
  EXPECT_EQ(SoundIsPlaying(sound, 6), 0);
}

TEST_F(SoundFixture, StopAllSilencesEverySoundAndLeavesThemReady) {
  ASSERT_EQ(Load(0, test::Wave16(1, 48000, Ramp(50))), 1);
  ASSERT_EQ(Load(1, test::Wave16(1, 48000, Ramp(50))), 1);
  SoundStartEx(sound, 0, kSoundLoop);
  SoundStart(sound, 1);
  PullLeft(5);
  SoundStop(sound, -1);
  EXPECT_EQ(SoundIsPlaying(sound, 0), 0);
  EXPECT_EQ(SoundIsPlaying(sound, 1), 0);
  EXPECT_EQ(CountNonZero(PullLeft(10)), 0);
  SoundStart(sound, 1);
  EXPECT_EQ(PullLeft(2), (std::vector<int>{100, 200}));
  SoundStop(sound, 1);
  EXPECT_EQ(CountNonZero(PullLeft(10)), 0);
}

TEST_F(SoundFixture, VolumeIsClampedAndStaysForLaterStarts) {
  ASSERT_EQ(Load(0, test::Wave16(1, 48000, std::vector<std::int16_t>(40, 10000))), 1);
  SoundSetVolume(sound, 0, 150);
  EXPECT_EQ(SoundFind(sound, 0)->volume, 0);
  SoundSetVolume(sound, 0, 1);
  EXPECT_EQ(SoundFind(sound, 0)->volume, -4000);
  SoundSetVolume(sound, 0, 50);
  EXPECT_EQ(SoundFind(sound, 0)->volume, -603);
  SoundStart(sound, 0);
  // 10^(-603 / 2000) = 0.49946
  EXPECT_EQ(PullLeft(1)[0], 4995);
  SoundStop(sound, 0);
  SoundStart(sound, 0);
  EXPECT_EQ(PullLeft(1)[0], 4995);
  SoundSetVolume(sound, 0, -20);
  EXPECT_EQ(SoundFind(sound, 0)->volume, -10000);
  EXPECT_EQ(CountNonZero(PullLeft(10)), 0) << "volume 0 is silent";
  EXPECT_EQ(SoundIsPlaying(sound, 0), 1) << "but still playing";
}

TEST_F(SoundFixture, AnExtraInstancePlaysBesideTheFirstAtTheCreatedVolume) {
  ASSERT_EQ(Load(0, test::Wave16(1, 48000, Ramp(10))), 1);
  SoundSetVolume(sound, 0, 0);
  SoundStart(sound, 0);
  PullLeft(4);
  ASSERT_EQ(SoundStartEx(sound, 0, kSoundNewInstance), 1);
  EXPECT_EQ(PullLeft(3), (std::vector<int>{100, 200, 300})) << "instance at full volume, first one silent";
  EXPECT_EQ(SoundIsPlaying(sound, 0), 1);
  SoundStop(sound, 0);
  EXPECT_EQ(PullLeft(1)[0], 400) << "stop leaves instances alone";
  PullLeft(10);
  ASSERT_EQ(SoundStartEx(sound, 0, kSoundNewInstance), 1);
  EXPECT_EQ(SoundFind(sound, 0)->instances.size(), 1u) << "the finished instance was released";
}

}  // namespace
}  // namespace quorin
