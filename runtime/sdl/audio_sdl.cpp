#include "runtime/sdl/audio_sdl.h"

#include <SDL.h>

#include "runtime/sound_mixer.h"

namespace quorin {
namespace {

// Small enough for prompt starts, large enough not to underrun when the main
// thread is busy (about 21 ms at 48 kHz).
constexpr Uint16 kCallbackFrames = 1024;

class SdlAudioDevice : public AudioDevice {
 public:
  ~SdlAudioDevice() override { Close(); }

  bool Open(const AudioFormat& wanted, Mixer& mixer) override {
    Close();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    subsystem_ = true;
    SDL_AudioSpec want{};
    want.freq = wanted.rate;
    want.channels = static_cast<Uint8>(wanted.channels);
    want.format = AUDIO_S16SYS;
    want.samples = kCallbackFrames;
    want.callback = &SdlAudioDevice::Callback;
    want.userdata = &mixer;
    SDL_AudioSpec have{};
    // The rate and channel count may differ (the mixer follows them); the
    // sample format may not, so SDL converts to the device when it must.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have,
                                  SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (device_ == 0) {
      Close();
      return false;
    }
    // The device starts paused, so the mixer format is set before any pull.
    mixer.format = AudioFormat{have.freq, have.channels};
    SDL_PauseAudioDevice(device_, 0);
    return true;
  }

  void Close() override {
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    device_ = 0;
    if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    subsystem_ = false;
  }

  void Lock() override {
    if (device_ != 0) SDL_LockAudioDevice(device_);
  }
  void Unlock() override {
    if (device_ != 0) SDL_UnlockAudioDevice(device_);
  }

 private:
  static void SDLCALL Callback(void* userdata, Uint8* stream, int length) {
    auto& mixer = *static_cast<Mixer*>(userdata);
    const int frameBytes = static_cast<int>(sizeof(std::int16_t)) * mixer.format.channels;
    MixerRender(mixer, reinterpret_cast<std::int16_t*>(stream), length / frameBytes);
  }

  SDL_AudioDeviceID device_ = 0;
  bool subsystem_ = false;
};

}  // namespace

std::unique_ptr<AudioDevice> CreateSdlAudioDevice() {
  return std::make_unique<SdlAudioDevice>();
}

}  // namespace quorin
