// Game controllers in the controls: Start as Escape, pads plugged in or
// pulled out while the game runs, JoystickId choosing among several.
#include <gtest/gtest.h>

#include "app/controls.h"
#include "app/settings.h"
#include "runtime/input.h"
#include "runtime/key_codes.h"
#include "runtime/null/input_null.h"
#include "runtime/null/null_video.h"
#include "runtime/window.h"

namespace quorin {
namespace {

constexpr int kFarRight = 1000;

class GamepadControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const EngineKey& key : EngineKeys()) {
      if (key.intField != nullptr) game.settings.*key.intField = static_cast<std::int32_t>(key.fallback);
      if (key.floatField != nullptr) game.settings.*key.floatField = key.fallback;
    }
    game.settings.Windowed = 1;
    game.input.device = &device;
    KeyboardInit(game.input);
    game.shell.displayRequest = 3;
    game.shell.internalAspect = 4.0f / 3.0f;
    video.printMessages = false;
    WindowSystemInit(game.windows, video);
    WindowOpen(game.windows, 0, 0, 0, 768, 576, "Quorin", kGameWindowFlags);
    device.windowWidth = 768;
    device.windowHeight = 576;
    device.desktopX = -50;  // outside the window: the mouse takes no part
  }

  void Frame() { UpdateControls(game); }
  void PlugIn(const JoystickReading& reading = {}) {
    device.joysticks.push_back(NullJoystick{true, reading});
    device.joysticksChanged = true;
  }
  void PullOut() {
    device.joysticks.pop_back();
    device.joysticksChanged = true;
  }

  NullVideo video;
  NullInputDevice device;
  Game game;
};

TEST_F(GamepadControlsTest, StartActsAsEscapeOnTheFrameItGoesDownOnly) {
  PlugIn();
  DetectJoystick(game);
  device.joysticks[0].reading.start = true;
  Frame();
  EXPECT_EQ(game.controls.escapePressed, 1);
  Frame();
  EXPECT_EQ(game.controls.escapePressed, 0);
  device.joysticks[0].reading.start = false;
  Frame();
  device.joysticks[0].reading.start = true;
  Frame();
  EXPECT_EQ(game.controls.escapePressed, 1);
}

TEST_F(GamepadControlsTest, StartAndTheEscapeKeyShareOneEdge) {
  PlugIn();
  DetectJoystick(game);
  device.SetKey(kKeyEscape, true);
  Frame();
  EXPECT_EQ(game.controls.escapePressed, 1);
  // Start joining a held Escape is no new press; nor is letting go of the key
  // while Start stays down.
  device.joysticks[0].reading.start = true;
  Frame();
  EXPECT_EQ(game.controls.escapePressed, 0);
  device.SetKey(kKeyEscape, false);
  Frame();
  EXPECT_EQ(game.controls.escapePressed, 0);
}

TEST_F(GamepadControlsTest, StartLeavesTheButtonsAlone) {
  PlugIn();
  DetectJoystick(game);
  device.joysticks[0].reading.start = true;
  Frame();
  EXPECT_EQ(game.controls.button1, 0);
  EXPECT_EQ(game.controls.button2, 0);
}

TEST_F(GamepadControlsTest, APadPluggedInDuringPlayIsReadFromTheNextFrame) {
  DetectJoystick(game);
  EXPECT_EQ(game.shell.joystickPresent, 0);
  Frame();
  JoystickReading right;
  right.x = kFarRight;
  right.buttons = 1u;
  PlugIn(right);
  Frame();
  EXPECT_EQ(game.shell.joystickPresent, 1);
  EXPECT_EQ(game.controls.dirX, 1);
  EXPECT_EQ(game.controls.button1, 1);
}

TEST_F(GamepadControlsTest, PullingOutTheLastPadStopsReadingIt) {
  JoystickReading right;
  right.x = kFarRight;
  PlugIn(right);
  DetectJoystick(game);
  Frame();
  EXPECT_EQ(game.controls.dirX, 1);
  PullOut();
  Frame();
  EXPECT_EQ(game.shell.joystickPresent, 0);
  EXPECT_EQ(game.controls.dirX, 0);
}

TEST_F(GamepadControlsTest, WithoutAChangeThePadsAreNotOpenedAgain) {
  PlugIn();
  DetectJoystick(game);
  // A stick added by hand without the change signal stays unseen, so the
  // list the game holds is only rebuilt when the platform says so.
  device.joysticks.push_back(NullJoystick{});
  Frame();
  EXPECT_EQ(game.input.joysticks.size(), 1u);
}

TEST_F(GamepadControlsTest, JoystickIdPicksThePadAfterAHotPlug) {
  DetectJoystick(game);
  game.settings.JoystickId = 1;
  JoystickReading left;
  left.x = -kFarRight;
  PlugIn();
  PlugIn(left);
  Frame();
  EXPECT_EQ(game.controls.dirX, -1);
  device.joysticks[0].reading.buttons = 1u;
  Frame();
  EXPECT_EQ(game.controls.button1, 0);  // pad 0 is not the chosen one
}

TEST(GamepadInputLayer, StartReadsHeldOnlyForTheChosenPadAndNoneBeyondTheList) {
  NullInputDevice device;
  InputSystem input;
  input.device = &device;
  device.joysticks.resize(2);
  device.joysticks[1].reading.start = true;
  ASSERT_EQ(JoystickInit(input), 2);
  JoystickPoll(input, 0);
  JoystickPoll(input, 1);
  EXPECT_EQ(JoystickStartHeld(input, 0), 0);
  EXPECT_EQ(JoystickStartHeld(input, 1), 128);
  EXPECT_EQ(JoystickStartHeld(input, 2), 0);
  EXPECT_EQ(JoystickStartHeld(input, -1), 0);
}

TEST(GamepadInputLayer, ChangesCountOnlyOnceAndOnlyAfterJoystickInit) {
  NullInputDevice device;
  InputSystem input;
  input.device = &device;
  device.joysticksChanged = true;
  EXPECT_EQ(JoystickDevicesChanged(input), 0);  // nothing opened yet to be stale
  JoystickInit(input);
  device.joysticksChanged = true;
  EXPECT_EQ(JoystickDevicesChanged(input), 1);
  EXPECT_EQ(JoystickDevicesChanged(input), 0);
}

}  // namespace
}  // namespace quorin
