// The one palette every sheet shares. Index 0 is the magenta key colour.
#pragma once

#include <array>
#include <cstdint>

namespace quorin::art {

struct Rgb {
  std::uint8_t r, g, b;
};

// Colour indices, grouped in ramps from dark to light.
// clang-format off
enum Colour : std::uint8_t {
  kKey = 0,
  kInk,  // the outline colour
  kGrey1, kGrey2, kGrey3, kGrey4, kWhite,
  kSkin1, kSkin2, kSkin3,
  kSuit1, kSuit2, kSuit3, kSuit4,
  kRed1, kRed2, kRed3, kRed4,
  kGold1, kGold2, kGold3, kGold4,
  kGreen1, kGreen2, kGreen3, kGreen4,
  kPurple1, kPurple2, kPurple3, kPurple4,
  kBlue1, kBlue2, kBlue3, kBlue4,
  kBrown1, kBrown2, kBrown3,
  kPink1, kPink2, kPink3,
  kCyan1, kCyan2, kCyan3, kCyan4,
  kDeep1, kDeep2, kDeep3, kDeep4, kDeep5,
  kStone1, kStone2, kStone3, kStone4,
  kMoss1, kMoss2,
  kColourCount
};

inline constexpr std::array<Rgb, kColourCount> kPalette{{
    {255, 0, 255},                                                       // key
    {22, 17, 30},                                                        // ink
    {50, 47, 62}, {92, 89, 108}, {148, 146, 164}, {200, 200, 212}, {246, 245, 238},
    {132, 70, 52}, {214, 136, 96}, {250, 196, 150},                      // skin
    {22, 52, 104}, {36, 96, 170}, {70, 150, 222}, {156, 210, 250},       // suit
    {96, 14, 30}, {178, 30, 42}, {236, 70, 58}, {255, 156, 124},         // red
    {146, 72, 12}, {226, 132, 22}, {255, 204, 48}, {255, 242, 160},      // gold
    {18, 58, 36}, {38, 108, 48}, {88, 168, 62}, {170, 222, 104},         // green
    {48, 24, 72}, {98, 50, 132}, {156, 90, 192}, {212, 164, 242},        // purple
    {26, 36, 72}, {46, 66, 122}, {78, 106, 172}, {132, 162, 218},        // blue
    {62, 38, 26}, {112, 72, 42}, {166, 114, 64},                         // brown
    {112, 28, 82}, {192, 62, 134}, {242, 136, 194},                      // pink
    {18, 84, 96}, {34, 160, 172}, {110, 226, 220}, {206, 255, 246},      // cyan
    {12, 12, 22}, {22, 23, 38}, {32, 34, 54}, {44, 48, 72}, {58, 63, 92},  // deep background
    {56, 52, 60}, {84, 80, 88}, {120, 116, 124}, {160, 156, 162},        // grey rock
    {30, 84, 40}, {60, 130, 56},                                         // moss
}};
// clang-format on

// A shading ramp: shadow, base, light, highlight.
struct Ramp {
  Colour dark, base, light, shine;
};

inline constexpr Ramp kSuitRamp{kSuit1, kSuit2, kSuit3, kSuit4};
inline constexpr Ramp kRedRamp{kRed1, kRed2, kRed3, kRed4};
inline constexpr Ramp kGoldRamp{kGold1, kGold2, kGold3, kGold4};
inline constexpr Ramp kGreenRamp{kGreen1, kGreen2, kGreen3, kGreen4};
inline constexpr Ramp kPurpleRamp{kPurple1, kPurple2, kPurple3, kPurple4};
inline constexpr Ramp kBlueRamp{kBlue1, kBlue2, kBlue3, kBlue4};
inline constexpr Ramp kGreyRamp{kGrey1, kGrey2, kGrey3, kGrey4};
inline constexpr Ramp kCyanRamp{kCyan1, kCyan2, kCyan3, kCyan4};
inline constexpr Ramp kPinkRamp{kPink1, kPink2, kPink3, kWhite};
inline constexpr Ramp kSkinRamp{kSkin1, kSkin2, kSkin3, kSkin3};
inline constexpr Ramp kBrownRamp{kBrown1, kBrown2, kBrown3, kBrown3};
inline constexpr Ramp kStoneRamp{kStone1, kStone2, kStone3, kStone4};
inline constexpr Ramp kWhiteRamp{kGrey3, kGrey4, kWhite, kWhite};
inline constexpr Ramp kOrangeRamp{kGold1, kGold2, kGold3, kGold4};
inline constexpr Ramp kMossRamp{kGreen1, kMoss1, kMoss2, kGreen3};

}  // namespace quorin::art
