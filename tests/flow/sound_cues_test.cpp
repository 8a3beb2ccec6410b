#include "flow/sound_cues.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "flow/game.h"
#include "runtime/null/audio_null.h"

namespace quorin {
namespace {

TEST(SoundCues, VolumeStepsAndOutOfRangeSilence) {
  EXPECT_EQ(VolumePercent(0), 0);
  EXPECT_EQ(VolumePercent(1), 2);
  EXPECT_EQ(VolumePercent(2), 5);
  EXPECT_EQ(VolumePercent(3), 15);
  EXPECT_EQ(VolumePercent(4), 49);
  EXPECT_EQ(VolumePercent(5), 0);
  EXPECT_EQ(VolumePercent(7), 0);
  EXPECT_EQ(VolumePercent(-1), 0);
}

TEST(SoundCues, EverySoundLoadsAndTakesTheVolume) {
  NullAudioDevice device;
  Game game;
  ASSERT_EQ(SoundInit(game.sound, &device), 1);
  LoadEmbeddedSounds(game.sound);
  for (int id = 0; id < kSoundEffectCount; ++id) EXPECT_EQ(SoundExists(game.sound, id), 1) << id;
  EXPECT_EQ(SoundExists(game.sound, kSoundEffectCount), 0);

  game.settings.AudioVolume = 3;
  ApplyVolume(game);
  for (int id = 0; id < kSoundEffectCount; ++id) EXPECT_EQ(SoundFind(game.sound, id)->volume, -1648) << id;

  game.settings.AudioVolume = 7;  // hand-edited: silent, like OFF
  ApplyVolume(game);
  EXPECT_EQ(SoundFind(game.sound, kSoundHover)->volume, -10000);
  EXPECT_EQ(SoundStart(game.sound, kSoundHover), 1);  // silent sounds still start
  SoundShutdown(game.sound);
}

TEST(SoundCues, DecodingOnAnotherThreadThenInstallingEqualsLoadingInPlace) {
  NullAudioDevice device;
  SoundSystem inPlace, apart;
  ASSERT_EQ(SoundInit(inPlace, &device), 1);
  ASSERT_EQ(SoundInit(apart, &device), 1);
  LoadEmbeddedSounds(inPlace);
  std::vector<std::unique_ptr<Sound>> decoded;
  std::thread worker([&] { decoded = DecodeEmbeddedSounds(); });
  worker.join();
  ASSERT_EQ(decoded.size(), static_cast<std::size_t>(kSoundEffectCount));
  InstallEmbeddedSounds(apart, std::move(decoded));
  for (int id = 0; id < kSoundEffectCount; ++id) {
    const Sound* a = SoundFind(inPlace, id);
    const Sound* b = SoundFind(apart, id);
    ASSERT_TRUE(a && b) << id;
    EXPECT_EQ(a->voice.pcm->samples, b->voice.pcm->samples) << id;
    EXPECT_EQ(a->format.channels, b->format.channels) << id;
    EXPECT_EQ(a->bufferBytes, b->bufferBytes) << id;
  }
  SoundShutdown(inPlace);
  SoundShutdown(apart);
}

TEST(SoundCues, ASoundThatDidNotDecodeIsLeftOut) {
  NullAudioDevice device;
  SoundSystem sound;
  ASSERT_EQ(SoundInit(sound, &device), 1);
  std::vector<std::unique_ptr<Sound>> decoded = DecodeEmbeddedSounds();
  decoded[kSoundJump].reset();
  InstallEmbeddedSounds(sound, std::move(decoded));
  EXPECT_EQ(SoundExists(sound, kSoundJump), 0);
  EXPECT_EQ(SoundExists(sound, kSoundJump - 1), 1);
  EXPECT_EQ(SoundExists(sound, kSoundJump + 1), 1);
  EXPECT_EQ(SoundStart(sound, kSoundJump), 0);
  SoundShutdown(sound);
}

}  // namespace
}  // namespace quorin
