#include "tools/artgen/hero.h"

#include <cmath>

namespace quorin::art {

namespace {

// Maps hero-space coordinates onto an image with the given scale.
struct Space {
  int scale;
  float X(float x) const { return kHeroOriginX * scale + x * scale; }
  float Y(float y) const { return kHeroOriginY * scale + y * scale; }
  float R(float r) const { return r * scale; }
};

Image Blank(const Space& s) {
  return Image(kHeroSpaceW * s.scale, kHeroSpaceH * s.scale);
}

// Two-segment limb from root to end, the joint bending toward (bendX, bendY).
void Limb(Image& im, const Space& s, float x0, float y0, float x1, float y1, float segment, float radius,
          float bendX, float bendY, int c) {
  const float dx = x1 - x0, dy = y1 - y0;
  const float d = std::sqrt(dx * dx + dy * dy);
  float jx = (x0 + x1) / 2, jy = (y0 + y1) / 2;
  if (d < 2 * segment && d > 0.01f) {
    const float h = std::sqrt(segment * segment - d * d / 4);
    float px = -dy / d, py = dx / d;
    if (px * bendX + py * bendY < 0) {
      px = -px;
      py = -py;
    }
    jx += px * h;
    jy += py * h;
  }
  ThickLine(im, s.X(x0), s.Y(y0), s.X(jx), s.Y(jy), s.R(radius), c);
  ThickLine(im, s.X(jx), s.Y(jy), s.X(x1), s.Y(y1), s.R(radius), c);
}

void Arm(Image& dst, const Space& s, float shoulderX, float shoulderY, float handX, float handY, bool near) {
  Image layer = Blank(s);
  Limb(layer, s, shoulderX, shoulderY, handX, handY, 5.0f, 1.3f, -0.4f, 1.0f, near ? kSuit2 : kSuit1);
  FillEllipse(layer, s.X(handX), s.Y(handY), s.R(1.7f), s.R(1.7f), near ? kGrey4 : kGrey3);
  Finish(dst, layer, 0, 0, false, s.scale);
}

}  // namespace

Image PaintHeroUpper(const UpperPose& p, int scale) {
  const Space s{scale};
  Image out = Blank(s);
  const float b = p.bob;
  Arm(out, s, -1, -6 + b, p.farHandX, p.farHandY, false);

  Image pack = Blank(s);
  FillRect(pack, static_cast<int>(s.X(-8)), static_cast<int>(s.Y(-8 + b)), 4 * scale, 8 * scale, kGrey2);
  FillRect(pack, static_cast<int>(s.X(-7)), static_cast<int>(s.Y(0 + b)), 2 * scale, 2 * scale, kGrey1);
  Finish(out, pack, 0, 0, false, scale);
  FillRect(out, static_cast<int>(s.X(-7)), static_cast<int>(s.Y(-6 + b)), 2 * scale, scale, kRed3);

  Image torso = Blank(s);
  ThickLine(torso, s.X(0), s.Y(-5 + b), s.X(0), s.Y(-1 + b), s.R(3.6f), kSuit2);
  Finish(out, torso, 0, 0, false, scale);
  FillRect(out, static_cast<int>(s.X(-3)), static_cast<int>(s.Y(1 + b)), 7 * scale, scale, kBrown2);
  FillRect(out, static_cast<int>(s.X(2)), static_cast<int>(s.Y(1 + b)), scale, scale, kGold3);
  FillRect(out, static_cast<int>(s.X(1)), static_cast<int>(s.Y(-5 + b)), scale * 2, scale, kGold3);

  Image head = Blank(s);
  FillShadedEllipse(head, s.X(1.0f), s.Y(-12.5f + b), s.R(5.4f), s.R(5.2f), kWhiteRamp, false);
  Outline(head, kInk, false);
  // Visor, lit from the upper left like everything else.
  FillEllipse(head, s.X(3.7f), s.Y(-12.3f + b), s.R(2.7f), s.R(2.3f), kInk);
  FillEllipse(head, s.X(3.9f), s.Y(-12.5f + b), s.R(2.0f), s.R(1.6f), kCyan2);
  FillEllipse(head, s.X(3.3f), s.Y(-13.3f + b), s.R(0.9f), s.R(0.7f), kCyan4);
  FillRect(head, static_cast<int>(s.X(-3)), static_cast<int>(s.Y(-15 + b)), scale, scale * 2, kCyan3);
  Over(out, head, 0, 0);

  if (p.gun) {
    Image gun = Blank(s);
    const float dx = p.gunX1 - p.gunX0, dy = p.gunY1 - p.gunY0;
    const float len = std::sqrt(dx * dx + dy * dy);
    const float ux = dx / len, uy = dy / len;
    ThickLine(gun, s.X(p.gunX0), s.Y(p.gunY0), s.X(p.gunX1), s.Y(p.gunY1), s.R(1.1f), kGrey2);
    ThickLine(gun, s.X(p.gunX0 - ux), s.Y(p.gunY0 - uy), s.X(p.gunX0 + 4 * ux), s.Y(p.gunY0 + 4 * uy),
              s.R(2.0f), kGrey2);
    Finish(out, gun, 0, 0, false, scale);
    out.Set(static_cast<int>(s.X(p.gunX0 + 2 * ux)), static_cast<int>(s.Y(p.gunY0 + 2 * uy)), kRed3);
    FillEllipse(out, s.X(p.gunX1), s.Y(p.gunY1), s.R(0.8f), s.R(0.8f), kCyan3);
  }
  Arm(out, s, 1, -6 + b, p.nearHandX, p.nearHandY, true);
  return out;
}

Image PaintHeroLegs(const LegPose& p, int scale) {
  const Space s{scale};
  Image out = Blank(s);
  auto leg = [&](float hipX, float ankleX, float ankleY, bool near) {
    Image layer = Blank(s);
    Limb(layer, s, hipX, 2 + p.hip, ankleX, ankleY, 3.8f, 1.5f, 1.0f, 0.0f, near ? kBlue2 : kBlue1);
    FillRect(layer, static_cast<int>(s.X(ankleX - 1.5f)), static_cast<int>(s.Y(ankleY)), 4 * scale, 3 * scale,
             near ? kBrown2 : kBrown1);
    Finish(out, layer, 0, 0, false, scale);
  };
  leg(-0.5f, p.farX, p.farY, false);
  Image hips = Blank(s);
  FillEllipse(hips, s.X(0), s.Y(2.2f + p.hip), s.R(3.4f), s.R(1.8f), kBlue2);
  Finish(out, hips, 0, 0, false, scale);
  leg(0.5f, p.nearX, p.nearY, true);
  return out;
}

}  // namespace quorin::art
