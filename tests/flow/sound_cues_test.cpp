#include "flow/sound_cues.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quorin
