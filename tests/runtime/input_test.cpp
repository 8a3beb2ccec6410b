#include "runtime/input.h"

#include <gtest/gtest.h>

#include "runtime/null/input_null.h"

namespace quorin {
namespace {

struct InputFixture : ::testing::Test {
  void SetUp() override { input.device = &device; }
  NullInputDevice device;
  InputSystem input;
};

using Keyboard = InputFixture;
using Joystick = InputFixture;
using Pointer = InputFixture;

TEST_F(Keyboard, NothingReadsHeldBeforeTheFirstSuccessfulPoll) {
  device.SetKey(kKeyZ, true);
  EXPECT_EQ(KeyIsHeld(input, kKeyZ), 0);
  EXPECT_EQ(KeyboardPoll(input), 0) << "not created yet";
  ASSERT_EQ(KeyboardInit(input), 1);
  ASSERT_EQ(KeyboardInit(input), 1) << "again: no effect";
  EXPECT_EQ(KeyIsHeld(input, kKeyZ), 0);
  EXPECT_EQ(KeyIsHeld(input, -1), 0);
  ASSERT_EQ(KeyboardPoll(input), 1);
  EXPECT_EQ(KeyIsHeld(input, kKeyZ), 128) << "128, not 1";
  EXPECT_EQ(KeyIsHeld(input, kKeyX), 0);
}

TEST_F(Keyboard, AFailedPollReadsEveryKeyUpUntilOneSucceeds) {
  KeyboardInit(input);
  device.SetKey(kKeyUp, true);
  ASSERT_EQ(KeyboardPoll(input), 1);
  device.keyboardReadable = false;  // the window went to the background
  EXPECT_EQ(KeyboardPoll(input), 0);
  EXPECT_EQ(input.keyboard.state, kKeyboardCreated);
  EXPECT_EQ(KeyIsHeld(input, kKeyUp), 0);
  EXPECT_EQ(KeyIsHeld(input, -1), 0);
  device.keyboardReadable = true;
  ASSERT_EQ(KeyboardPoll(input), 1);
  EXPECT_EQ(input.keyboard.state, kKeyboardAcquired);
  EXPECT_EQ(KeyIsHeld(input, kKeyUp), 128);
  device.SetKey(kKeyUp, false);
  EXPECT_EQ(KeyIsHeld(input, kKeyUp), 128) << "the snapshot changes only on a poll";
  KeyboardPoll(input);
  EXPECT_EQ(KeyIsHeld(input, kKeyUp), 0);
}

TEST_F(Keyboard, AnyKeyCoversCodesZeroTo254AndOddCodesReadZero) {
  KeyboardInit(input);
  device.SetKey(255, true);
  KeyboardPoll(input);
  EXPECT_EQ(KeyIsHeld(input, 255), 128);
  EXPECT_EQ(KeyIsHeld(input, -1), 0) << "255 is not a key for the any-key ask";
  device.SetKey(0, true);
  KeyboardPoll(input);
  EXPECT_EQ(KeyIsHeld(input, -1), 1);
  device.SetKey(0, false);
  device.SetKey(254, true);
  KeyboardPoll(input);
  EXPECT_EQ(KeyIsHeld(input, -1), 1);
  EXPECT_EQ(KeyIsHeld(input, 256), 0);
  EXPECT_EQ(KeyIsHeld(input, -2), 0);
  EXPECT_EQ(KeyIsHeld(input, 100000), 0);
}

TEST_F(Joystick, DirectionsCountOnlyStrictlyBeyond500) {
  device.joysticks.resize(1);
  ASSERT_EQ(JoystickInit(input), 1);
  const struct {
    int axis;
    int dir;
  } cases[] = {{500, 0}, {-500, 0}, {501, 1}, {-501, -1}, {0, 0}, {1000, 1}, {-1000, -1}};
  for (const auto& c : cases) {
    device.joysticks[0].reading.x = c.axis;
    device.joysticks[0].reading.y = -c.axis;
    ASSERT_EQ(JoystickPoll(input, 0), 1);
    EXPECT_EQ(JoystickDirX(input, 0), c.dir) << c.axis;
    EXPECT_EQ(JoystickDirY(input, 0), -c.dir) << c.axis;
  }
}

TEST_F(Joystick, ButtonsCountFromOneUpTo32) {
  device.joysticks.resize(2);
  device.joysticks[1].reading.buttons = 0x1u | 0x80000000u;
  ASSERT_EQ(JoystickInit(input), 2);
  ASSERT_EQ(JoystickPoll(input, 1), 1);
  EXPECT_EQ(JoystickButtonHeld(input, 1, 1), 128) << "button 1 is the device's first";
  EXPECT_EQ(JoystickButtonHeld(input, 1, 2), 0);
  EXPECT_EQ(JoystickButtonHeld(input, 1, 32), 128);
  EXPECT_EQ(JoystickButtonHeld(input, 1, 33), 0);
  EXPECT_EQ(JoystickButtonHeld(input, 1, 0), 0);
  EXPECT_EQ(JoystickButtonHeld(input, 0, 1), 0) << "joystick 0 was never polled";
}

TEST_F(Joystick, MissingAndLostJoysticksReadIdle) {
  EXPECT_EQ(JoystickInit(input), 0);
  EXPECT_EQ(JoystickPoll(input, 0), 0);
  EXPECT_EQ(JoystickDirX(input, 0), 0);
  EXPECT_EQ(JoystickButtonHeld(input, 0, 1), 0);
  EXPECT_EQ(JoystickDirX(input, -1), 0);

  device.joysticks.resize(1);
  device.joysticks[0].reading = JoystickReading{1000, 0, 1};
  ASSERT_EQ(JoystickInit(input), 1) << "a second init re-enumerates";
  ASSERT_EQ(JoystickPoll(input, 0), 1);
  EXPECT_EQ(JoystickDirX(input, 0), 1);
  device.joysticks[0].readable = false;  // unplugged while held right
  EXPECT_EQ(JoystickPoll(input, 0), 0);
  EXPECT_EQ(JoystickDirX(input, 0), 0);
  EXPECT_EQ(JoystickButtonHeld(input, 0, 1), 0);
  JoystickShutdown(input);
  EXPECT_EQ(JoystickPoll(input, 0), 0);
  InputSystem none;
  EXPECT_EQ(JoystickInit(none), 0);
}

TEST(JoystickAxis, RawRangesScaleOnto1000EitherWay) {
  EXPECT_EQ(JoystickAxisScale(-32768, -32768, 32767), -1000);
  EXPECT_EQ(JoystickAxisScale(32767, -32768, 32767), 1000);
  EXPECT_EQ(JoystickAxisScale(0, -32768, 32767), 0);
  EXPECT_EQ(JoystickAxisScale(-1, -32768, 32767), 0);
  EXPECT_EQ(JoystickAxisScale(16384, -32768, 32767), 500) << "half way reads as the dead zone edge";
  EXPECT_EQ(JoystickAxisScale(16400, -32768, 32767), 501);
  EXPECT_EQ(JoystickAxisScale(40000, -32768, 32767), 1000);
  EXPECT_EQ(JoystickAxisScale(5, 5, 5), 0);
}

TEST_F(Pointer, InsideTheClientAreaOnlyAndTheEdgesAreOutside) {
  const NativeWindow window = 1;
  device.windowLeft = 100;
  device.windowTop = 50;
  device.windowWidth = 640;
  device.windowHeight = 480;
  device.desktopX = 100;
  device.desktopY = 50;
  EXPECT_EQ(WindowPointerX(input, window), 0);
  EXPECT_EQ(WindowPointerY(input, window), 0);
  device.desktopX = 100 + 639;
  device.desktopY = 50 + 479;
  EXPECT_EQ(WindowPointerX(input, window), 639);
  EXPECT_EQ(WindowPointerY(input, window), 479);
  device.desktopX = 100 + 640;  // exactly on the client width
  EXPECT_EQ(WindowPointerX(input, window), -1);
  EXPECT_EQ(WindowPointerY(input, window), -1);
  device.desktopX = 300;
  device.desktopY = 50 + 480;  // exactly on the height
  EXPECT_EQ(WindowPointerX(input, window), -1);
  device.desktopY = 49;
  EXPECT_EQ(WindowPointerX(input, window), -1);
  device.desktopY = 60;
  device.desktopX = 99;
  EXPECT_EQ(WindowPointerY(input, window), -1);
  EXPECT_EQ(DesktopPointerX(input), 99);
  EXPECT_EQ(DesktopPointerY(input), 60);
  device.desktopX = 300;
  EXPECT_EQ(WindowPointerX(input, 0), -1) << "no window";
  device.windowExists = false;
  EXPECT_EQ(WindowPointerX(input, window), -1);
}

TEST_F(Pointer, AClickBetweenTwoAsksStillCounts) {
  device.SetMouseButton(1, true);
  device.SetMouseButton(1, false);
  EXPECT_EQ(MouseButtonDown(input, 1), 1);
  EXPECT_EQ(MouseButtonDown(input, 1), 0);
  device.SetMouseButton(2, true);
  EXPECT_EQ(MouseButtonDown(input, 2), 1);
  EXPECT_EQ(MouseButtonDown(input, 2), 1) << "held";
  EXPECT_EQ(MouseButtonDown(input, 1), 0);
  EXPECT_EQ(MouseButtonDown(input, 3), 0);
}

}  // namespace
}  // namespace quorin
