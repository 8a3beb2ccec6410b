// The audio output under the sound layer. The sound layer opens it once at
// start-up (the probe whose failure ends the game with "Couldn't create sound
// buffer"); from then on the device pulls mixed frames from the Mixer on its
// own thread, and the sound layer brackets every voice change with
// Lock/Unlock so the mixer never sees a half-made change.
#pragma once

namespace quorin {

struct Mixer;

// Output samples are always 16-bit signed, interleaved, native byte order.
struct AudioFormat {
  int rate = 0;
  int channels = 0;
};

class AudioDevice {
 public:
  virtual ~AudioDevice() = default;

  // Opens the output asking for `wanted`; the device may give another rate or
  // channel count. On success mixer.format holds what was obtained and the
  // device starts pulling from the mixer. Returns false when there is no
  // usable output.
  virtual bool Open(const AudioFormat& wanted, Mixer& mixer) = 0;
  // Stops pulling and releases the output; harmless when not open.
  virtual void Close() = 0;
  // Held while the mixer runs, so voice state changes made under it are atomic
  // to the mixer. Harmless when not open.
  virtual void Lock() = 0;
  virtual void Unlock() = 0;
};

}  // namespace quorin
