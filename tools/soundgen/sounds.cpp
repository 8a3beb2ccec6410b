#include "tools/soundgen/sounds.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "tools/soundgen/level.h"

namespace quorin::soundgen {
namespace {

// The common level every effect is matched to, and the peak ceiling that
// leaves room for the encoder's ripple.
constexpr double kTargetLoudnessDb = -10.0;
constexpr double kPeakLimitDb = -1.8;
// The footstep is a bare click: it is set by its peak, not by loudness.
constexpr double kClickPeakDb = -6.0;
// Every one-shot ends on a fade this long (seconds) so it never stops on a step.
constexpr double kEndFade = 0.012;

constexpr std::array<SoundInfo, kSoundCount> kSounds = {{
    {0, "sounds/00.ogg", "VICTORY FANFARE", 145287, 0.0},
    {1, "sounds/01.wav", "FOOTSTEP", 72, 0.0},
    {2, "sounds/02.ogg", "FRUIT COLLECTED", 49261, 0.0},
    {3, "sounds/03.ogg", "GAME OVER", 49451, 0.0},
    {4, "sounds/04.ogg", "BALL BOUNCES HARD", 5343, -1.0},
    {5, "sounds/05.ogg", "TITLE JINGLE", 137165, 0.0},
    {6, "sounds/06.ogg", "JET THRUST (LOOP)", 109603, -4.0},
    {7, "sounds/07.ogg", "JUMP", 5150, -3.0},
    {8, "sounds/08.ogg", "MONSTER FIRES", 8533, -1.0},
    {9, "sounds/09.ogg", "MONSTER DIES", 13863, 0.0},
    {10, "sounds/10.ogg", "SHOT HITS MONSTER", 3721, -1.0},
    {11, "sounds/11.ogg", "POWER DOWN", 32157, 0.0},
    {12, "sounds/12.ogg", "POWER UP", 36035, 0.0},
    // Heard up to eight times a second: kept softer than the rest.
    {13, "sounds/13.ogg", "HERO FIRES", 4784, -5.0},
    {14, "sounds/14.ogg", "GEM COLLECTED", 7316, -1.0},
    {15, "sounds/15.ogg", "CHECKPOINT", 19408, 0.0},
    {16, "sounds/16.ogg", "HURT / BALL BURSTS", 24311, 0.0},
    {17, "sounds/17.ogg", "GEM DISSOLVES", 2552, -2.0},
}};

double Time(std::size_t i) {
  return static_cast<double>(i) / kSampleRate;
}

// Fills n samples from f(t), t in seconds.
template <class F>
Signal Render(std::size_t n, F f) {
  Signal s(n);
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<float>(f(Time(i)));
  return s;
}

// Fits a signal to its table length: cut or pad, then a short fade at the end.
Signal Finish(Signal s, std::size_t length) {
  s.resize(length, 0.0f);
  FadeOut(s, Samples(kEndFade));
  return s;
}

// --- Instruments for the melodies -------------------------------------------

// A bright horn: a sawtooth whose brightness follows its swell, with a late
// vibrato. Lasts duration plus a short release.
Signal Horn(double hz, double duration, double brightness = 6.0) {
  constexpr double kRelease = 0.09;
  constexpr double kVibratoHz = 5.3;
  constexpr double kVibratoDepth = 0.004;
  Oscillator saw(Wave::kSaw);
  Oscillator body(Wave::kTriangle);
  return Render(Samples(duration + kRelease), [&](double t) {
    const double attack = AttackDecay(t, 0.03, 10.0);
    const double release = t < duration ? 1.0 : std::exp(-(t - duration) / (kRelease / 4.0));
    const double sag = 0.8 + 0.2 * std::exp(-t / 0.15);  // the blare settles into a held tone
    const double env = attack * release * sag;
    const double vibrato =
        1.0 + kVibratoDepth * std::min(1.0, t / 0.4) * std::sin(2.0 * kPi * kVibratoHz * t);
    const double f = hz * vibrato;
    const double bright = f * (1.2 + brightness * env);
    return env * (0.75 * saw.Next(f, bright) + 0.35 * body.Next(f));
  });
}

// A struck bell: slightly stretched partials, the upper ones dying first.
Signal Bell(double hz, double decay) {
  struct Partial {
    double ratio, amp, decayShare;
  };
  constexpr std::array<Partial, 5> kPartials = {
      {{1.0, 1.0, 1.0}, {2.0, 0.5, 0.6}, {3.01, 0.28, 0.4}, {4.17, 0.16, 0.28}, {5.43, 0.09, 0.2}}};
  Signal s = Render(Samples(decay * 5.0), [](double) { return 0.0; });
  for (const Partial& p : kPartials) {
    const double f = hz * p.ratio;
    if (f > 16000.0) continue;
    for (std::size_t i = 0; i < s.size(); ++i) {
      const double t = Time(i);
      s[i] += static_cast<float>(p.amp * AttackDecay(t, 0.002, decay * p.decayShare) *
                                 std::sin(2.0 * kPi * f * t));
    }
  }
  FadeOut(s, Samples(0.02));
  return s;
}

// A plucked chip voice: a band-limited square that darkens as it fades.
Signal Pluck(double hz, double decay, Wave wave = Wave::kSquare) {
  Oscillator osc(wave);
  Signal s = Render(Samples(decay * 5.0), [&](double t) {
    const double env = AttackDecay(t, 0.004, decay);
    return env * osc.Next(hz, hz * (1.5 + 6.0 * env));
  });
  FadeOut(s, Samples(0.02));
  return s;
}

// A soft low voice for bass lines.
Signal Bass(double hz, double duration) {
  Oscillator tri(Wave::kTriangle);
  Oscillator saw(Wave::kSaw);
  return Render(Samples(duration + 0.08), [&](double t) {
    const double release = t < duration ? 1.0 : std::exp(-(t - duration) / 0.02);
    const double env = AttackDecay(t, 0.01, 0.9) * release;
    return env * (0.8 * tri.Next(hz) + 0.25 * saw.Next(hz, hz * 3.0));
  });
}

// A deep drum: a sine falling in pitch under a puff of low noise.
Signal Drum(double hz, double decay, std::uint32_t seed) {
  Oscillator sine(Wave::kSine);
  Noise noise(seed);
  Biquad lp = Biquad::LowPass(900.0, 0.7);
  return Render(Samples(decay * 5.0), [&](double t) {
    const double f = Sweep(t, 0.08, hz * 1.8, hz);
    const double tone = AttackDecay(t, 0.002, decay) * sine.Next(f);
    const double thud = AttackDecay(t, 0.001, 0.03) * lp.Process(noise.Next());
    return tone + 0.6 * thud;
  });
}

struct Note {
  double start;     // seconds
  double duration;  // seconds
  double note;      // note number
  float gain;
};

// --- The effects ---------------------------------------------------------------

Signal VictoryFanfare(std::size_t length) {
  // Three pick-up notes, a climb, and a held major chord.
  constexpr std::array<Note, 9> kLead = {{{0.00, 0.10, 67, 0.8f},
                                          {0.13, 0.10, 67, 0.8f},
                                          {0.26, 0.10, 67, 0.85f},
                                          {0.40, 0.34, 72, 1.0f},
                                          {0.80, 0.15, 76, 0.9f},
                                          {0.98, 0.15, 79, 0.9f},
                                          {1.16, 0.21, 77, 0.95f},
                                          {1.40, 0.21, 81, 0.95f},
                                          {1.64, 1.40, 84, 1.0f}}};
  constexpr std::array<Note, 7> kHarmony = {{{0.40, 0.34, 64, 0.55f},
                                             {0.80, 0.15, 67, 0.5f},
                                             {0.98, 0.15, 72, 0.5f},
                                             {1.16, 0.21, 74, 0.5f},
                                             {1.40, 0.21, 77, 0.5f},
                                             {1.64, 1.40, 79, 0.55f},
                                             {1.64, 1.40, 76, 0.5f}}};
  constexpr std::array<Note, 4> kLow = {
      {{0.40, 0.70, 48, 0.7f}, {1.16, 0.44, 53, 0.7f}, {1.64, 1.40, 48, 0.75f}, {1.64, 1.40, 36, 0.5f}}};
  Signal mix(length, 0.0f);
  for (const Note& n : kLead) MixInto(mix, Horn(NoteHz(n.note), n.duration), Samples(n.start), 0.5f * n.gain);
  for (const Note& n : kHarmony) {
    MixInto(mix, Horn(NoteHz(n.note), n.duration, 3.0), Samples(n.start), 0.5f * n.gain);
  }
  for (const Note& n : kLow) MixInto(mix, Bass(NoteHz(n.note), n.duration), Samples(n.start), 0.5f * n.gain);
  MixInto(mix, Drum(NoteHz(36), 0.18, 11), Samples(0.40), 0.5f);
  MixInto(mix, Drum(NoteHz(43), 0.14, 12), Samples(1.16), 0.4f);
  MixInto(mix, Drum(NoteHz(36), 0.3, 13), Samples(1.64), 0.6f);
  // A shimmer of high noise that blooms with the final chord.
  Noise noise(14);
  Biquad hp = Biquad::HighPass(6000.0, 0.7);
  Signal shimmer =
      Render(Samples(1.4), [&](double t) { return AttackDecay(t, 0.01, 0.35) * hp.Process(noise.Next()); });
  MixInto(mix, shimmer, Samples(1.64), 0.12f);
  AddRoom(mix, 0.25f, 0.72f);
  // The held chord fades out over its last half second.
  for (std::size_t i = 0; i < mix.size(); ++i) {
    mix[i] *= static_cast<float>(
        Breakpoints(Time(i), {{2.75, 1.0}, {static_cast<double>(length) / kSampleRate, 0.0}}));
  }
  return Finish(std::move(mix), length);
}

Signal FootstepClick(std::size_t length) {
  // A dull tick: a damped 1.1 kHz ring with a little grit, over in 1.6 ms.
  Noise noise(21);
  Biquad lp = Biquad::LowPass(3000.0, 0.7);
  Signal s = Render(length, [&](double t) {
    const double env = AttackDecay(t, 0.00012, 0.00035);
    return env * (0.7 * std::sin(2.0 * kPi * 1100.0 * t) + 0.5 * lp.Process(noise.Next()));
  });
  FadeOut(s, 12);
  return s;
}

Signal FruitCollected(std::size_t length) {
  // A quick climb of bells up a major chord, then a sparkle on top.
  constexpr std::array<Note, 5> kBells = {{{0.00, 0, 84, 0.8f},
                                           {0.06, 0, 88, 0.8f},
                                           {0.12, 0, 91, 0.85f},
                                           {0.18, 0, 96, 1.0f},
                                           {0.30, 0, 100, 0.45f}}};
  Signal mix(length, 0.0f);
  for (const Note& n : kBells) MixInto(mix, Bell(NoteHz(n.note), 0.22), Samples(n.start), 0.4f * n.gain);
  MixInto(mix, Pluck(NoteHz(72), 0.12, Wave::kTriangle), 0, 0.35f);
  MixInto(mix, Pluck(NoteHz(79), 0.25, Wave::kTriangle), Samples(0.18), 0.3f);
  // Twinkles: short high bells trading places.
  for (int k = 0; k < 6; ++k) {
    const double note = (k % 2) ? 103 : 98;
    MixInto(mix, Bell(NoteHz(note), 0.05), Samples(0.36 + 0.07 * k),
            0.12f * static_cast<float>(1.0 - 0.13 * k));
  }
  AddRoom(mix, 0.3f, 0.7f);
  return Finish(std::move(mix), length);
}

Signal GameOver(std::size_t length) {
  // Three falling steps of a minor chord; the last one sinks further and fades.
  constexpr std::array<Note, 3> kLead = {
      {{0.00, 0.19, 67, 0.9f}, {0.24, 0.19, 63, 0.9f}, {0.48, 0.55, 60, 1.0f}}};
  Signal mix(length, 0.0f);
  for (std::size_t k = 0; k < kLead.size(); ++k) {
    const Note& n = kLead[k];
    const bool last = k + 1 == kLead.size();
    Oscillator sq(Wave::kSquare);
    Oscillator tri(Wave::kTriangle);
    Signal voice = Render(Samples(n.duration + 0.1), [&](double t) {
      double hz = NoteHz(n.note);
      if (last) hz *= Sweep(t, n.duration, 1.0, 0.85) * (1.0 + 0.012 * std::sin(2.0 * kPi * 5.0 * t));
      const double release = t < n.duration ? 1.0 : std::exp(-(t - n.duration) / 0.02);
      const double env = AttackDecay(t, 0.015, last ? 0.35 : 0.4) * release;
      return env * (0.5 * sq.Next(hz, hz * (1.0 + 3.0 * env)) + 0.5 * tri.Next(hz / 2.0));
    });
    MixInto(mix, voice, Samples(n.start), 0.5f * n.gain);
  }
  AddRoom(mix, 0.2f, 0.65f);
  for (std::size_t i = 0; i < mix.size(); ++i) {
    mix[i] *= static_cast<float>(
        Breakpoints(Time(i), {{0.9, 1.0}, {static_cast<double>(length) / kSampleRate, 0.0}}));
  }
  return Finish(std::move(mix), length);
}

Signal BallBounce(std::size_t length) {
  // A rubbery thump: a pitch-dropping sine with a short knock on top.
  Oscillator sine(Wave::kSine);
  Oscillator tri(Wave::kTriangle);
  Noise noise(41);
  Biquad lp = Biquad::LowPass(2200.0, 0.8);
  Signal s = Render(length, [&](double t) {
    const double f = Sweep(t, 0.07, 240.0, 75.0);
    const double body = AttackDecay(t, 0.002, 0.035) * (sine.Next(f) + 0.3 * tri.Next(f * 2.0));
    const double knock = AttackDecay(t, 0.0005, 0.006) * lp.Process(noise.Next());
    return body + 0.7 * knock;
  });
  return Finish(std::move(s), length);
}

Signal TitleJingle(std::size_t length) {
  // An upbeat arpeggio in D minor that lands on a bright D major chord.
  constexpr double kEighth = 0.19;
  constexpr std::array<Note, 12> kLead = {{{0, 1, 74, 0.9f},
                                           {1, 1, 69, 0.7f},
                                           {2, 1, 74, 0.8f},
                                           {3, 1, 76, 0.8f},
                                           {4, 1, 77, 0.95f},
                                           {5, 1, 76, 0.7f},
                                           {6, 1, 74, 0.8f},
                                           {7, 1, 72, 0.7f},
                                           {8, 2, 74, 0.9f},
                                           {10, 1, 81, 0.9f},
                                           {11, 1, 79, 0.8f},
                                           {12, 4, 81, 1.0f}}};
  constexpr std::array<Note, 7> kBass = {{{0, 2, 50, 1.0f},
                                          {2, 2, 50, 0.8f},
                                          {4, 2, 46, 1.0f},
                                          {6, 2, 46, 0.8f},
                                          {8, 2, 48, 1.0f},
                                          {10, 2, 48, 0.8f},
                                          {12, 4, 50, 1.0f}}};
  // Held chords under the tune: D minor, B flat, C, D major.
  constexpr std::array<std::array<double, 3>, 4> kChords = {
      {{62, 65, 69}, {62, 65, 70}, {60, 64, 67}, {62, 66, 69}}};
  Signal mix(length, 0.0f);
  for (const Note& n : kLead) {
    const double decay = n.duration > 1 ? 0.45 : 0.16;
    MixInto(mix, Pluck(NoteHz(n.note), decay), Samples(n.start * kEighth), 0.28f * n.gain);
  }
  MixInto(mix, Bell(NoteHz(93), 0.4), Samples(12 * kEighth), 0.18f);
  MixInto(mix, Bell(NoteHz(86), 0.4), Samples(12 * kEighth + 0.04), 0.14f);
  for (const Note& n : kBass) {
    MixInto(mix, Bass(NoteHz(n.note), n.duration * kEighth * 0.8), Samples(n.start * kEighth), 0.4f * n.gain);
  }
  for (std::size_t c = 0; c < kChords.size(); ++c) {
    const double start = static_cast<double>(c) * 4 * kEighth;
    const double duration = c + 1 == kChords.size() ? 3.1 - start : 4 * kEighth;
    for (double note : kChords[c]) {
      Oscillator saw(Wave::kSaw);
      const double hz = NoteHz(note);
      Signal pad = Render(Samples(duration), [&](double t) {
        const double env = std::min(1.0, t / 0.08) * std::min(1.0, (duration - t) / 0.06);
        return env * saw.Next(hz, hz * 2.5);
      });
      MixInto(mix, pad, Samples(start), 0.06f);
    }
  }
  for (int beat = 0; beat < 7; ++beat) {
    MixInto(mix, Drum(NoteHz(40), 0.08, 50 + beat), Samples(beat * 2 * kEighth), beat % 2 ? 0.2f : 0.3f);
  }
  MixInto(mix, Drum(NoteHz(38), 0.25, 60), Samples(12 * kEighth), 0.4f);
  AddRoom(mix, 0.22f, 0.7f);
  for (std::size_t i = 0; i < mix.size(); ++i) {
    mix[i] *= static_cast<float>(
        Breakpoints(Time(i), {{2.7, 1.0}, {static_cast<double>(length) / kSampleRate, 0.0}}));
  }
  return Finish(std::move(mix), length);
}

// Frequency of k whole cycles over the loop, so the tone meets itself at the seam.
double LoopHz(std::size_t length, int cycles) {
  return static_cast<double>(cycles) * kSampleRate / static_cast<double>(length);
}

Signal JetThrust(std::size_t length) {
  // Looped while the hero hovers: every tone and wobble makes whole cycles
  // over the length, and the hiss is made longer and its tail crossfaded into
  // its head, so the end runs on into the start without a step.
  constexpr int kFlutterCycles = 15;  // about 6 Hz
  constexpr int kShudderCycles = 43;  // about 17 Hz
  constexpr int kHumCycles = 137;     // about 55 Hz
  constexpr double kCrossfadeSeconds = 0.25;
  constexpr double kWarmUpSeconds = 0.1;
  const std::size_t fade = Samples(kCrossfadeSeconds);
  const std::size_t warmUp = Samples(kWarmUpSeconds);
  const double flutterHz = LoopHz(length, kFlutterCycles);
  const double shudderHz = LoopHz(length, kShudderCycles);
  const double humHz = LoopHz(length, kHumCycles);

  auto wobble = [&](std::size_t i) {
    const double t = Time(i % length);
    return 1.0 + 0.12 * std::sin(2.0 * kPi * flutterHz * t) + 0.05 * std::sin(2.0 * kPi * shudderHz * t);
  };

  // The hiss: a roar band and a softer high band, their filters following
  // the flutter. Filters warm up before sample 0 so the head is not quieter.
  Noise noise(61);
  Biquad roar = Biquad::LowPass(900.0, 0.8);
  Biquad rumble = Biquad::BandPass(260.0, 1.2);
  Biquad hissBand = Biquad::BandPass(2600.0, 1.5);
  Signal hiss(length + fade);
  for (std::size_t i = 0; i < warmUp + length + fade; ++i) {
    const std::size_t at = i >= warmUp ? i - warmUp : 0;
    const double w = wobble(at);
    roar.SetLowPass(900.0 * w, 0.8);
    const float n = noise.Next();
    const double v = 0.8 * roar.Process(n) + 0.9 * rumble.Process(n) + 0.12 * hissBand.Process(n);
    if (i >= warmUp) hiss[at] = static_cast<float>(v * w);
  }
  Signal s(length);
  for (std::size_t i = 0; i < length; ++i) {
    double h = hiss[i];
    if (i < fade) {
      // Equal-power crossfade: the two noises are unrelated, so their powers add.
      const double u = 0.5 * kPi * static_cast<double>(i) / static_cast<double>(fade);
      h = hiss[i] * std::sin(u) + hiss[length + i] * std::cos(u);
    }
    s[i] = static_cast<float>(h);
  }
  Oscillator hum(Wave::kSaw);
  for (std::size_t i = 0; i < length; ++i) {
    s[i] += static_cast<float>(0.12 * wobble(i) * hum.Next(humHz, 350.0));
  }
  return s;
}

Signal Jump(std::size_t length) {
  // A quick upward swoop.
  Oscillator sq(Wave::kSquare);
  Oscillator tri(Wave::kTriangle);
  Signal s = Render(length, [&](double t) {
    const double f = Sweep(t, 0.1, 260.0, 780.0);
    const double env = AttackDecay(t, 0.006, 0.05);
    return env * (0.4 * sq.Next(f, 2500.0) + 0.6 * tri.Next(f));
  });
  return Finish(std::move(s), length);
}

Signal MonsterFires(std::size_t length) {
  // A throaty falling spit with a warble, so it is not mistaken for the hero's shot.
  Oscillator saw(Wave::kSaw);
  Noise noise(81);
  Biquad bp = Biquad::BandPass(1400.0, 1.0);
  Signal s = Render(length, [&](double t) {
    const double f = Sweep(t, 0.17, 900.0, 200.0);
    const double warble = 0.75 + 0.25 * std::sin(2.0 * kPi * 38.0 * t);
    const double tone = AttackDecay(t, 0.003, 0.07) * warble * saw.Next(f, 2600.0);
    const double spit = AttackDecay(t, 0.001, 0.02) * bp.Process(noise.Next());
    return 0.7 * tone + 0.8 * spit;
  });
  return Finish(std::move(s), length);
}

Signal MonsterDies(std::size_t length) {
  // A crunchy collapse: a falling, rattling tone inside a sinking noise band.
  Oscillator sq(Wave::kSquare);
  Noise noise(91);
  Biquad band = Biquad::BandPass(2000.0, 1.2);
  Signal s = Render(length, [&](double t) {
    const double f = Sweep(t, 0.28, 520.0, 70.0);
    band.SetBandPass(Sweep(t, 0.25, 2400.0, 300.0), 1.2);
    const double rattle = 0.6 + 0.4 * std::sin(2.0 * kPi * 31.0 * t);
    const double tone = AttackDecay(t, 0.002, 0.1) * rattle * sq.Next(f, 1800.0);
    const double crunch = AttackDecay(t, 0.001, 0.07) * band.Process(noise.Next());
    return 0.5 * tone + 1.6 * crunch;
  });
  return Finish(std::move(s), length);
}

Signal ShotHits(std::size_t length) {
  // A short smack: a noise crack and a dropping knock.
  Oscillator sine(Wave::kSine);
  Noise noise(101);
  Biquad bp = Biquad::BandPass(1800.0, 0.8);
  Signal s = Render(length, [&](double t) {
    const double crack = AttackDecay(t, 0.0008, 0.012) * bp.Process(noise.Next());
    const double knock = AttackDecay(t, 0.001, 0.025) * sine.Next(Sweep(t, 0.05, 380.0, 170.0));
    return 1.4 * crack + 0.7 * knock;
  });
  return Finish(std::move(s), length);
}

// Arpeggio steps of a chip voice, each sliding a little by slide over its step.
Signal SteppedArpeggio(std::size_t length, const std::vector<double>& notes, double step, double slide,
                       double lastHold) {
  Oscillator sq(Wave::kSquare);
  Oscillator tri(Wave::kTriangle);
  const double end = step * static_cast<double>(notes.size() - 1) + lastHold;
  // The pitch glides into each step over a couple of milliseconds: a bare
  // jump in a bright voice splashes across the whole spectrum.
  constexpr double kGlideSeconds = 0.002;
  const double glide = 1.0 - std::exp(-1.0 / (kGlideSeconds * kSampleRate));
  double logHz = std::log(NoteHz(notes.front()));
  return Render(length, [&](double t) {
    const auto k = std::min(notes.size() - 1, static_cast<std::size_t>(t / step));
    const double local = t - step * static_cast<double>(k);
    const double span = k + 1 == notes.size() ? lastHold : step;
    logHz += (std::log(NoteHz(notes[k]) * Sweep(local, span, 1.0, slide)) - logHz) * glide;
    const double hz = std::exp(logHz);
    // Each step re-strikes a little, so the notes read as separate; the
    // strike swells in over a few milliseconds, a jump would click.
    const double strike = 0.7 + 0.3 * AttackDecay(local, 0.004, 0.03);
    const double env = AttackDecay(t, 0.006, 10.0) * strike * Breakpoints(t, {{end - 0.2, 1.0}, {end, 0.0}});
    return env * (0.45 * sq.Next(hz, hz * 4.0) + 0.55 * tri.Next(hz));
  });
}

Signal PowerDown(std::size_t length) {
  // Steps down a G minor chord, each sagging; the last sinks away.
  Signal s = SteppedArpeggio(length, {79, 74, 70, 67, 62}, 0.11, 0.94, 0.26);
  AddRoom(s, 0.15f, 0.6f);
  return Finish(std::move(s), length);
}

Signal PowerUp(std::size_t length) {
  // A fast climb up a G major chord that ends on a ringing bell.
  Signal s = SteppedArpeggio(length, {67, 71, 74, 79, 83, 86, 91}, 0.065, 1.03, 0.35);
  MixInto(s, Bell(NoteHz(91), 0.25), Samples(0.39), 0.3f);
  MixInto(s, Bell(NoteHz(98), 0.2), Samples(0.43), 0.15f);
  AddRoom(s, 0.18f, 0.65f);
  return Finish(std::move(s), length);
}

Signal HeroFires(std::size_t length) {
  // A soft, rounded zap: it repeats rapidly, so no hiss and no hard edge.
  Oscillator tri(Wave::kTriangle);
  Oscillator sine(Wave::kSine);
  Signal s = Render(length, [&](double t) {
    const double f = Sweep(t, 0.08, 1500.0, 480.0);
    const double env = AttackDecay(t, 0.003, 0.028);
    return env * (0.6 * tri.Next(f) + 0.4 * sine.Next(f * 2.0));
  });
  return Finish(std::move(s), length);
}

Signal GemCollected(std::size_t length) {
  // Two quick bell notes a fifth apart.
  Signal s(length, 0.0f);
  MixInto(s, Bell(NoteHz(88), 0.05), 0, 0.45f);
  MixInto(s, Bell(NoteHz(95), 0.07), Samples(0.05), 0.5f);
  return Finish(std::move(s), length);
}

Signal Checkpoint(std::size_t length) {
  // Three rising chip notes with a bell on the last: "here you return".
  constexpr std::array<Note, 3> kNotes = {{{0.00, 0, 76, 0.8f}, {0.08, 0, 81, 0.85f}, {0.16, 0, 88, 1.0f}}};
  Signal s(length, 0.0f);
  for (std::size_t k = 0; k < kNotes.size(); ++k) {
    const Note& n = kNotes[k];
    const double decay = k + 1 == kNotes.size() ? 0.1 : 0.04;
    MixInto(s, Pluck(NoteHz(n.note), decay), Samples(n.start), 0.3f * n.gain);
  }
  MixInto(s, Bell(NoteHz(88), 0.12), Samples(0.16), 0.25f);
  AddRoom(s, 0.2f, 0.6f);
  return Finish(std::move(s), length);
}

Signal HurtOrBurst(std::size_t length) {
  // A pop that bursts into a falling, wobbling whine.
  Oscillator sq(Wave::kSquare);
  Noise noise(161);
  Biquad lp = Biquad::LowPass(6000.0, 0.7);
  Signal s = Render(length, [&](double t) {
    lp.SetLowPass(Sweep(t, 0.15, 7000.0, 500.0), 0.7);
    const double pop = AttackDecay(t, 0.001, 0.06) * lp.Process(noise.Next());
    const double f = Sweep(t, 0.45, 640.0, 110.0) * (1.0 + 0.06 * std::sin(2.0 * kPi * 17.0 * t));
    const double whine = AttackDecay(t, 0.004, 0.16) * sq.Next(f, 2200.0);
    return 1.0 * pop + 0.45 * whine;
  });
  return Finish(std::move(s), length);
}

Signal GemDissolves(std::size_t length) {
  // A brief fizz with a falling glint.
  Noise noise(171);
  Biquad hp = Biquad::HighPass(3200.0, 0.7);
  Oscillator sine(Wave::kSine);
  Signal s = Render(length, [&](double t) {
    const double fizz = AttackDecay(t, 0.003, 0.018) * hp.Process(noise.Next());
    const double glint = AttackDecay(t, 0.002, 0.02) * sine.Next(Sweep(t, 0.05, 2600.0, 1100.0));
    return 0.9 * fizz + 0.5 * glint;
  });
  return Finish(std::move(s), length);
}

Signal Recipe(int id, std::size_t length) {
  switch (id) {
    case 0:
      return VictoryFanfare(length);
    case 1:
      return FootstepClick(length);
    case 2:
      return FruitCollected(length);
    case 3:
      return GameOver(length);
    case 4:
      return BallBounce(length);
    case 5:
      return TitleJingle(length);
    case 6:
      return JetThrust(length);
    case 7:
      return Jump(length);
    case 8:
      return MonsterFires(length);
    case 9:
      return MonsterDies(length);
    case 10:
      return ShotHits(length);
    case 11:
      return PowerDown(length);
    case 12:
      return PowerUp(length);
    case 13:
      return HeroFires(length);
    case 14:
      return GemCollected(length);
    case 15:
      return Checkpoint(length);
    case 16:
      return HurtOrBurst(length);
    case 17:
      return GemDissolves(length);
    default:
      return {};
  }
}

}  // namespace

std::span<const SoundInfo> SoundTable() {
  return kSounds;
}

Signal MakeSound(int id) {
  if (id < 0 || id >= kSoundCount) return {};
  const SoundInfo& info = kSounds[static_cast<std::size_t>(id)];
  Signal s = Recipe(id, info.length);
  if (id == kWaveSoundId) {
    Scale(s, static_cast<float>(FromDb(kClickPeakDb) / Peak(s)));
  } else {
    MatchLoudness(s, kTargetLoudnessDb + info.trimDb, kPeakLimitDb);
  }
  return s;
}

}  // namespace quorin::soundgen
