// The audio output of tests and quorin-sim: nothing plays; whoever drives it
// pulls mixed frames by hand.
#pragma once

#include <cstdint>
#include <mutex>

#include "runtime/audio_device.h"

namespace quorin {

class NullAudioDevice : public AudioDevice {
 public:
  // Opening fails when failOpen is set (no sound device).
  bool failOpen = false;
  // The format it gives, whatever is asked.
  AudioFormat offered{48000, 2};

  bool Open(const AudioFormat& wanted, Mixer& mixer) override;
  void Close() override;
  void Lock() override;
  void Unlock() override;

  bool IsOpen() const { return mixer_ != nullptr; }
  const AudioFormat& Wanted() const { return wanted_; }
  // Mixes `frames` frames into out as the device thread would; silence when
  // closed. Returns the frames written.
  int Pull(std::int16_t* out, int frames);

 private:
  std::mutex mutex_;
  Mixer* mixer_ = nullptr;
  AudioFormat wanted_;
};

}  // namespace quorin
