// The SDL audio output on SDL's dummy driver: no sound card needed.
#include <gtest/gtest.h>

#include <cstdlib>

#include "runtime/sdl/audio_sdl.h"
#include "runtime/sound.h"
#include "tests/runtime/sound_test_data.h"

namespace quorin {
namespace {

TEST(SdlAudio, OpensTheDummyDeviceAndPlaysUnderItsLock) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  auto device = CreateSdlAudioDevice();
  SoundSystem sound;
  ASSERT_EQ(SoundInit(sound, device.get()), 1);
  ASSERT_EQ(SoundDeviceOpen(sound), 1);
  EXPECT_GT(sound.mixer.format.rate, 0);
  EXPECT_GT(sound.mixer.format.channels, 0);
  const test::Bytes wave = test::Wave16(1, 44100, std::vector<std::int16_t>(4410, 3000));
  ASSERT_EQ(SoundLoadFromMemory(sound, 0, wave.data(), wave.size()), 1);
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ(SoundStartEx(sound, 0, i & 1), 1);
    SoundSetVolume(sound, 0, i);
    SoundStop(sound, i % 3 == 0 ? -1 : 0);
  }
  ASSERT_EQ(SoundLoadFromMemory(sound, 0, wave.data(), wave.size()), 1);
  SoundStart(sound, 0);
  SoundShutdown(sound);
  EXPECT_EQ(SoundExists(sound, 0), 0);
  // Opening again after a shutdown works (a display toggle never needs it,
  // but a second run of start-up in one process does).
  ASSERT_EQ(SoundInit(sound, device.get()), 1);
  EXPECT_EQ(SoundDeviceOpen(sound), 1);
  SoundShutdown(sound);
}

}  // namespace
}  // namespace quorin
