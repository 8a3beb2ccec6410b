#include "tools/soundgen/synth.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quorin::soundgen {
namespace {

// Partials fade between these two frequencies and stop above the second,
// well below the 22050 Hz limit of the sample rate.
constexpr double kPartialFadeStartHz = 15000.0;
constexpr double kPartialStopHz = 18000.0;
// Filters never go closer to the limit than this share of the sample rate.
constexpr double kFilterTopShare = 0.45;

double PartialWeight(Wave wave, int k) {
  switch (wave) {
    case Wave::kSine:
      return k == 1 ? 1.0 : 0.0;
    case Wave::kSaw:
      return -2.0 / (kPi * k);  // rising ramp
    case Wave::kSquare:
      return (k % 2) ? 4.0 / (kPi * k) : 0.0;
    case Wave::kTriangle:
      if (k % 2 == 0) return 0.0;
      return ((k / 2) % 2 ? -8.0 : 8.0) / (kPi * kPi * k * k);
  }
  return 0.0;
}

double ClampFilterHz(double hz) {
  return std::clamp(hz, 10.0, kFilterTopShare * kSampleRate);
}

}  // namespace

std::size_t Samples(double seconds) {
  return static_cast<std::size_t>(std::lround(seconds * kSampleRate));
}

std::uint32_t Noise::NextBits() {
  std::uint32_t x = state_;
  x ^= x << 13;
  x ^= x >> 17;
  x ^= x << 5;
  state_ = x;
  return x;
}

float Noise::Next() {
  // 24 bits are exact in a float.
  return static_cast<float>(NextBits() >> 8) / static_cast<float>(1 << 23) - 1.0f;
}

float Oscillator::Next(double hz, double brightnessHz) {
  const double x = 2.0 * kPi * phase_;
  phase_ += hz / kSampleRate;
  phase_ -= std::floor(phase_);
  if (hz <= 0.0) return 0.0f;

  const double c2 = 2.0 * std::cos(x);
  double sPrev = 0.0;      // sin(0 * x)
  double s = std::sin(x);  // sin(1 * x)
  double sum = 0.0;
  for (int k = 1;; ++k) {
    const double fk = hz * k;
    if (fk >= kPartialStopHz) break;
    double w = PartialWeight(wave_, k);
    if (w != 0.0) {
      if (fk > kPartialFadeStartHz) w *= (kPartialStopHz - fk) / (kPartialStopHz - kPartialFadeStartHz);
      if (brightnessHz > 0.0) {
        const double r = fk / brightnessHz;
        w /= std::sqrt(1.0 + r * r * r * r);
      }
      sum += w * s;
    }
    if (wave_ == Wave::kSine) break;
    const double next = c2 * s - sPrev;
    sPrev = s;
    s = next;
  }
  return static_cast<float>(sum);
}

Biquad Biquad::LowPass(double hz, double q) {
  Biquad f;
  f.SetLowPass(hz, q);
  return f;
}

void Biquad::SetLowPass(double hz, double q) {
  const double w0 = 2.0 * kPi * ClampFilterHz(hz) / kSampleRate;
  const double cw = std::cos(w0);
  const double alpha = std::sin(w0) / (2.0 * q);
  const double a0 = 1.0 + alpha;
  b0_ = (1.0 - cw) / 2.0 / a0;
  b1_ = (1.0 - cw) / a0;
  b2_ = b0_;
  a1_ = -2.0 * cw / a0;
  a2_ = (1.0 - alpha) / a0;
}

Biquad Biquad::HighPass(double hz, double q) {
  Biquad f;
  const double w0 = 2.0 * kPi * ClampFilterHz(hz) / kSampleRate;
  const double cw = std::cos(w0);
  const double alpha = std::sin(w0) / (2.0 * q);
  const double a0 = 1.0 + alpha;
  f.b0_ = (1.0 + cw) / 2.0 / a0;
  f.b1_ = -(1.0 + cw) / a0;
  f.b2_ = f.b0_;
  f.a1_ = -2.0 * cw / a0;
  f.a2_ = (1.0 - alpha) / a0;
  return f;
}

Biquad Biquad::BandPass(double hz, double q) {
  Biquad f;
  f.SetBandPass(hz, q);
  return f;
}

void Biquad::SetBandPass(double hz, double q) {
  const double w0 = 2.0 * kPi * ClampFilterHz(hz) / kSampleRate;
  const double alpha = std::sin(w0) / (2.0 * q);
  const double a0 = 1.0 + alpha;
  b0_ = alpha / a0;
  b1_ = 0.0;
  b2_ = -alpha / a0;
  a1_ = -2.0 * std::cos(w0) / a0;
  a2_ = (1.0 - alpha) / a0;
}

Biquad Biquad::HighShelf(double hz, double q, double gainDb) {
  Biquad f;
  const double a = std::pow(10.0, gainDb / 40.0);
  const double w0 = 2.0 * kPi * ClampFilterHz(hz) / kSampleRate;
  const double cw = std::cos(w0);
  const double alpha = std::sin(w0) / (2.0 * q);
  const double sq = 2.0 * std::sqrt(a) * alpha;
  const double a0 = (a + 1.0) - (a - 1.0) * cw + sq;
  f.b0_ = a * ((a + 1.0) + (a - 1.0) * cw + sq) / a0;
  f.b1_ = -2.0 * a * ((a - 1.0) + (a + 1.0) * cw) / a0;
  f.b2_ = a * ((a + 1.0) + (a - 1.0) * cw - sq) / a0;
  f.a1_ = 2.0 * ((a - 1.0) - (a + 1.0) * cw) / a0;
  f.a2_ = ((a + 1.0) - (a - 1.0) * cw - sq) / a0;
  return f;
}

float Biquad::Process(float x) {
  const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
  x2_ = x1_;
  x1_ = x;
  y2_ = y1_;
  y1_ = y;
  return static_cast<float>(y);
}

double Sweep(double t, double duration, double f0, double f1) {
  const double u = duration > 0.0 ? std::clamp(t / duration, 0.0, 1.0) : 1.0;
  return f0 * std::pow(f1 / f0, u);
}

double AttackDecay(double t, double attack, double decay) {
  if (t < 0.0) return 0.0;
  if (t < attack) {
    const double s = std::sin(0.5 * kPi * t / attack);
    return s * s;
  }
  return std::exp(-(t - attack) / decay);
}

double Breakpoints(double t, const std::vector<Point>& points) {
  if (points.empty()) return 0.0;
  if (t <= points.front().t) return points.front().level;
  for (std::size_t i = 1; i < points.size(); ++i) {
    if (t < points[i].t) {
      const Point& a = points[i - 1];
      const Point& b = points[i];
      return a.level + (b.level - a.level) * (t - a.t) / (b.t - a.t);
    }
  }
  return points.back().level;
}

double NoteHz(double note) {
  return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

void MixInto(Signal& dst, const Signal& src, std::size_t offset, float gain) {
  if (dst.size() < offset + src.size()) dst.resize(offset + src.size(), 0.0f);
  for (std::size_t i = 0; i < src.size(); ++i) dst[offset + i] += gain * src[i];
}

void FadeIn(Signal& signal, std::size_t samples) {
  samples = std::min(samples, signal.size());
  for (std::size_t i = 0; i < samples; ++i) {
    const double u = static_cast<double>(i) / static_cast<double>(samples);
    signal[i] *= static_cast<float>(0.5 - 0.5 * std::cos(kPi * u));
  }
}

void FadeOut(Signal& signal, std::size_t samples) {
  samples = std::min(samples, signal.size());
  const std::size_t start = signal.size() - samples;
  for (std::size_t i = 0; i < samples; ++i) {
    // Reaches exactly zero on the last sample.
    const double u = static_cast<double>(i + 1) / static_cast<double>(samples);
    signal[start + i] *= static_cast<float>(0.5 + 0.5 * std::cos(kPi * u));
  }
}

void AddRoom(Signal& signal, float wet, float feedback) {
  // Mutually prime delays keep the echoes from lining up into a buzz.
  constexpr std::array<std::size_t, 4> kCombDelays = {1291, 1409, 1523, 1637};
  constexpr std::array<std::size_t, 2> kAllPassDelays = {353, 127};
  constexpr float kAllPassGain = 0.5f;
  constexpr float kDamping = 0.35f;

  Signal sum(signal.size(), 0.0f);
  for (std::size_t delay : kCombDelays) {
    std::vector<float> line(delay, 0.0f);
    float damped = 0.0f;
    std::size_t pos = 0;
    for (std::size_t i = 0; i < signal.size(); ++i) {
      const float out = line[pos];
      damped = out * (1.0f - kDamping) + damped * kDamping;
      line[pos] = signal[i] + damped * feedback;
      pos = (pos + 1) % delay;
      sum[i] += out / static_cast<float>(kCombDelays.size());
    }
  }
  for (std::size_t delay : kAllPassDelays) {
    std::vector<float> line(delay, 0.0f);
    std::size_t pos = 0;
    for (float& s : sum) {
      const float delayed = line[pos];
      const float in = s + delayed * kAllPassGain;
      line[pos] = in;
      s = delayed - in * kAllPassGain;
      pos = (pos + 1) % delay;
    }
  }
  for (std::size_t i = 0; i < signal.size(); ++i) signal[i] += wet * sum[i];
}

float Peak(const Signal& signal) {
  float peak = 0.0f;
  for (float s : signal) peak = std::max(peak, std::abs(s));
  return peak;
}

void Scale(Signal& signal, float gain) {
  for (float& s : signal) s *= gain;
}

}  // namespace quorin::soundgen
