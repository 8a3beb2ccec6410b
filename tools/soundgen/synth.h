// Building blocks of the sound generator: oscillators, noise, envelopes,
// filters and a small room. Everything is plain float maths on one mono
// 44100 Hz track, with no state outside the objects, so a sound is the same
// on every run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorin::soundgen {

constexpr int kSampleRate = 44100;
constexpr double kPi = 3.14159265358979323846;

using Signal = std::vector<float>;

// Seconds to a sample count, rounded to nearest.
std::size_t Samples(double seconds);

// Our own noise source: a xorshift generator, so the hiss of every effect is
// fixed by its seed alone.
class Noise {
 public:
  explicit Noise(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
  std::uint32_t NextBits();
  // Uniform in [-1, 1).
  float Next();

 private:
  std::uint32_t state_;
};

// All start their cycle at phase 0 and swing between about -1 and 1; the saw
// rises from -1 to 1 and drops back at the cycle's end.
enum class Wave { kSine, kTriangle, kSquare, kSaw };

// A band-limited oscillator built from its harmonics, so sweeps never fold
// back into audible aliasing. Partials fade out towards the top of the band
// instead of vanishing at once, which would tick during a sweep.
class Oscillator {
 public:
  explicit Oscillator(Wave wave, double phase = 0.0) : wave_(wave), phase_(phase) {}
  // Next sample at frequency hz. brightnessHz, when above 0, rolls the
  // harmonics off like a second-order low-pass at that frequency.
  float Next(double hz, double brightnessHz = 0.0);

 private:
  Wave wave_;
  double phase_;  // in cycles, 0..1
};

// A biquad in direct form I with the usual cookbook designs.
class Biquad {
 public:
  static Biquad LowPass(double hz, double q);
  static Biquad HighPass(double hz, double q);
  static Biquad BandPass(double hz, double q);  // 0 dB at the centre
  static Biquad HighShelf(double hz, double q, double gainDb);
  float Process(float x);
  // Retunes without losing the state, for swept filters.
  void SetLowPass(double hz, double q);
  void SetBandPass(double hz, double q);

 private:
  double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Exponential glide from f0 to f1 over duration seconds, then holding f1.
double Sweep(double t, double duration, double f0, double f1);

// Smooth rise over attack seconds, then an exponential decay with the given
// time constant. Zero before 0.
double AttackDecay(double t, double attack, double decay);

// Piecewise-linear envelope through (time, level) points; holds the ends.
struct Point {
  double t;
  double level;
};
double Breakpoints(double t, const std::vector<Point>& points);

// Equal-tempered pitch of a note number (69 = 440 Hz).
double NoteHz(double note);

// Adds src into dst starting at sample offset, scaled by gain; dst grows when needed.
void MixInto(Signal& dst, const Signal& src, std::size_t offset, float gain);
// Raised-cosine fades, so no effect starts or ends with a step.
void FadeIn(Signal& signal, std::size_t samples);
void FadeOut(Signal& signal, std::size_t samples);
// A short damped room: a few combs and all-passes. wet is the added share.
void AddRoom(Signal& signal, float wet, float feedback);

// Largest absolute sample.
float Peak(const Signal& signal);
void Scale(Signal& signal, float gain);

}  // namespace quorin::soundgen
