// The real start-up and main loop on SDL (dummy video) with a virtual game
// controller plugged in after start: the pad steers the pointer onto START,
// its bottom face button chooses it, its stick walks the hero and Start pauses.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "app/game_main.h"
#include "runtime/null/audio_null.h"
#include "runtime/null/null_clock.h"
#include "runtime/sdl/input_sdl.h"
#include "runtime/sdl/sdl_video.h"
#include "tests/support/temp_dir.h"
#include "world/play_host.h"

namespace quorin {
namespace {

constexpr int kPadAxes = SDL_CONTROLLER_AXIS_MAX;
constexpr int kPadButtons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;
constexpr std::int64_t kPlugInIteration = 5;
constexpr std::int64_t kIterationLimit = 600;
constexpr int kWalkFrames = 60;
constexpr float kSteerTolerance = 3.0f;

enum class Step { kWaitForPlugIn, kSteer, kChoose, kWaitForPlay, kWalk, kPause, kDone };

class GamepadPlayTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // SDL drops pad input while none of its windows has the keyboard, and the
    // dummy driver never gives a window the keyboard; the game itself reads
    // the pad only while it has the focus.
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
  }

  void Button(SDL_GameControllerButton button, bool down) {
    SDL_JoystickSetVirtualButton(pad, button, down ? 1 : 0);
  }
  // Holds the d-pad toward (x, y) of the picture; true once the pointer is there.
  bool SteerTo(const Game& game, float x, float y) {
    const float dx = x - game.shell.pointerX;
    const float dy = y - game.shell.pointerY;
    Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, dx > kSteerTolerance);
    Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, dx < -kSteerTolerance);
    Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, dy > kSteerTolerance);
    Button(SDL_CONTROLLER_BUTTON_DPAD_UP, dy < -kSteerTolerance);
    return std::abs(dx) <= kSteerTolerance && std::abs(dy) <= kSteerTolerance;
  }

  testing::TempDir dir;
  SDL_Joystick* pad = nullptr;
};

TEST_F(GamepadPlayTest, AVirtualControllerPluggedInLateStartsAGameWalksAndPauses) {
  NullClock clock;
  NullAudioDevice audio;
  std::int32_t heroStartX = 0;
  std::int32_t heroWalkedX = 0;
  int walked = 0;
  int presentAfterPlugIn = -1;
  bool pausedByStart = false;
  Step step = Step::kWaitForPlugIn;
  {
    SdlVideo video;
    ASSERT_TRUE(video.Ready()) << SDL_GetError();
    const std::unique_ptr<InputDevice> input = CreateSdlInputDevice();
    const Platform platform{&clock, &video, &audio, input.get()};
    auto game = std::make_unique<Game>();

    MainLoopHooks hooks;
    hooks.beforeIteration = [&](Game& g, std::int64_t k) {
      if (k >= kIterationLimit || step == Step::kDone) return false;
      switch (step) {
        case Step::kWaitForPlugIn:
          if (k == kPlugInIteration) {
            EXPECT_EQ(g.shell.joystickPresent, 0);
            const int index =
                SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, kPadAxes, kPadButtons, 0);
            pad = index < 0 ? nullptr : SDL_JoystickOpen(index);
            if (pad == nullptr) return false;
            step = Step::kSteer;
          }
          break;
        case Step::kSteer: {
          if (presentAfterPlugIn < 0) presentAfterPlugIn = g.shell.joystickPresent;
          // START is right-aligned at x 460 on a 16-pixel line.
          const float startY = static_cast<float>((g.shell.internalHeight - 118) / 2 + 86 + 8);
          if (SteerTo(g, 440.0f, startY) && g.flow.hoveredEntry == 1) {
            SteerTo(g, g.shell.pointerX, g.shell.pointerY);
            Button(SDL_CONTROLLER_BUTTON_A, true);
            step = Step::kChoose;
          }
          break;
        }
        case Step::kChoose:
          Button(SDL_CONTROLLER_BUTTON_A, false);
          step = Step::kWaitForPlay;
          break;
        case Step::kWaitForPlay:
          if (g.flow.GameState == kPlaying) {
            heroStartX = g.world.player.x;
            SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, SDL_JOYSTICK_AXIS_MAX);
            step = Step::kWalk;
          }
          break;
        case Step::kWalk:
          if (++walked == kWalkFrames) {
            heroWalkedX = g.world.player.x;
            SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, 0);
            Button(SDL_CONTROLLER_BUTTON_START, true);
            step = Step::kPause;
          }
          break;
        case Step::kPause:
          pausedByStart = g.flow.GameState == kPaused;
          step = Step::kDone;
          break;
        case Step::kDone:
          break;
      }
      return true;
    };
    EXPECT_EQ(GameMain(*game, platform, hooks), 0);
    if (pad != nullptr) {
      SDL_JoystickClose(pad);
      for (int i = SDL_NumJoysticks() - 1; i >= 0; --i) {
        if (SDL_JoystickIsVirtual(i)) SDL_JoystickDetachVirtual(i);
      }
    }
  }
  ASSERT_NE(pad, nullptr) << SDL_GetError();
  EXPECT_EQ(presentAfterPlugIn, 1);
  EXPECT_EQ(step, Step::kDone) << "stopped at step " << static_cast<int>(step);
  EXPECT_GT(heroWalkedX, heroStartX) << "the stick held right did not walk the hero right";
  EXPECT_TRUE(pausedByStart);
}

}  // namespace
}  // namespace quorin
