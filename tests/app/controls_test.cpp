#include "app/controls.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/settings.h"
#include "runtime/null/input_null.h"
#include "runtime/null/null_video.h"
#include "runtime/window.h"

namespace quorin {
namespace {

constexpr int kWindowLeft = 100;  // client origin of the game window on the desktop
constexpr int kWindowTop = 50;

class ControlsTest : public ::testing::Test {
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
    game.shell.screenWidth = 1920;
    game.shell.screenHeight = 1080;
    game.shell.displayAspect = 16.0f / 9.0f;
    game.shell.internalAspect = 4.0f / 3.0f;
    video.printMessages = false;
    WindowSystemInit(game.windows, video);
    WindowOpen(game.windows, 0, 0, 0, 768, 576, "Quorin", kGameWindowFlags);
    device.windowLeft = kWindowLeft;
    device.windowTop = kWindowTop;
    device.windowWidth = 768;
    device.windowHeight = 576;
    device.desktopX = 0;  // outside the window
    device.desktopY = 0;
  }

  void Frame() { UpdateControls(game); }
  void Key(int code, bool down) { device.SetKey(code, down); }
  void PointAtClient(int x, int y) {
    device.desktopX = kWindowLeft + x;
    device.desktopY = kWindowTop + y;
  }
  void AddJoystick() {
    device.joysticks.emplace_back();
    DetectJoystick(game);
  }
  JoystickReading& Stick() { return device.joysticks[0].reading; }

  NullVideo video;
  NullInputDevice device;
  Game game;
};

// Directions and buttons from every source.

TEST_F(ControlsTest, KeyAndJoystickDirectionsAddUpAndAreClamped) {
  AddJoystick();
  Key(kKeyRight, true);
  Stick().x = 1000;
  Frame();
  EXPECT_EQ(game.controls.dirX, 1);
  Stick().x = -1000;
  Frame();
  EXPECT_EQ(game.controls.dirX, 0);
  Key(kKeyRight, false);
  Key(kKeyUp, true);
  Stick().x = 0;
  Stick().y = -501;
  Frame();
  EXPECT_EQ(game.controls.dirY, -1);
  EXPECT_EQ(game.controls.dirX, 0);
  Key(kKeyUp, false);
  Stick().y = -500;  // inside the dead zone
  Frame();
  EXPECT_EQ(game.controls.dirY, 0);
}

TEST_F(ControlsTest, JoystickReadOnlyWhenDetectedAndNamed) {
  device.joysticks.emplace_back();  // plugged in after start-up: never polled
  JoystickInit(game.input);
  Stick().x = 1000;
  Frame();
  EXPECT_EQ(game.controls.dirX, 0);
  DetectJoystick(game);
  EXPECT_EQ(game.shell.joystickPresent, 1);
  Frame();
  EXPECT_EQ(game.controls.dirX, 1);
  game.settings.JoystickId = 3;  // no such joystick: idle
  game.settings.KeyLeft = 999;   // no such key: never down
  Frame();
  EXPECT_EQ(game.controls.dirX, 0);
}

TEST_F(ControlsTest, OddJoystickButtonsAreButtonOneEvenAreButtonTwo) {
  AddJoystick();
  game.settings.JoystickButtons = 4;
  Stick().buttons = 1u << 2;  // button 3
  Frame();
  EXPECT_EQ(game.controls.button1, 1);
  EXPECT_EQ(game.controls.button2, 0);
  Stick().buttons = 1u << 3;  // button 4
  Frame();
  EXPECT_EQ(game.controls.button1, 0);
  EXPECT_EQ(game.controls.button2, 1);
  Stick().buttons = 1u << 4;  // button 5: beyond JoystickButtons
  Frame();
  EXPECT_EQ(game.controls.button1, 0);
  // A huge count reads the 32 buttons the device has, and no more.
  game.settings.JoystickButtons = std::numeric_limits<std::int32_t>::max();
  Stick().buttons = 1u << 31;  // button 32
  Frame();
  EXPECT_EQ(game.controls.button2, 1);
}

TEST_F(ControlsTest, PressedMarksOnlyTheFirstFrameOfAHold) {
  Key(kKeyZ, true);
  Frame();
  EXPECT_EQ(game.controls.button1, 1);
  EXPECT_EQ(game.controls.button1Pressed, 1);
  Frame();
  EXPECT_EQ(game.controls.button1, 1);
  EXPECT_EQ(game.controls.button1Pressed, 0);
  Key(kKeyZ, false);
  Frame();
  EXPECT_EQ(game.controls.button1, 0);
  // A click shorter than a frame still counts once.
  device.SetMouseButton(kMouseRight, true);
  device.SetMouseButton(kMouseRight, false);
  Frame();
  EXPECT_EQ(game.controls.button2, 1);
  EXPECT_EQ(game.controls.button2Pressed, 1);
  Frame();
  EXPECT_EQ(game.controls.button2, 0);
  EXPECT_EQ(game.controls.button2Pressed, 0);
}

TEST_F(ControlsTest, SwapButtonsSwapsEverySource) {
  AddJoystick();
  game.settings.SwapButtons = 1;
  Key(kKeyZ, true);
  Frame();
  EXPECT_EQ(game.controls.button1, 0);
  EXPECT_EQ(game.controls.button2, 1);
  EXPECT_EQ(game.controls.button2Pressed, 1);
  Key(kKeyZ, false);
  Stick().buttons = 1;  // joystick button 1
  Frame();
  EXPECT_EQ(game.controls.button2, 1);
  EXPECT_EQ(game.controls.button2Pressed, 0);  // still held since the last frame
  Stick().buttons = 0;
  device.SetMouseButton(kMouseLeft, true);
  Frame();
  EXPECT_EQ(game.controls.button1, 0);
  EXPECT_EQ(game.controls.button2, 1);
  device.SetMouseButton(kMouseLeft, false);
  Frame();
  Key(kKeyX, true);
  Stick().buttons = 2;  // joystick button 2
  device.SetMouseButton(kMouseRight, true);
  Frame();
  EXPECT_EQ(game.controls.button1, 1);
  EXPECT_EQ(game.controls.button2, 0);
}

TEST_F(ControlsTest, EscapeMarksOnlyTheFrameItGoesDown) {
  Key(kKeyEscape, true);
  Frame();
  EXPECT_EQ(game.controls.escapePressed, 1);
  Frame();
  EXPECT_EQ(game.controls.escapePressed, 0);
  Key(kKeyEscape, false);
  Frame();
  EXPECT_EQ(game.controls.escapePressed, 0);
  Key(kKeyEscape, true);
  Frame();
  EXPECT_EQ(game.controls.escapePressed, 1);
  // An unreadable keyboard (window in the background) reads as all keys up.
  device.keyboardReadable = false;
  Frame();
  EXPECT_EQ(game.controls.escapePressed, 0);
  device.keyboardReadable = true;
  Frame();
  EXPECT_EQ(game.controls.escapePressed, 1);
}

// The Alt combinations.

TEST_F(ControlsTest, AltEnterNeedsAltAloneFirstAndTogglesOncePerPress) {
  Key(kKeyLeftAlt, true);
  Key(kKeyReturn, true);
  Frame();
  EXPECT_EQ(game.shell.displayRequest, 3);  // same frame from idle: not armed
  Key(kKeyReturn, false);
  Frame();
  EXPECT_EQ(game.shell.displayRequest, 0);
  Key(kKeyReturn, true);
  Frame();
  EXPECT_EQ(game.shell.displayRequest, 1);
  game.shell.displayRequest = 3;  // the main loop services the toggle
  Frame();
  Frame();
  EXPECT_EQ(game.shell.displayRequest, 3);  // held: no second toggle
  Key(kKeyReturn, false);
  Frame();
  Key(kKeyReturn, true);
  Frame();
  EXPECT_EQ(game.shell.displayRequest, 1);
  // Without Left Alt the request is left as it is (Right Alt does not count).
  Key(kKeyLeftAlt, false);
  Key(kKeyRightAlt, true);
  Key(kKeyReturn, false);
  Frame();
  EXPECT_EQ(game.shell.displayRequest, 1);
}

TEST_F(ControlsTest, AltEnterClearsKeyButtonOneButNotTheMouse) {
  game.settings.Key1 = kKeyReturn;
  Key(kKeyLeftAlt, true);
  Key(kKeyReturn, true);
  Frame();
  EXPECT_EQ(game.controls.button1, 0);
  device.SetMouseButton(kMouseLeft, true);
  Frame();
  EXPECT_EQ(game.controls.button1, 1);
  Key(kKeyLeftAlt, false);
  device.SetMouseButton(kMouseLeft, false);
  Frame();
  EXPECT_EQ(game.controls.button1, 1);  // Enter alone is just Key1
}

TEST_F(ControlsTest, AltTabMinimisesOncePerPressOnlyInFullScreen) {
  Key(kKeyLeftAlt, true);
  Key(kKeyTab, true);
  Frame();
  EXPECT_EQ(game.shell.minimiseRequest, 0);  // a window: the desktop handles it
  game.settings.Windowed = 0;
  Frame();
  EXPECT_EQ(game.shell.minimiseRequest, 1);
  game.shell.minimiseRequest = 2;  // the main loop minimised
  Frame();
  EXPECT_EQ(game.shell.minimiseRequest, 2);
  Key(kKeyTab, false);
  Frame();
  EXPECT_EQ(game.shell.minimiseRequest, 0);
  Key(kKeyTab, true);
  Frame();
  EXPECT_EQ(game.shell.minimiseRequest, 1);
}

TEST_F(ControlsTest, LeftAltF4Quits) {
  Key(kKeyF4, true);
  Frame();
  Key(kKeyRightAlt, true);
  Frame();
  EXPECT_EQ(game.shell.quitFlag, 0);
  Key(kKeyLeftAlt, true);
  Frame();
  EXPECT_EQ(game.shell.quitFlag, 1);
}

// The pointer in a window.

TEST_F(ControlsTest, OutsideTheWindowTheSystemCursorShowsAndThePointerStays) {
  game.shell.pointerX = 100;
  game.shell.pointerY = 50;
  game.shell.lastDesktopX = 7;
  device.cursorShown = false;
  PointAtClient(768, 10);  // exactly on the client width is outside
  Frame();
  EXPECT_TRUE(device.cursorShown);
  EXPECT_EQ(game.shell.lastDesktopX, -1);
  EXPECT_EQ(game.shell.lastDesktopY, -1);
  EXPECT_FLOAT_EQ(game.shell.pointerX, 100);
  EXPECT_FLOAT_EQ(game.shell.pointerY, 50);
}

TEST_F(ControlsTest, AbsoluteWindowPointerFollowsTheSystemPointerOnceItMoves) {
  game.shell.pointerX = 100;
  PointAtClient(384, 288);
  Frame();  // coming in only sets the reference
  EXPECT_FALSE(device.cursorShown);
  EXPECT_FLOAT_EQ(game.shell.pointerX, 100);
  EXPECT_EQ(game.shell.lastDesktopX, kWindowLeft + 384);
  PointAtClient(384, 300);
  Frame();
  EXPECT_FLOAT_EQ(game.shell.pointerX, 256);
  EXPECT_FLOAT_EQ(game.shell.pointerY, 200);
  // A still mouse leaves the pointer to the direction keys.
  game.settings.JoyCursor = 1;
  Key(kKeyRight, true);
  Frame();
  EXPECT_FLOAT_EQ(game.shell.pointerX, 262);
  EXPECT_EQ(device.cursorPlacements, 0);
}

TEST_F(ControlsTest, RelativeWindowPointerMovesByScaledMotionAndDragsTheCursor) {
  game.settings.WindowCursorScaling = 1;
  game.shell.pointerX = 100;
  game.shell.pointerY = 100;
  PointAtClient(300, 300);
  Frame();
  EXPECT_FLOAT_EQ(game.shell.pointerX, 100);  // fresh reference, no jump
  PointAtClient(330, 285);
  Frame();
  EXPECT_FLOAT_EQ(game.shell.pointerX, 120);
  EXPECT_FLOAT_EQ(game.shell.pointerY, 90);
  // The system cursor sits under the game pointer and is the new reference.
  EXPECT_EQ(device.desktopX, kWindowLeft + 180);
  EXPECT_EQ(device.desktopY, kWindowTop + 135);
  EXPECT_EQ(game.shell.lastDesktopX, kWindowLeft + 180);
  EXPECT_EQ(game.shell.lastDesktopY, kWindowTop + 135);
  game.shell.pointerSpeedFactor = 0.4f;
  device.desktopX += 30;
  Frame();
  EXPECT_FLOAT_EQ(game.shell.pointerX, 128);
}

TEST_F(ControlsTest, RelativeWindowPointerPushedPastAnEdgeLetsTheMouseOut) {
  game.settings.WindowCursorScaling = 1;
  game.shell.pointerX = 5;
  game.shell.pointerY = 100;
  PointAtClient(40, 150);
  Frame();
  device.desktopX -= 30;  // still inside; 20 internal pixels to the left
  Frame();
  EXPECT_FLOAT_EQ(game.shell.pointerX, 0);
  EXPECT_LT(device.desktopX, kWindowLeft);
  Frame();
  EXPECT_TRUE(device.cursorShown);
  EXPECT_EQ(game.shell.lastDesktopX, -1);
}

// The pointer in full screen.

TEST_F(ControlsTest, FullScreenMotionIsScaledByTheWindowWidthAndRecentred) {
  game.settings.Windowed = 0;
  game.settings.FullscreenMouseSpeed = 0.75f;
  device.cursorShown = false;
  game.shell.pointerX = 200;
  game.shell.pointerY = 150;
  device.desktopX = 1000;
  device.desktopY = 600;
  Frame();  // no reference yet: no jump, only re-centred
  EXPECT_FLOAT_EQ(game.shell.pointerX, 200);
  EXPECT_EQ(game.shell.lastDesktopX, 960);
  EXPECT_EQ(game.shell.lastDesktopY, 540);
  device.desktopX = 960 + 40;
  device.desktopY = 540 - 16;
  Frame();
  EXPECT_FLOAT_EQ(game.shell.pointerX, 200 + 40 * 512.0f / 768 * 0.75f);
  EXPECT_FLOAT_EQ(game.shell.pointerY, 150 - 16 * 512.0f / 768 * 0.75f);
  EXPECT_EQ(device.desktopX, 960);
  EXPECT_EQ(device.desktopY, 540);
  EXPECT_FALSE(device.cursorShown);
  const int placements = device.cursorPlacements;
  Frame();  // a still mouse: nothing moves
  EXPECT_EQ(device.cursorPlacements, placements);
  EXPECT_FLOAT_EQ(game.shell.pointerX, 200 + 40 * 512.0f / 768 * 0.75f);
}

TEST_F(ControlsTest, TabletModeMapsTheScreenOntoThePicturePlacement) {
  game.settings.Windowed = 0;
  game.settings.TabletMode = 1;
  // 4:3 picture on a 16:9 screen: 240-pixel bars left and right.
  device.desktopX = 240;
  device.desktopY = 540;
  Frame();
  EXPECT_NEAR(game.shell.pointerX, 0, 1e-3);
  EXPECT_NEAR(game.shell.pointerY, 192, 1e-3);
  device.desktopX = 960;
  device.desktopY = 1079;
  Frame();
  EXPECT_NEAR(game.shell.pointerX, 256, 1e-3);
  EXPECT_NEAR(game.shell.pointerY, 1079.0f / 1080 * 384, 1e-3);
  device.desktopX = 100;  // on a bar: held at the picture's edge
  Frame();
  EXPECT_FLOAT_EQ(game.shell.pointerX, 0);
  EXPECT_EQ(device.cursorPlacements, 0);

  // Same shape: the whole screen is the picture.
  game.shell.internalAspect = 16.0f / 9.0f;
  device.desktopX = 480;
  device.desktopY = 540;
  Frame();
  EXPECT_NEAR(game.shell.pointerX, 128, 1e-3);
  EXPECT_NEAR(game.shell.pointerY, 144, 1e-3);

  // 4:3 picture on a 5:4 screen: 32-pixel bands above and below.
  game.shell.screenWidth = 1280;
  game.shell.screenHeight = 1024;
  game.shell.displayAspect = 1.25f;
  game.shell.internalAspect = 4.0f / 3.0f;
  device.desktopX = 640;
  device.desktopY = 32;
  Frame();
  EXPECT_NEAR(game.shell.pointerX, 256, 1e-3);
  EXPECT_NEAR(game.shell.pointerY, 0, 1e-3);
  device.desktopY = 992;
  Frame();
  EXPECT_NEAR(game.shell.pointerY, 384, 1e-3);
}

// A full-screen size the display has no mode for: the desktop keeps its
// 1920 x 1080 mode and the 1280 x 720 screen is shown enlarged by 1.5.
class ScaledFullScreenTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    game.settings.Windowed = 0;
    game.shell.screenWidth = 1280;
    game.shell.screenHeight = 720;
    video.scaledFullscreen = true;
    game.video.device = &video;
    ASSERT_EQ(ScreenOpenFullscreen(game.video, 1280, 720, 32, "Quorin", 1, 0), 1);
  }
  void TearDown() override { ScreenClose(game.video); }
};

TEST_F(ScaledFullScreenTest, TabletModeMapsTheWholeDisplayOntoThePicture) {
  game.settings.TabletMode = 1;
  game.shell.internalAspect = game.shell.displayAspect;  // the picture fills the screen
  device.desktopX = 1919;
  device.desktopY = 1079;
  Frame();
  EXPECT_NEAR(game.shell.pointerX, 1919.0f / 1920 * 512, 1e-3);
  EXPECT_NEAR(game.shell.pointerY, 1079.0f / 1080 * 288, 1e-3);
  device.desktopX = 0;
  device.desktopY = 0;
  Frame();
  EXPECT_NEAR(game.shell.pointerX, 0, 1e-3);
  EXPECT_NEAR(game.shell.pointerY, 0, 1e-3);
  device.desktopX = 960;
  device.desktopY = 540;
  Frame();
  EXPECT_NEAR(game.shell.pointerX, 256, 1e-3);
  EXPECT_NEAR(game.shell.pointerY, 144, 1e-3);
  EXPECT_EQ(device.cursorPlacements, 0);
}

TEST_F(ScaledFullScreenTest, TabletModeBarsScaleWithTheScreen) {
  game.settings.TabletMode = 1;  // 4:3 picture: bars of 160 screen, 240 desktop pixels
  device.desktopX = 240;
  device.desktopY = 540;
  Frame();
  EXPECT_NEAR(game.shell.pointerX, 0, 1e-3);
  EXPECT_NEAR(game.shell.pointerY, 192, 1e-3);
  device.desktopX = 1680;
  device.desktopY = 1080;
  Frame();
  EXPECT_NEAR(game.shell.pointerX, 512, 1e-3);
  EXPECT_NEAR(game.shell.pointerY, 384, 1e-3);
}

TEST_F(ScaledFullScreenTest, RelativeModeRecentresOnTheDisplayAndKeepsDesktopMotion) {
  game.shell.pointerX = 100;
  game.shell.pointerY = 100;
  device.desktopX = 300;
  device.desktopY = 200;
  Frame();  // the reference only
  EXPECT_EQ(device.desktopX, 960);
  EXPECT_EQ(device.desktopY, 540);
  device.desktopX = 960 + 30;
  device.desktopY = 540 + 12;
  Frame();
  EXPECT_FLOAT_EQ(game.shell.pointerX, 100 + 30 * 512.0f / 768 * 0.8f);
  EXPECT_FLOAT_EQ(game.shell.pointerY, 100 + 12 * 512.0f / 768 * 0.8f);
  EXPECT_EQ(device.desktopX, 960);
  EXPECT_EQ(device.desktopY, 540);
}

// The pointer steered by the directions, and the clamps.

TEST_F(ControlsTest, DirectionsSteerThePointerNeverFasterOnADiagonal) {
  game.settings.JoyCursor = 1;
  game.shell.pointerX = 100;
  game.shell.pointerY = 100;
  Key(kKeyRight, true);
  Key(kKeyDown, true);
  Frame();
  const float step = 6 * std::cos(std::atan2(1.0f, 1.0f));
  EXPECT_NEAR(game.shell.pointerX, 100 + step, 1e-4);
  EXPECT_NEAR(game.shell.pointerY, 100 + step, 1e-4);
  EXPECT_NEAR(step, 4.2426f, 1e-4);
  // Joystick and key in the same direction count once.
  AddJoystick();
  Stick().x = 1000;
  Key(kKeyDown, false);
  game.shell.pointerX = 100;
  Frame();
  EXPECT_FLOAT_EQ(game.shell.pointerX, 106);
  game.shell.pointerSpeedFactor = 0.4f;
  Frame();
  EXPECT_NEAR(game.shell.pointerX, 108.4f, 1e-4);
  game.settings.JoyCursor = 0;
  Frame();
  EXPECT_NEAR(game.shell.pointerX, 108.4f, 1e-4);
}

TEST_F(ControlsTest, PointerIsHeldInsideThePicture) {
  game.settings.JoyCursor = 1;
  game.shell.pointerX = 510;
  game.shell.pointerY = 383;
  Key(kKeyRight, true);
  Key(kKeyDown, true);
  Frame();
  EXPECT_EQ(game.shell.pointerX, 512.0f);
  EXPECT_EQ(game.shell.pointerY, 384.0f);
  Key(kKeyRight, false);
  Key(kKeyDown, false);
  Key(kKeyLeft, true);
  Key(kKeyUp, true);
  game.shell.pointerX = 2;
  game.shell.pointerY = 1;
  Frame();
  EXPECT_EQ(game.shell.pointerX, 0.0f);
  EXPECT_EQ(game.shell.pointerY, 0.0f);
  // The bottom is the unrounded picture height.
  game.shell.internalAspect = 1.25f;
  Key(kKeyUp, false);
  Key(kKeyDown, true);
  game.shell.pointerY = 409;
  Frame();
  EXPECT_FLOAT_EQ(game.shell.pointerY, 409.6f);
}

TEST_F(ControlsTest, AbsurdSpeedSettingsStillLeaveThePointerOnThePicture) {
  game.settings.Windowed = 0;
  game.settings.Windowwidth = 0;
  game.settings.FullscreenMouseSpeed = std::numeric_limits<float>::infinity();
  game.settings.JoyCursor = 1;
  game.settings.Cursorspeed = std::numeric_limits<float>::infinity();
  game.shell.lastDesktopX = 900;
  game.shell.lastDesktopY = 500;
  device.desktopX = 900;
  device.desktopY = 520;
  Key(kKeyUp, true);
  Key(kKeyLeft, true);
  Frame();
  EXPECT_TRUE(game.shell.pointerX >= 0 && game.shell.pointerX <= 512);
  EXPECT_TRUE(game.shell.pointerY >= 0 && game.shell.pointerY <= 384);
  game.settings.Windowwidth = 768;
  device.desktopX = 960;  // the centre: no horizontal motion
  device.desktopY = 541;
  Key(kKeyUp, false);
  Key(kKeyLeft, false);
  Frame();  // zero motion times an infinite speed
  EXPECT_TRUE(game.shell.pointerX >= 0 && game.shell.pointerX <= 512);
  EXPECT_TRUE(game.shell.pointerY >= 0 && game.shell.pointerY <= 384);
}

}  // namespace
}  // namespace quorin
