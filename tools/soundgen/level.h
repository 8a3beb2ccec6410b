// Loudness matching: effects are brought to one perceived level so none jumps
// out at the same volume setting.
#pragma once

#include "tools/soundgen/synth.h"

namespace quorin::soundgen {

// Loudest 100 ms of the signal after an ear-like weighting (low cut, presence
// lift), in dB relative to a full-scale sine's mean square. Sounds shorter
// than the window count as padded with silence: the ear sums short sounds
// the same way, so a blip reads quieter than a held note of the same peak.
double Loudness(const Signal& signal);

// Scales to targetDb of Loudness, but never lets the peak pass peakLimitDb.
// Returns the gain applied.
float MatchLoudness(Signal& signal, double targetDb, double peakLimitDb);

double ToDb(double amplitude);
double FromDb(double db);

}  // namespace quorin::soundgen
