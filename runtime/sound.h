// The sound layer: sounds decoded whole at start-up, each in its own playback
// buffer addressed by a small identifier, started, stopped and given a volume
// by the game on the main thread and mixed by our mixer on the audio device's
// thread. Start-up: SoundInit, then SoundDeviceOpen (the probe whose failure
// ends the game with "Couldn't create sound buffer"), then the loads.
// Exit: SoundShutdown, which must run before the SoundSystem or the device
// goes away.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

#include "runtime/audio_device.h"
#include "runtime/sound_decode.h"
#include "runtime/sound_mixer.h"

namespace quorin {

inline constexpr int kVolumeSteps = 101;  // percent 0..100
inline constexpr int kVolumeSilent = -10000;
// SoundStartEx flags.
inline constexpr int kSoundLoop = 1;
inline constexpr int kSoundNewInstance = 2;
// Sound tables grow this many identifiers at a time.
inline constexpr int kSoundTableGrowth = 64;
// Loading with identifier -1 returns a handle from here up; identifiers below
// it address the table.
inline constexpr int kSoundHandleBase = 1 << 24;

struct Sound {
  Voice voice;  // the sound's own buffer
  // Extra copies made by kSoundNewInstance starts; the game makes none.
  std::vector<std::unique_ptr<Voice>> instances;
  WaveFormat format;
  std::size_t bufferBytes = 0;  // the playback buffer's size in bytes
  int volume = 0;               // attenuation in hundredths of a decibel
  int initialVolume = 0;        // as the buffer was created
};

// Owned by the game; the device is the platform's. Not to be moved while the
// device is open (the device pulls from `mixer`).
struct SoundSystem {
  std::array<int, kVolumeSteps> volumeTable{};  // VolumeTable, by percent
  AudioDevice* device = nullptr;
  bool initialised = false;
  bool deviceOpen = false;
  Mixer mixer;
  std::vector<std::unique_ptr<Sound>> sounds;   // by identifier
  std::vector<std::unique_ptr<Sound>> handles;  // made for identifier -1
};

// Fills the volume table and takes the device. 1, or 0 without a device.
int SoundInit(SoundSystem& sound, AudioDevice* device);
// Opens the device at 48000 Hz, 2 channels, 16-bit (or what it offers).
// 1 on success, 0 when there is no usable output.
int SoundDeviceOpen(SoundSystem& sound);
// A RIFF WAVE or an Ogg Vorbis stream into a new buffer under id (replacing
// the sound there) or, for -1, under a new handle. Returns 1 (the handle for
// -1), or 0 when the data is refused; a refused load leaves id as it was.
int SoundLoadFromMemory(SoundSystem& sound, int id, const void* address, std::size_t size);
// The two halves of a load. SoundPrepare decodes into a sound not yet under
// any identifier (null when the data is refused); it touches no SoundSystem,
// so it may run on another thread. SoundInstall then puts it under id or a
// new handle exactly as SoundLoadFromMemory would; 0 for a null sound.
std::unique_ptr<Sound> SoundPrepare(const void* address, std::size_t size);
int SoundInstall(SoundSystem& sound, int id, std::unique_ptr<Sound> made);
// Restarts the sound from its beginning. 1 when it plays, 0 for an empty id.
int SoundStart(SoundSystem& sound, int id);
// flags: kSoundLoop, kSoundNewInstance (a further copy; the first keeps playing).
int SoundStartEx(SoundSystem& sound, int id, int flags);
// Stops and rewinds the sound (not its extra instances); -1 stops every sound.
void SoundStop(SoundSystem& sound, int id);
int SoundExists(const SoundSystem& sound, int id);
// percent clamped to 0..100, through the volume table; kept for later starts.
void SoundSetVolume(SoundSystem& sound, int id, int percent);
// Closes the device and frees every sound.
void SoundShutdown(SoundSystem& sound);
// The game has no music; its stop at exit does nothing.
void MusicStop();

// The sound under id or handle, or null.
const Sound* SoundFind(const SoundSystem& sound, int id);
// 1 while the sound's own buffer plays.
int SoundIsPlaying(SoundSystem& sound, int id);

}  // namespace quorin
