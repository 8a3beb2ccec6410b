// What play needs from the game around it. Play lives below the game flow, so
// the flow hands it this interface: sounds go through the flow's cue list (which
// also records them for the trace), state changes through EnterState, and the
// best bounce count lives with the user settings.
#pragma once

#include <cstdint>

namespace quorin {

// The game's states (the flow owns the machine; play asks for two of them).
enum GameStateId : std::int32_t {
  kTitleMenu = 0,
  kOptions = 1,
  kPlaying = 2,
  kPaused = 3,
  kGameOver = 4,
  kPlanetSaved = 5,
};

// Sound ids: which effect marks which event.
enum SoundId : int {
  kSoundPlanetSaved = 0,
  kSoundFootstep = 1,
  kSoundFruit = 2,
  kSoundGameOver = 3,
  kSoundBounce = 4,
  kSoundTitle = 5,
  kSoundHover = 6,  // the only looping sound
  kSoundJump = 7,
  kSoundEnemyFire = 8,
  kSoundEnemyDies = 9,
  kSoundEnemyHit = 10,
  kSoundPowerDown = 11,
  kSoundPowerUp = 12,
  kSoundHeroFire = 13,
  kSoundGem = 14,
  kSoundCheckpoint = 15,
  kSoundHurt = 16,
  kSoundGemDissolves = 17,
};

class PlayHost {
 public:
  virtual void StartSound(std::int32_t id) = 0;
  // Runs the flow's EnterState at once; the caller's own step goes on after it.
  virtual void EnterState(std::int32_t state) = 0;
  virtual std::int32_t& MaxBounce() = 0;

 protected:
  ~PlayHost() = default;
};

// A host that plays nothing and keeps its own best bounce count, for tests
// and tools that run play without the flow. State requests are recorded.
class QuietHost final : public PlayHost {
 public:
  void StartSound(std::int32_t id) override { soundsStarted |= (id >= 0 && id < 32) ? (1u << id) : 0u; }
  void EnterState(std::int32_t state) override { lastState = state; ++stateChanges; }
  std::int32_t& MaxBounce() override { return maxBounce; }

  std::uint32_t soundsStarted = 0;
  std::int32_t lastState = -1;
  std::int32_t stateChanges = 0;
  std::int32_t maxBounce = 0;
};

}  // namespace quorin
