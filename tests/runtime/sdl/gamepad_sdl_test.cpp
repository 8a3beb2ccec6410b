// Game controllers on SDL, through SDL's virtual joysticks: the button
// mapping, the raw rules for sticks without a mapping, SDL_GAMECONTROLLERCONFIG
// and hot-plugging.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "runtime/sdl/input_sdl.h"

namespace quorin {
namespace {

constexpr int kPadAxes = SDL_CONTROLLER_AXIS_MAX;
constexpr int kPadButtons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;

class SdlGamepadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device = CreateSdlInputDevice();
    // Opening starts SDL's controller support; virtual sticks need it.
    ASSERT_EQ(device->JoysticksOpen(), SDL_NumJoysticks()) << SDL_GetError();
    first = SDL_NumJoysticks();
  }
  void TearDown() override {
    device->JoysticksClose();
    while (SDL_NumJoysticks() > first) SDL_JoystickDetachVirtual(SDL_NumJoysticks() - 1);
    device.reset();
  }

  // A virtual pad SDL maps as a game controller: its buttons and axes are
  // numbered as SDL's controller buttons and axes.
  SDL_Joystick* AttachPad() {
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, kPadAxes, kPadButtons, 0);
    return index < 0 ? nullptr : SDL_JoystickOpen(index);
  }
  JoystickReading Read(int n) {
    JoystickReading reading;
    EXPECT_TRUE(device->ReadJoystick(n, reading));
    return reading;
  }

  std::unique_ptr<InputDevice> device;
  int first = 0;
};

TEST_F(SdlGamepadTest, BottomFaceIsButtonOneLeftFaceButtonTwoStartIsApart) {
  SDL_Joystick* pad = AttachPad();
  ASSERT_NE(pad, nullptr) << SDL_GetError();
  ASSERT_TRUE(device->JoysticksChanged());
  ASSERT_EQ(device->JoysticksOpen(), first + 1);
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
  EXPECT_EQ(Read(first).buttons, 1u);
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 0);
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_X, 1);
  EXPECT_EQ(Read(first).buttons, 2u);
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_X, 0);
  // The other face buttons mean nothing to the game.
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_B, 1);
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_Y, 1);
  JoystickReading reading = Read(first);
  EXPECT_EQ(reading.buttons, 0u);
  EXPECT_FALSE(reading.start);
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_START, 1);
  reading = Read(first);
  EXPECT_TRUE(reading.start);
  EXPECT_EQ(reading.buttons, 0u);
  SDL_JoystickClose(pad);
}

TEST_F(SdlGamepadTest, LeftStickAndDpadSteerAndTheDpadWins) {
  SDL_Joystick* pad = AttachPad();
  ASSERT_NE(pad, nullptr) << SDL_GetError();
  ASSERT_EQ(device->JoysticksOpen(), first + 1);
  SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, SDL_JOYSTICK_AXIS_MAX);
  SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, SDL_JOYSTICK_AXIS_MIN);
  JoystickReading reading = Read(first);
  EXPECT_EQ(reading.x, 1000);
  EXPECT_EQ(reading.y, -1000);
  // The right stick is not a direction.
  SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, 0);
  SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, 0);
  SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX, SDL_JOYSTICK_AXIS_MAX);
  reading = Read(first);
  EXPECT_EQ(reading.x, 0);
  EXPECT_EQ(reading.y, 0);
  // Stick right, d-pad left and down: the d-pad decides.
  SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, SDL_JOYSTICK_AXIS_MAX);
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 1);
  reading = Read(first);
  EXPECT_EQ(reading.x, -1000);
  EXPECT_EQ(reading.y, 1000);
  // Both sides of the d-pad cancel out and leave the stick.
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1);
  EXPECT_EQ(Read(first).x, 1000);
  SDL_JoystickClose(pad);
}

TEST_F(SdlGamepadTest, AStickWithoutMappingKeepsTheRawRules) {
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 8, 0);
  ASSERT_GE(index, 0) << SDL_GetError();
  ASSERT_FALSE(SDL_IsGameController(index));
  SDL_Joystick* stick = SDL_JoystickOpen(index);
  ASSERT_EQ(device->JoysticksOpen(), first + 1);
  SDL_JoystickSetVirtualAxis(stick, 0, SDL_JOYSTICK_AXIS_MIN);
  SDL_JoystickSetVirtualButton(stick, 6, 1);
  const JoystickReading reading = Read(first);
  EXPECT_EQ(reading.x, -1000);
  EXPECT_EQ(reading.buttons, 1u << 6);
  EXPECT_FALSE(reading.start);
  SDL_JoystickClose(stick);
}

TEST_F(SdlGamepadTest, PluggingInAndPullingOutAreNoticedOnce) {
  EXPECT_FALSE(device->JoysticksChanged());
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, kPadAxes, kPadButtons, 0);
  ASSERT_GE(index, 0) << SDL_GetError();
  EXPECT_TRUE(device->JoysticksChanged());
  EXPECT_EQ(device->JoysticksOpen(), first + 1);
  EXPECT_FALSE(device->JoysticksChanged());
  SDL_JoystickDetachVirtual(index);
  EXPECT_TRUE(device->JoysticksChanged());
  JoystickReading reading;
  EXPECT_FALSE(device->ReadJoystick(first, reading));  // gone until opened again
  EXPECT_EQ(device->JoysticksOpen(), first);
}

TEST(SdlGamepadConfig, MappingFromTheEnvironmentMakesAStickAController) {
  constexpr const char* kName = "Quorin test stick";
  std::string guid;
  {
    auto device = CreateSdlInputDevice();
    device->JoysticksOpen();
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
    desc.naxes = 2;
    desc.nbuttons = 4;
    desc.name = kName;
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(index, 0) << SDL_GetError();
    ASSERT_FALSE(SDL_IsGameController(index));
    char text[64];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), text, sizeof text);
    guid = text;
    // Published mappings leave out the name checksum (GUID bytes 2 and 3);
    // SDL matches them so.
    guid.replace(4, 4, "0000");
    SDL_JoystickDetachVirtual(index);
  }
  // Read when controller support starts: the device above stopped it.
  const std::string mapping = guid + "," + kName + ",a:b2,x:b0,start:b3,leftx:a0,lefty:a1,platform:Linux,";
  setenv("SDL_GAMECONTROLLERCONFIG", mapping.c_str(), 1);
  auto device = CreateSdlInputDevice();
  device->JoysticksOpen();
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
  desc.naxes = 2;
  desc.nbuttons = 4;
  desc.name = kName;
  const int index = SDL_JoystickAttachVirtualEx(&desc);
  unsetenv("SDL_GAMECONTROLLERCONFIG");
  ASSERT_GE(index, 0) << SDL_GetError();
  EXPECT_TRUE(SDL_IsGameController(index)) << mapping;
  const int count = device->JoysticksOpen();
  SDL_Joystick* stick = SDL_JoystickOpen(index);
  SDL_JoystickSetVirtualButton(stick, 2, 1);
  SDL_JoystickSetVirtualButton(stick, 3, 1);
  JoystickReading reading;
  EXPECT_TRUE(device->ReadJoystick(count - 1, reading));
  EXPECT_EQ(reading.buttons, 1u);  // raw button 2 is the bottom face button
  EXPECT_TRUE(reading.start);
  SDL_JoystickClose(stick);
  device->JoysticksClose();
  SDL_JoystickDetachVirtual(index);
}

}  // namespace
}  // namespace quorin
