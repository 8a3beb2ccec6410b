#include "flow/sound_cues.h"

#include <cstdio>

#include "flow/game.h"
#include "runtime/embedded.h"

namespace quorin {

namespace {
// The sound layer's scale is logarithmic: 49 is about 6 dB down, 2 about 34.
constexpr int kVolumePercent[] = {0, 2, 5, 15, 49};
}  // namespace

std::string SoundFileName(int id) {
  char name[32];
  std::snprintf(name, sizeof name, "sounds/%02d.%s", id, id == kSoundFootstep ? "wav" : "ogg");
  return name;
}

void LoadEmbeddedSounds(SoundSystem& sound) {
  for (int id = 0; id < kSoundEffectCount; ++id) {
    if (const EmbeddedFile* file = FindEmbeddedFile(SoundFileName(id))) {
      SoundLoadFromMemory(sound, id, file->bytes.data(), file->bytes.size());
    }
  }
}

int VolumePercent(std::int32_t audioVolume) {
  if (audioVolume < 0 || audioVolume >= static_cast<std::int32_t>(std::size(kVolumePercent))) return 0;
  return kVolumePercent[audioVolume];
}

void ApplyVolume(Game& game) {
  const int percent = VolumePercent(game.settings.AudioVolume);
  for (int id = 0; id <= kSoundVolumeLastId; ++id) {
    if (SoundExists(game.sound, id)) SoundSetVolume(game.sound, id, percent);
  }
}

void StartSoundCue(Game& game, std::int32_t id, std::int32_t flags) {
  if (id >= 0 && id < 32) game.flow.soundsStarted |= 1u << id;
  if (flags == 0) SoundStart(game.sound, id);
  else SoundStartEx(game.sound, id, flags);
}

}  // namespace quorin
