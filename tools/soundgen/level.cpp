#include "tools/soundgen/level.h"

#include <algorithm>
#include <cmath>

namespace quorin::soundgen {
namespace {

constexpr double kWindowSeconds = 0.1;
constexpr double kHopSeconds = 0.01;
// Ear weighting: a presence shelf and a low cut.
constexpr double kShelfHz = 1500.0;
constexpr double kShelfGainDb = 4.0;
constexpr double kShelfQ = 0.7071;
constexpr double kLowCutHz = 40.0;
constexpr double kLowCutQ = 0.5;
constexpr double kSilenceDb = -120.0;

}  // namespace

double ToDb(double amplitude) {
  return amplitude > 0.0 ? 20.0 * std::log10(amplitude) : kSilenceDb;
}

double FromDb(double db) {
  return std::pow(10.0, db / 20.0);
}

double Loudness(const Signal& signal) {
  Biquad shelf = Biquad::HighShelf(kShelfHz, kShelfQ, kShelfGainDb);
  Biquad lowCut = Biquad::HighPass(kLowCutHz, kLowCutQ);
  std::vector<double> squares(signal.size());
  for (std::size_t i = 0; i < signal.size(); ++i) {
    const double w = lowCut.Process(shelf.Process(signal[i]));
    squares[i] = w * w;
  }
  const std::size_t window = Samples(kWindowSeconds);
  const std::size_t hop = Samples(kHopSeconds);
  // Prefix sums give every window's energy in one pass.
  std::vector<double> prefix(squares.size() + 1, 0.0);
  for (std::size_t i = 0; i < squares.size(); ++i) prefix[i + 1] = prefix[i] + squares[i];
  double loudest = 0.0;
  for (std::size_t start = 0;; start += hop) {
    const std::size_t end = std::min(start + window, squares.size());
    loudest = std::max(loudest, (prefix[end] - prefix[start]) / static_cast<double>(window));
    if (end == squares.size()) break;
  }
  // A full-scale sine has a mean square of one half: call that 0 dB.
  return loudest > 0.0 ? 10.0 * std::log10(loudest * 2.0) : kSilenceDb;
}

float MatchLoudness(Signal& signal, double targetDb, double peakLimitDb) {
  const double loudness = Loudness(signal);
  const double peak = Peak(signal);
  if (peak <= 0.0) return 1.0f;
  double gain = FromDb(targetDb - loudness);
  gain = std::min(gain, FromDb(peakLimitDb) / peak);
  Scale(signal, static_cast<float>(gain));
  return static_cast<float>(gain);
}

}  // namespace quorin::soundgen
