#include "tools/soundgen/build_files.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "tools/soundgen/level.h"
#include "tools/soundgen/sounds.h"

namespace quorin::soundgen {
namespace {

constexpr double kFullScale = 32767.0;
// Each retry trims the level by the overshoot and this much more.
constexpr double kRetryMarginDb = 0.2;
constexpr int kMaxEncodeTries = 8;
// Stream serial numbers: any fixed value, distinct per id.
constexpr int kSerialBase = 0x51A0;

}  // namespace

Bytes BuildSoundFile(int id) {
  Signal signal = MakeSound(id);
  if (id == kWaveSoundId) return EncodeWave(ToPcm16(signal));
  // The encoder can overshoot the input's peak a little; lower the level
  // until the decoded stream keeps the headroom.
  Bytes bytes;
  for (int attempt = 0; attempt < kMaxEncodeTries; ++attempt) {
    bytes = EncodeVorbis(signal, kVorbisQuality, kSerialBase + id);
    const DecodedSound decoded = DecodeVorbis(bytes);
    const double peak = Measure(decoded.samples).peakDb;
    if (!decoded.ok || peak <= kDecodedPeakLimitDb) break;
    Scale(signal, static_cast<float>(FromDb(kDecodedPeakLimitDb - peak - kRetryMarginDb)));
  }
  return bytes;
}

DecodedSound DecodeSoundFile(int id, std::span<const unsigned char> bytes) {
  return id == kWaveSoundId ? DecodeWave(bytes) : DecodeVorbis(bytes);
}

SoundLevels Measure(const std::vector<std::int16_t>& samples) {
  SoundLevels levels;
  double peak = 0.0;
  double sum = 0.0;
  Signal signal;
  signal.reserve(samples.size());
  for (std::int16_t s : samples) {
    signal.push_back(static_cast<float>(s / kFullScale));
    const double v = s / kFullScale;
    peak = std::max(peak, std::abs(v));
    sum += v * v;
  }
  levels.peakDb = ToDb(peak);
  levels.loudnessDb = Loudness(signal);
  levels.rmsDb = samples.empty() ? ToDb(0.0) : ToDb(std::sqrt(sum / static_cast<double>(samples.size())));
  return levels;
}

}  // namespace quorin::soundgen
