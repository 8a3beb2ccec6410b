// Actors sheet: the hero, monsters, shots, effects, gems and fruits, each frame
// painted into the rectangle the frame table gives it.
#include <array>
#include <cmath>
#include <numbers>

#include "flow/frame_layout.h"
#include "tools/artgen/hero.h"
#include "tools/artgen/sheets.h"
#include "tools/artgen/tables.h"

namespace quorin::art {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

const FrameGroup& GroupStarting(int first) {
  for (const FrameGroup& g : kFrameGroups)
    if (g.first == first) return g;
  return kFrameGroups[0];
}

// Paints frame `id` of its group from an image of exactly the frame's size.
void Place(Image& sheet, int first, int i, const Image& frame) {
  const FrameRect r = FrameInGroup(GroupStarting(first), i);
  Over(sheet, Crop(frame, 0, 0, r.width, r.height), r.x, r.y);
}

// ---------------------------------------------------------------- the hero

struct WalkStep {
  float footX, lift;
};
// The near foot through one stride; the far foot runs four frames behind.
constexpr std::array<WalkStep, 8> kWalk{{{4, 0}, {2, 0}, {0, 0}, {-2, 0}, {-4, 0}, {-2, 2}, {1, 3}, {3, 1}}};
constexpr float kAnkleY = 9;

// Body frames 0..11 (standing, walk 1..8, rising, falling, falling long).
UpperPose BodyPose(int i) {
  UpperPose p;
  if (i == 0) {
    p.nearHandX = 1.5f, p.nearHandY = 0.5f, p.farHandX = -2, p.farHandY = 0;
  } else if (i <= 8) {
    const int w = i - 1;
    p.bob = (w & 2) ? -2.0f : 0.0f;
    p.nearHandX = 0.5f - 0.7f * kWalk[w].footX;
    p.farHandX = -0.5f + 0.7f * kWalk[w].footX;
    p.nearHandY = p.farHandY = -0.5f + p.bob;
  } else if (i == 9) {
    p.nearHandX = 4, p.nearHandY = -9, p.farHandX = -4, p.farHandY = -8;
  } else if (i == 10) {
    p.nearHandX = 5.5f, p.nearHandY = -6, p.farHandX = -5, p.farHandY = -6;
  } else {
    p.nearHandX = 4.5f, p.nearHandY = -11, p.farHandX = -4, p.farHandY = -11;
  }
  return p;
}

LegPose LegsPose(int i) {
  LegPose p;
  if (i == 0) {
    p.nearX = 2, p.farX = -2;
  } else if (i <= 8) {
    const int w = i - 1;
    p.hip = (w & 2) ? -2.0f : 0.0f;
    p.nearX = kWalk[w].footX, p.nearY = kAnkleY - kWalk[w].lift;
    p.farX = kWalk[(w + 4) % 8].footX, p.farY = kAnkleY - kWalk[(w + 4) % 8].lift;
  } else if (i == 9) {
    p.nearX = 4, p.nearY = 5, p.farX = -2, p.farY = 8;
  } else if (i == 10) {
    p.nearX = 3, p.nearY = 9, p.farX = -3, p.farY = 9;
  } else {
    p.nearX = 5, p.nearY = 8, p.farX = -4, p.farY = 9;
  }
  return p;
}

void PaintHero(Image& sheet) {
  for (int i = 0; i < 12; ++i) {
    const Image upper = PaintHeroUpper(BodyPose(i));
    const Image body = Crop(upper, 0, kHeroOriginY - 19, 32, 24);
    Place(sheet, kHeroBodyFrames, i, body);
    Place(sheet, kHeroBodyFrames + 16, i, FlipAbout(body, 16));
    const Image legs = Crop(PaintHeroLegs(LegsPose(i)), 0, kHeroOriginY - 3, 32, 16);
    Place(sheet, kHeroLegsFrames, i, legs);
    Place(sheet, kHeroLegsFrames + 16, i, FlipAbout(legs, 16));
  }
  // Aiming: the blaster's muzzle lies on the line to the shot's spawn point,
  // pulled back until it fits in the frame.
  for (int d = 0; d < 8; ++d) {
    const float ox = static_cast<float>(kAimOffsets[2 * d]), oy = static_cast<float>(kAimOffsets[2 * d + 1]);
    const bool left = ox < 0;
    const float mx = left ? -ox : ox;
    float ux = std::cos(d * kPi / 4), uy = std::sin(d * kPi / 4);
    if (left) ux = -ux;
    float t = 3;
    while (mx - t * ux > 14 || mx - t * ux < -15 || oy - t * uy > 11 || oy - t * uy < -18) t += 0.25f;
    UpperPose p;
    p.gun = true;
    p.gunX1 = mx - t * ux, p.gunY1 = oy - t * uy;
    p.gunX0 = mx - (t + 11) * ux, p.gunY0 = oy - (t + 11) * uy;
    p.nearHandX = p.gunX0 + ux, p.nearHandY = p.gunY0 + uy;
    p.farHandX = p.gunX0 + 4 * ux, p.farHandY = p.gunY0 + 4 * uy;
    Image aim = Crop(PaintHeroUpper(p), 0, kHeroOriginY - 19, 32, 32);
    if (left) aim = FlipAbout(aim, 16);
    Place(sheet, kHeroAimFrames, d, aim);
  }
  // Jet flame from the backpack nozzle, flickering in length.
  constexpr std::array<float, 4> kFlameLength{9, 12, 10, 13};
  for (int i = 0; i < 4; ++i) {
    Image flame(32, 16);
    const float len = kFlameLength[i];
    const float cx = 16 - 6, top = -1;
    FillEllipse(flame, cx, top + len / 2, 2.6f, len / 2, kRed3);
    FillEllipse(flame, cx, top + len / 2 - 1, 1.9f, len / 2 - 1.5f, kGold3);
    FillEllipse(flame, cx, top + len / 3, 1.0f, len / 3, kGold4);
    FillEllipse(flame, cx, top + 1.5f, 0.8f, 1.5f, kWhite);
    flame.Set(static_cast<int>(cx) + (i & 1 ? 1 : -2), static_cast<int>(top + len + 1), kGold2);
    Place(sheet, kJetFlameFrames, i, flame);
    Place(sheet, kJetFlameFrames + 4, i, FlipAbout(flame, 16));
  }
}

// ---------------------------------------------------------------- monsters

struct Eye {
  float x, y, r;
};

void PaintEye(Image& im, const Eye& e, float lookX, float lookY, bool angry) {
  FillEllipse(im, e.x, e.y, e.r + 0.8f, e.r + 0.8f, kInk);
  FillEllipse(im, e.x, e.y, e.r, e.r, kWhite);
  FillEllipse(im, e.x + lookX * e.r * 0.45f, e.y + lookY * e.r * 0.45f, e.r * 0.5f, e.r * 0.55f, kInk);
  if (angry)
    Line(im, static_cast<int>(e.x - e.r - 1), static_cast<int>(e.y - e.r - 1), static_cast<int>(e.x + e.r),
         static_cast<int>(e.y - e.r + 1), kInk);
}

// A charging glow at (x, y) that grows with the shooting frame.
void PaintCharge(Image& im, float x, float y, int step) {
  const float r = 1.5f + step * 0.9f;
  FillEllipse(im, x, y, r + 1, r + 1, kRed2);
  FillEllipse(im, x, y, r, r, kRed3);
  FillEllipse(im, x, y, r * 0.6f, r * 0.6f, kGold4);
  im.Set(static_cast<int>(x), static_cast<int>(y), kWhite);
}

// Kind 1: a green jelly blob that wobbles as it drifts.
Image Blob(int f, bool shooting) {
  Image im(32, 32);
  const float wob = std::sin(f * kPi / 2);
  Image body(32, 32);
  FillShadedEllipse(body, 16, 17 - wob * 0.5f, 9.5f + wob, 8.5f - wob, kGreenRamp);
  FillEllipse(body, 16, 9.5f - wob, 3.2f, 2.8f, kGreen2);
  for (int k = 0; k < 3; ++k) FillEllipse(body, 10.5f + k * 5.5f, 24.5f, 2.2f, 2.2f + ((k + f) & 1), kGreen2);
  Finish(im, body);
  FillEllipse(im, 11, 12, 1.5f, 1, kGreen4);
  PaintEye(im, {18.5f, 15, 3}, shooting ? 0.0f : 1.0f, shooting ? 0.4f : 0.0f, shooting);
  if (shooting) {
    FillEllipse(im, 18, 22, 3, 2 + (f & 1), kInk);
    PaintCharge(im, 18, 22, f);
  } else {
    Line(im, 16, 22, 21, 21, kInk);
  }
  return im;
}

// Kind 2: a purple bat, wings beating through four frames.
Image Bat(int f, bool shooting) {
  Image im(32, 32);
  constexpr std::array<float, 4> kWingLift{-7, -2, 4, -2};
  const float lift = kWingLift[f];
  for (int side = -1; side <= 1; side += 2) {
    Image wing(32, 32);
    const float sx = 16 + side * 4.5f;
    const float tipX = 16 + side * 14.5f, tipY = 14 + lift;
    FillPolygon(wing,
                {{sx, 12},
                 {tipX, tipY},
                 {16 + side * 12.0f, 19 + lift * 0.4f},
                 {16 + side * 9.0f, 17},
                 {16 + side * 6.0f, 20},
                 {sx, 18}},
                kPurple2);
    Finish(im, wing);
  }
  Image body(32, 32);
  FillShadedEllipse(body, 16, 16, 6.5f, 6.5f, kPurpleRamp);
  FillPolygon(body, {{11, 12}, {12, 5}, {15, 10}}, kPurple2);
  FillPolygon(body, {{17, 10}, {20, 5}, {21, 12}}, kPurple2);
  Finish(im, body);
  PaintEye(im, {13.5f, 15, 1.8f}, shooting ? 0.0f : 1.0f, 0.3f, true);
  PaintEye(im, {18.5f, 15, 1.8f}, shooting ? 0.0f : 1.0f, 0.3f, true);
  if (shooting) {
    FillEllipse(im, 16, 20, 2.5f, 1.8f, kInk);
    PaintCharge(im, 16, 20.5f, f);
  } else {
    Line(im, 14, 19, 18, 19, kInk);
    im.Set(14, 20, kWhite);
    im.Set(17, 20, kWhite);
  }
  return im;
}

// Kind 3: an orange spiked urchin whose spikes turn as it rolls.
Image Urchin(int f, bool shooting) {
  Image im(32, 32);
  Image spikes(32, 32);
  for (int k = 0; k < 10; ++k) {
    const float a = k * 2 * kPi / 10 + f * kPi / 20;
    const float c = std::cos(a), s = std::sin(a);
    FillPolygon(spikes,
                {{16 + c * 13.0f, 16 + s * 13.0f},
                 {16 + c * 7 - s * 2.5f, 16 + s * 7 + c * 2.5f},
                 {16 + c * 7 + s * 2.5f, 16 + s * 7 - c * 2.5f}},
                kGold3);
  }
  Finish(im, spikes);
  Image body(32, 32);
  FillShadedEllipse(body, 16, 16, 8, 8, kOrangeRamp);
  Finish(im, body);
  PaintEye(im, {13, 15, 2.2f}, shooting ? 0.0f : 1.0f, 0.0f, true);
  PaintEye(im, {19.5f, 15, 2.2f}, shooting ? 0.0f : 1.0f, 0.0f, true);
  if (shooting) {
    PaintCharge(im, 16.5f, 20.5f, f);
  } else {
    for (int x = 13; x <= 20; ++x) im.Set(x, 20 + (x & 1), kInk);
  }
  return im;
}

// Kind 4: a cyan jellyfish trailing waving tentacles.
Image Jelly(int f, bool shooting) {
  Image im(32, 32);
  Image tentacles(32, 32);
  for (int k = 0; k < 4; ++k) {
    const float x = 10.5f + k * 3.7f;
    float px = x, py = 17;
    for (int seg = 1; seg <= 4; ++seg) {
      const float nx = x + std::sin((seg + f + k) * kPi / 2) * 1.6f - 1.2f, ny = 17 + seg * 3.3f;
      ThickLine(tentacles, px, py, nx, ny, 1.0f, kPink2);
      px = nx, py = ny;
    }
  }
  Finish(im, tentacles);
  Image dome(32, 32);
  FillShadedEllipse(dome, 16, 13, 10, 8.5f - (f & 1) * 0.7f, kCyanRamp);
  FillRect(dome, 5, 13, 22, 6, kKey);
  FillEllipse(dome, 16, 13, 10, 3.5f, kCyan2);
  Finish(im, dome);
  for (int k = 0; k < 3; ++k) im.Set(11 + k * 5, 9, kCyan4);
  PaintEye(im, {12.5f, 12, 2.0f}, shooting ? 0.0f : 1.0f, 0.2f, false);
  PaintEye(im, {19.5f, 12, 2.0f}, shooting ? 0.0f : 1.0f, 0.2f, false);
  if (shooting) PaintCharge(im, 16, 18, f);
  return im;
}

// Kind 5: a horned red eye-demon, the toughest of them.
Image Demon(int f, bool shooting) {
  Image im(32, 32);
  Image wings(32, 32);
  const float flap = (f & 1) ? -2.0f : 1.0f;
  FillPolygon(wings, {{6, 14}, {0.5f, 7 + flap}, {2, 17}, {6, 20}}, kRed1);
  FillPolygon(wings, {{26, 14}, {31.5f, 7 + flap}, {30, 17}, {26, 20}}, kRed1);
  Outline(wings, kInk, false);
  Over(im, wings, 0, 0);
  Image horns(32, 32);
  FillPolygon(horns, {{8, 8}, {5, 1}, {12, 6}}, kGrey4);
  FillPolygon(horns, {{24, 8}, {27, 1}, {20, 6}}, kGrey4);
  Finish(im, horns);
  Image body(32, 32);
  FillShadedEllipse(body, 16, 16, 11, 10.5f, kRedRamp);
  Finish(im, body);
  const float look = shooting ? 0.0f : 1.0f;
  FillEllipse(im, 16.5f, 15, 6.2f, 6.2f, kInk);
  FillEllipse(im, 16.5f, 15, 5.3f, 5.3f, kWhite);
  FillEllipse(im, 16.5f + look * 2, 15.5f, 3.2f, 3.2f, shooting ? kGold3 : kGold2);
  FillEllipse(im, 16.5f + look * 2.5f, 15.5f, 1.3f, 2.4f, kInk);
  im.Set(14, 12, kWhite);
  for (int x = 11; x <= 22; ++x) im.Set(x, 24 + ((x / 2) & 1), kInk);
  if (shooting) PaintCharge(im, 16.5f, 15.5f, f);
  return im;
}

void PaintMonsters(Image& sheet) {
  using Painter = Image (*)(int, bool);
  constexpr std::array<Painter, 5> kKinds{Blob, Bat, Urchin, Jelly, Demon};
  for (int kind = 0; kind < 5; ++kind) {
    for (int f = 0; f < 4; ++f) {
      const Image right = kKinds[kind](f, false);
      Place(sheet, kMonsterFrames, kind * 12 + f, right);
      Place(sheet, kMonsterFrames, kind * 12 + 4 + f, FlipAbout(right, 16));
      Place(sheet, kMonsterFrames, kind * 12 + 8 + f, kKinds[kind](f, true));
    }
  }
}

// ---------------------------------------------------------------- shots

constexpr float kShotHotX = 10, kShotHotY = 10;

// Heading sector d points along d * 11.25 degrees (0 right, 8 down).
void PaintShotSet(Image& sheet, int first, bool hero) {
  for (int d = 0; d < kShotHeadings; ++d) {
    const float a = d * 2 * kPi / kShotHeadings;
    const float ux = std::cos(a), uy = std::sin(a);
    const float cx = kShotHotX + 0.5f, cy = kShotHotY + 0.5f;
    Image shot(16, 16);
    if (hero) {
      ThickLine(shot, cx - 4.5f * ux, cy - 4.5f * uy, cx + 1.5f * ux, cy + 1.5f * uy, 1.8f, kCyan1);
      ThickLine(shot, cx - 4 * ux, cy - 4 * uy, cx + 1.5f * ux, cy + 1.5f * uy, 1.2f, kCyan3);
      ThickLine(shot, cx - 2.5f * ux, cy - 2.5f * uy, cx + 1 * ux, cy + 1 * uy, 0.6f, kWhite);
    } else {
      ThickLine(shot, cx - 4 * ux, cy - 4 * uy, cx, cy, 1.2f, kRed2);
      FillEllipse(shot, cx, cy, 2.8f, 2.8f, kRed1);
      FillEllipse(shot, cx, cy, 2.2f, 2.2f, kRed3);
      FillEllipse(shot, cx - 0.3f, cy - 0.3f, 1.2f, 1.2f, kGold4);
    }
    sheet.Set(0, 0, sheet.At(0, 0));
    Place(sheet, first, d * kShotVariants, shot);
    // Trail: a shrinking, darkening streak left where the shot was.
    for (int k = 1; k < kShotVariants; ++k) {
      Image trail(16, 16);
      const float len = 4.0f - k;
      const float r = 1.5f - k * 0.3f;
      const Colour outer = hero ? (k < 3 ? kCyan2 : kCyan1) : (k < 3 ? kRed2 : kRed1);
      const Colour inner = hero ? (k < 2 ? kCyan4 : (k < 3 ? kCyan3 : kCyan2)) : (k < 2 ? kGold3 : kRed3);
      ThickLine(trail, cx - len * ux, cy - len * uy, cx, cy, r, outer);
      if (k < 4) ThickLine(trail, cx - len * 0.5f * ux, cy - len * 0.5f * uy, cx, cy, r * 0.4f, inner);
      trail.Set(static_cast<int>(cx), static_cast<int>(cy), k < 4 ? inner : outer);
      Place(sheet, first, d * kShotVariants + k, trail);
    }
  }
}

// ---------------------------------------------------------------- effects

constexpr float kFxX = 7.5f, kFxY = 7.5f;

Image Sparks(int f) {
  Image im(14, 14);
  constexpr std::array<Colour, 4> kCore{kWhite, kGold4, kGold3, kGold2};
  constexpr std::array<Colour, 4> kEdge{kGold4, kGold3, kGold2, kGold1};
  const float inner = f * 1.5f, outer = 2.5f + f * 1.3f;
  for (int k = 0; k < 8; ++k) {
    const float a = k * kPi / 4 + (f & 1) * 0.2f;
    const float len = (k & 1) ? outer * 0.7f : outer;
    const float c = std::cos(a), s = std::sin(a);
    Line(im, static_cast<int>(kFxX + c * inner), static_cast<int>(kFxY + s * inner),
         static_cast<int>(kFxX + c * len), static_cast<int>(kFxY + s * len), kEdge[f]);
    im.Set(static_cast<int>(kFxX + c * len), static_cast<int>(kFxY + s * len), kCore[f]);
  }
  if (f < 2) FillEllipse(im, kFxX, kFxY, 1.5f - f * 0.5f, 1.5f - f * 0.5f, kWhite);
  return im;
}

Image Smoke(int f) {
  Image im(14, 14);
  constexpr std::array<Colour, 4> kTone{kGrey4, kGrey3, kGrey3, kGrey2};
  constexpr std::array<Colour, 4> kShade{kGrey3, kGrey2, kGrey2, kGrey1};
  const float r = 2.5f + f * 0.9f;
  FillEllipse(im, kFxX - r * 0.4f, kFxY + 0.5f, r * 0.8f, r * 0.75f, kShade[f]);
  FillEllipse(im, kFxX + r * 0.45f, kFxY + 0.8f, r * 0.75f, r * 0.7f, kShade[f]);
  FillEllipse(im, kFxX, kFxY - r * 0.3f, r * 0.8f, r * 0.75f, kTone[f]);
  // Thins out as it fades.
  if (f >= 2) {
    for (int y = 0; y < 14; ++y)
      for (int x = 0; x < 14; ++x)
        if (((x + y) & 1) && (f == 3 || ((x ^ y) & 2))) im.Set(x, y, kKey);
  }
  return im;
}

Image Splinters(int f, bool second) {
  Image im(14, 14);
  const float spread = 1.5f + f * 1.5f;
  for (int k = 0; k < 3; ++k) {
    const float a = (second ? 0.9f : 0.0f) + k * 2.1f;
    const float cx = kFxX + std::cos(a) * spread, cy = kFxY + std::sin(a) * spread;
    const float turn = a + f * 0.9f;
    const float c = std::cos(turn) * 2.2f, s = std::sin(turn) * 2.2f;
    Image shard(14, 14);
    FillPolygon(shard, {{cx - c, cy - s}, {cx + s * 0.5f, cy - c * 0.5f}, {cx + c, cy + s}},
                f < 3 ? kRed3 : kRed2);
    shard.Set(static_cast<int>(cx), static_cast<int>(cy), f < 2 ? kRed4 : kRed3);
    Outline(shard, kRed1, false);
    Over(im, shard, 0, 0);
  }
  return im;
}

Image FlashRing(int f) {
  Image im(14, 14);
  constexpr std::array<Colour, 4> kTone{kWhite, kGold4, kGold3, kGold2};
  const float r = 2.0f + f * 1.35f;
  FillEllipse(im, kFxX, kFxY, r + 0.9f, r + 0.9f, kTone[f]);
  FillEllipse(im, kFxX, kFxY, r - 0.6f, r - 0.6f, kKey);
  if (f == 0) FillEllipse(im, kFxX, kFxY, 1.2f, 1.2f, kWhite);
  return im;
}

// The hero curled into a ball, rolling through a quarter turn per frame.
Image Ball(int f) {
  Image im(14, 14);
  Image ball(14, 14);
  FillShadedEllipse(ball, kFxX, kFxY, 5.2f, 5.2f, kSuitRamp);
  // The helmet rolls round the ball a quarter turn per frame.
  const float a = f * kPi / 2 - kPi / 4;
  const float c = std::cos(a), s = std::sin(a);
  FillShadedEllipse(ball, kFxX + c * 2.4f, kFxY + s * 2.4f, 2.9f, 2.9f, kWhiteRamp, false);
  FillEllipse(ball, kFxX + c * 3.3f, kFxY + s * 3.3f, 1.3f, 1.3f, kCyan2);
  ball.Set(static_cast<int>(kFxX + c * 3.3f - 0.5f), static_cast<int>(kFxY + s * 3.3f - 0.5f), kCyan4);
  ThickLine(ball, kFxX - c * 1.5f - s * 3, kFxY - s * 1.5f + c * 3, kFxX - c * 1.5f + s * 3,
            kFxY - s * 1.5f - c * 3, 0.5f, kGold3);
  Outline(ball, kInk, false);
  Over(im, ball, 0, 0);
  return im;
}

// The two halves of the burst hero, tumbling.
Image BurstHalf(int f, bool top) {
  Image half(14, 14);
  if (top) {
    FillShadedEllipse(half, 7, 7.5f, 5, 4.8f, kWhiteRamp, false);
    FillEllipse(half, 9, 7.5f, 2.2f, 1.8f, kCyan2);
    half.Set(8, 6, kCyan4);
    for (int x = 1; x < 13; ++x) half.Set(x, 11 + (x & 1), kKey), half.Set(x, 12, kKey);
    FillRect(half, 3, 10, 8, 1, kSuit2);
  } else {
    FillEllipse(half, 7, 4.5f, 4, 2.5f, kBlue2);
    ThickLine(half, 5, 5, 4, 10, 1.4f, kBlue2);
    ThickLine(half, 9, 5, 10, 10, 1.4f, kBlue2);
    FillRect(half, 2, 10, 4, 2, kBrown2);
    FillRect(half, 9, 10, 4, 2, kBrown2);
    for (int x = 3; x < 12; ++x) half.Set(x, 2 + (x & 1), kKey);
  }
  Outline(half, kInk, false);
  Image out = half;
  for (int k = 0; k < f; ++k) out = Rotate90(out);
  return out;
}

void PaintEffects(Image& sheet) {
  for (int f = 0; f < 4; ++f) {
    Place(sheet, kSparkFrames, f, Sparks(f));
    Place(sheet, kSparkFrames, 4 + f, Smoke(f));
    Place(sheet, kSparkFrames, 8 + f, Splinters(f, false));
    Place(sheet, kSparkFrames, 12 + f, Splinters(f, true));
    Place(sheet, kSparkFrames, 16 + f, FlashRing(f));
    Place(sheet, kSparkFrames, 20 + f, Ball(f));
    Place(sheet, kSparkFrames, 24 + f, BurstHalf(f, true));
    Place(sheet, kSparkFrames, 28 + f, BurstHalf(f, false));
  }
}

}  // namespace

// ---------------------------------------------------------------- gems, fruit

void PaintGem(Image& im, int x, int y, int w, int h) {
  // A tall crystal standing on its point's base; the outline is part of the box.
  const float l = x + 1.0f, r = x + w - 1.0f, t = y + 1.0f, b = y + h - 1.0f;
  const float mid = (l + r) / 2;
  const float shoulder = t + std::max(1.5f, (b - t) * 0.22f);
  const float hip = b - std::max(1.0f, (b - t) * 0.12f);
  Image gem(im.width, im.height);
  FillPolygon(gem, {{mid, t}, {r, shoulder}, {r, hip}, {mid, b}, {l, hip}, {l, shoulder}}, kRed3);
  FillPolygon(gem, {{mid, t}, {mid, b}, {l, hip}, {l, shoulder}}, kRed4);
  FillPolygon(gem, {{mid + (r - l) * 0.22f, t + 1}, {r, shoulder}, {r, hip}, {mid, b}}, kRed2);
  for (int j = static_cast<int>(shoulder) + 1; j < static_cast<int>(hip); ++j)
    if (gem.At(static_cast<int>(mid), j) != kKey && ((j - y) % 5 == 2))
      gem.Set(static_cast<int>(mid) - 1, j, kWhite);
  gem.Set(static_cast<int>(mid) - 1, static_cast<int>(shoulder), kWhite);
  Outline(gem, kInk, false);
  Over(im, gem, 0, 0);
}

void PaintFruit(Image& im, int n, int cx, int bottom) {
  const float x = cx - 0.5f;        // centre line between two columns
  const float b = bottom + 0.0f;    // lowest row of the fruit's body
  Image back(im.width, im.height);  // stems and leaves behind the body
  Image body(im.width, im.height);
  Image front(im.width, im.height);  // details painted after shading
  switch (n) {
    case 1: {  // pineapple
      FillPolygon(back, {{x, b - 12.5f}, {x - 1.2f, b - 8}, {x + 1.2f, b - 8}}, kGreen3);
      FillPolygon(back, {{x - 4, b - 11}, {x - 2, b - 7}, {x, b - 8}}, kGreen2);
      FillPolygon(back, {{x + 4, b - 11}, {x + 2, b - 7}, {x, b - 8}}, kGreen2);
      FillShadedEllipse(body, x, b - 3.8f, 3.8f, 4.3f, kOrangeRamp, false);
      for (int j = -5; j <= 5; ++j)
        for (int i = -4; i <= 4; ++i)
          if ((i + j + 8) % 4 == 0 && (i - j + 8) % 4 == 0)
            front.Set(static_cast<int>(x + i), static_cast<int>(b - 4 + j), kGold1);
      break;
    }
    case 2: {  // melon
      FillShadedEllipse(body, x, b - 4.5f, 5.2f, 4.6f, kGreenRamp, true);
      for (int i = -3; i <= 3; i += 2)
        for (int j = -3; j <= 3; ++j)
          front.Set(static_cast<int>(x + i + (j * i) / 8.0f), static_cast<int>(b - 4.5f + j), kGreen1);
      ThickLine(back, x, b - 9, x + 1.5f, b - 11, 0.6f, kBrown2);
      break;
    }
    case 3: {  // strawberry
      FillPolygon(body, {{x - 4.8f, b - 8}, {x + 4.8f, b - 8}, {x + 3.5f, b - 3}, {x, b}, {x - 3.5f, b - 3}},
                  kRed2);
      FillEllipse(body, x, b - 7, 4.9f, 2.4f, kRed2);
      for (int j = 0; j < 3; ++j)
        for (int i = -1; i <= 1; ++i)
          front.Set(static_cast<int>(x + i * 2.5f - (j & 1)), static_cast<int>(b - 7 + j * 2), kGold4);
      FillPolygon(back, {{x - 4, b - 10}, {x, b - 8}, {x + 4, b - 10}, {x + 2, b - 7}, {x - 2, b - 7}},
                  kGreen3);
      ThickLine(back, x, b - 12, x, b - 9, 0.5f, kGreen2);
      break;
    }
    case 4: {  // tangerine
      FillShadedEllipse(body, x, b - 4.5f, 5, 4.6f, kOrangeRamp, true);
      FillPolygon(back, {{x, b - 9}, {x + 4, b - 12}, {x + 5, b - 9.5f}}, kGreen3);
      front.Set(static_cast<int>(x), static_cast<int>(b - 9), kGreen1);
      break;
    }
    case 5: {  // apple
      FillShadedEllipse(body, x - 1.8f, b - 4.5f, 3.6f, 4.6f, kRedRamp, true);
      FillShadedEllipse(body, x + 1.8f, b - 4.5f, 3.6f, 4.6f, kRedRamp, false);
      FillEllipse(body, x, b - 4, 4, 4.2f, kRed2);
      front.Set(static_cast<int>(x - 2), static_cast<int>(b - 7), kRed4);
      ThickLine(back, x, b - 8, x + 1, b - 12, 0.6f, kBrown2);
      FillPolygon(back, {{x + 1, b - 10}, {x + 5, b - 12}, {x + 4, b - 9}}, kGreen3);
      break;
    }
    case 6: {  // lemon
      FillPolygon(
          body,
          {{x - 6, b - 4}, {x - 3, b - 7}, {x + 3, b - 7}, {x + 6, b - 4}, {x + 3, b - 1}, {x - 3, b - 1}},
          kGold3);
      FillEllipse(body, x, b - 4, 4.6f, 3.6f, kGold3);
      front.Set(static_cast<int>(x - 2), static_cast<int>(b - 6), kGold4);
      front.Set(static_cast<int>(x - 1), static_cast<int>(b - 6), kGold4);
      break;
    }
    case 7: {  // grapes
      ThickLine(back, x, b - 9, x + 1, b - 12, 0.6f, kGreen2);
      FillPolygon(back, {{x + 1, b - 10}, {x + 5, b - 11}, {x + 4, b - 8}}, kGreen3);
      constexpr std::array<std::pair<float, float>, 6> kBerries{
          {{-3, 7}, {0, 7}, {3, 7}, {-1.5f, 4.5f}, {1.5f, 4.5f}, {0, 2}}};
      for (const auto& [ox, oy] : kBerries) {
        Image berry(im.width, im.height);
        FillShadedEllipse(berry, x + ox, b - oy, 1.9f, 1.9f, kPurpleRamp, false);
        berry.Set(static_cast<int>(x + ox - 1), static_cast<int>(b - oy - 1), kPurple4);
        Outline(berry, kInk, false);
        Over(front, berry, 0, 0);
      }
      break;
    }
    default: {  // cherries
      ThickLine(back, x - 2.5f, b - 3, x + 1, b - 11, 0.5f, kGreen2);
      ThickLine(back, x + 2.5f, b - 3, x + 1, b - 11, 0.5f, kGreen2);
      FillPolygon(back, {{x + 1, b - 11}, {x + 5, b - 12}, {x + 3.5f, b - 9}}, kGreen3);
      for (float ox : {-2.5f, 2.5f}) {
        Image cherry(im.width, im.height);
        FillShadedEllipse(cherry, x + ox, b - 2.5f, 2.6f, 2.6f, kRedRamp, true);
        Outline(cherry, kInk, false);
        Over(front, cherry, 0, 0);
      }
      break;
    }
  }
  Finish(im, back);
  Finish(im, body);
  Over(im, front, 0, 0);
}

Image PaintActorsSheet() {
  Image sheet(kSheetSize, kSheetSize);
  PaintHero(sheet);
  PaintMonsters(sheet);
  PaintShotSet(sheet, kHeroShotFrames, true);
  PaintShotSet(sheet, kMonsterShotFrames, false);
  PaintEffects(sheet);
  constexpr std::array<int, 4> kGemW{6, 8, 10, 14}, kGemH{8, 12, 22, 36};
  for (int c = 0; c < 4; ++c) {
    Image gem(kGemW[c], kGemH[c]);
    PaintGem(gem, 0, 0, kGemW[c], kGemH[c]);
    Place(sheet, kGemFrames + c, 0, gem);
  }
  for (int n = 1; n <= 8; ++n) {
    Image fruit(16, 16);
    PaintFruit(fruit, n, 10, 13);
    Place(sheet, kFruitFrames, n - 1, fruit);
  }
  return sheet;
}

}  // namespace quorin::art
