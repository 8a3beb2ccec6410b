#include "flow/draw_world.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flow/frame_layout.h"
#include "flow/game.h"
#include "flow/sprite_sheets.h"
#include "tests/world/small_world.h"
#include "world/map.h"
#include "world/play_host.h"

namespace quorin {
namespace {

constexpr std::int32_t kHeight = 384;

// A game in play on an empty world of the given size in cells, with 10-pixel
// glyphs, the view constants generation sets and no background.
class DrawWorldTest : public ::testing::Test {
 protected:
  void SetUp() override { MakeWorld(64, 48); }

  void MakeWorld(int width, int height) {
    game.presentation.glyphAdvance.fill(10.0f);
    game.shell.internalHeight = kHeight;
    game.flow.GameState = kPlaying;
    World& w = game.world;
    test::SizeWorld(w, width, height, kHeight);
    Player& p = w.player;
    p = Player{};
    p.state = kHeroWalking;
    p.jumpsLeft = 2;
    PlaceHero(width * kUnitsPerCell / 2, height * kUnitsPerCell / 2);
  }
  void PlaceHero(std::int32_t x, std::int32_t y) {
    game.world.player.x = x;
    game.world.player.y = y;
    UpdateCamera(game.world);
  }
  void Draw() {
    ClearDrawQueues(game);
    DrawWorld(game);
  }
  std::vector<FrameRequest> Frames() {
    std::vector<FrameRequest> out;
    game.presentation.frameQueue.ForEach([&](const FrameRequest& r) { out.push_back(r); });
    return out;
  }
  std::vector<int> FrameIds() {
    std::vector<int> out;
    for (const FrameRequest& r : Frames()) out.push_back(r.frame);
    return out;
  }
  std::vector<TileRequest> Tiles() {
    std::vector<TileRequest> out;
    game.presentation.tileQueue.ForEach([&](const TileRequest& r) { out.push_back(r); });
    return out;
  }
  std::vector<SheetClipRequest> Clips() {
    std::vector<SheetClipRequest> out;
    game.presentation.sheetClipQueue.ForEach([&](const SheetClipRequest& r) { out.push_back(r); });
    return out;
  }
  std::vector<TextRequest> Texts() {
    std::vector<TextRequest> out;
    game.presentation.textQueue.ForEach([&](const TextRequest& r) { out.push_back(r); });
    return out;
  }
  // The queued text with these characters, or null; valid until the next call.
  const TextRequest* FindText(const std::string& text) {
    textsCache = Texts();
    for (const TextRequest& t : textsCache) {
      if (t.text == text) return &t;
    }
    return nullptr;
  }
  std::int32_t HeroPointY() const { return kHeight / 2 - (game.world.screenOffsetY >> 8); }

  Game game;
  std::vector<TextRequest> textsCache;
};

TEST_F(DrawWorldTest, HeroNearTheLeftEdgeIsDrawnAtItsDistanceFromIt) {
  PlaceHero(100 * kUnitsPerPixel, 20 * kUnitsPerCell);
  ASSERT_EQ(game.world.cameraX, 0);
  ASSERT_EQ(game.world.screenOffsetX, 39936);
  Draw();
  const std::vector<FrameRequest> f = Frames();
  ASSERT_EQ(f.size(), 2u);
  EXPECT_EQ(f[0].frame, kHeroLegsFrames);  // standing legs, then the standing body
  EXPECT_EQ(f[1].frame, kHeroBodyFrames);
  for (const FrameRequest& r : f) {
    EXPECT_EQ(r.x, 100);
    EXPECT_EQ(r.y, HeroPointY());
  }
}

TEST_F(DrawWorldTest, BodyPoseWritesAnimAndFallFrames) {
  Player& p = game.world.player;
  p.anim = 13;
  p.fallFrames = 4;
  p.vy = -300;  // rising
  Draw();
  EXPECT_EQ(FrameIds(), (std::vector<int>{109 + 64, 109}));
  EXPECT_EQ(p.anim, 0);
  EXPECT_EQ(p.fallFrames, 0);

  p.vy = 500;  // falling: the first pose for 6 frames, then the second
  for (int k = 0; k < 6; ++k) {
    Draw();
    EXPECT_EQ(FrameIds()[1], 110) << k;
  }
  Draw();
  EXPECT_EQ(FrameIds()[1], 111);
  EXPECT_EQ(p.fallFrames, 7);

  p.vy = 0;  // walking: the stride follows anim
  p.vx = 200;
  p.anim = 13;
  p.facing = 16;
  Draw();
  EXPECT_EQ(FrameIds(), (std::vector<int>{101 + 3 + 16 + 64, 101 + 3 + 16}));
  EXPECT_EQ(p.anim, 13);
  EXPECT_EQ(p.fallFrames, 0);

  p.vx = 0;  // standing still restarts the walk cycle
  Draw();
  EXPECT_EQ(FrameIds(), (std::vector<int>{100 + 16 + 64, 100 + 16}));
  EXPECT_EQ(p.anim, 0);
}

TEST_F(DrawWorldTest, InvulnerableHeroBlinksAndKeepsItsPoseWhileHidden) {
  Player& p = game.world.player;
  p.vy = 500;
  p.invulnerable = 7;  // bit 3 clear: hidden, nothing chosen
  Draw();
  EXPECT_TRUE(FrameIds().empty());
  EXPECT_EQ(p.fallFrames, 0);
  p.invulnerable = 8;
  Draw();
  EXPECT_EQ(FrameIds().size(), 2u);
  EXPECT_EQ(p.fallFrames, 1);
}

TEST_F(DrawWorldTest, HoverFlameComesFirstAndAimingBodyLiftsOnTheGround) {
  Player& p = game.world.player;
  p.hovering = 1;
  p.hoverFuel = 13;  // flame frame (13 >> 2) & 3 = 3
  p.facing = 16;
  p.jumpsLeft = 0;
  p.vy = 100;
  Draw();
  EXPECT_EQ(FrameIds(), (std::vector<int>{192 + 3 + 4, 173 + 16, 109 + 16}));

  p.hovering = 0;
  p.vy = 0;
  p.vx = 100;
  p.anim = 8;  // bit 3: the lift
  p.jumpsLeft = 2;
  p.firing = 1;
  p.aimDir = 5;
  Draw();
  std::vector<FrameRequest> f = Frames();
  ASSERT_EQ(f.size(), 2u);
  EXPECT_EQ(f[0].frame, 103 + 16 + 64);
  EXPECT_EQ(f[1].frame, 224 + 5);
  EXPECT_EQ(f[1].y, f[0].y - 2);

  p.jumpsLeft = 1;  // in the air the gun does not bob
  Draw();
  f = Frames();
  EXPECT_EQ(f[1].y, f[0].y);
}

TEST_F(DrawWorldTest, BallSpinsThroughFourFramesAndBurstingShowsNothing) {
  Player& p = game.world.player;
  p.state = kHeroBall;
  p.anim = 63;
  Draw();
  EXPECT_EQ(FrameIds(), (std::vector<int>{87}));
  p.anim = 15;
  Draw();
  EXPECT_EQ(FrameIds(), (std::vector<int>{84}));
  p.state = kHeroBursting;
  Draw();
  EXPECT_TRUE(FrameIds().empty());
}

TEST_F(DrawWorldTest, NumbersShowAtLeastTheirPaddedDigits) {
  game.world.player.power = 5;
  game.flow.displayedScore = 1234;
  Draw();
  const TextRequest* power = FindText("005");
  ASSERT_NE(power, nullptr);
  EXPECT_EQ(power->x, 14);
  EXPECT_EQ(power->y, 4);
  const TextRequest* score = FindText("0001234");
  ASSERT_NE(score, nullptr);
  EXPECT_EQ(score->x, 508 - 70);  // right-aligned

  game.world.player.power = 1234;
  game.flow.displayedScore = 12345678;
  Draw();
  EXPECT_NE(FindText("1234"), nullptr);
  score = FindText("12345678");
  ASSERT_NE(score, nullptr);
  EXPECT_EQ(score->x, 508 - 80);
}

TEST_F(DrawWorldTest, PowerGaugeSpansByLevelAndFillsByFuel) {
  Player& p = game.world.player;
  p.hoverFuel = 48;
  Draw();
  std::vector<SheetClipRequest> c = Clips();
  ASSERT_EQ(c.size(), 1u + 24u + 1u + 1u);  // caps, segments, gem icon
  EXPECT_EQ(c[0].srcX, 0);
  EXPECT_EQ(c[0].dstX, 232);
  EXPECT_EQ(c[25].srcX, 6);
  EXPECT_EQ(c[25].dstX + c[25].width - 1, 283);
  for (int i = 1; i <= 24; ++i) EXPECT_EQ(c[i].srcX, 2) << i;
  EXPECT_EQ(c[26].srcX, 16);  // the gem icon follows the top line

  p.powerLevel = 7;
  p.hoverFuel = 101;  // 50 full segments
  Draw();
  c = Clips();
  ASSERT_EQ(c.size(), 1u + 108u + 1u + 1u);
  EXPECT_EQ(c[0].dstX, 148);
  EXPECT_EQ(c[109].dstX + c[109].width - 1, 367);
  EXPECT_EQ(c[50].srcX, 2);
  EXPECT_EQ(c[51].srcX, 4);
  for (const SheetClipRequest& r : c) {
    EXPECT_EQ(r.dstY, 6);
    EXPECT_EQ(r.srcY, 160);
  }
}

TEST_F(DrawWorldTest, TopLineShowsPausedOrTheBallsBounces) {
  game.flow.GameState = kPaused;
  // Shown for 128 ms out of every 256: steady at 16 ms a frame.
  game.shell.elapsedMs = 128;
  Draw();
  const TextRequest* paused = FindText("PAUSED");
  ASSERT_NE(paused, nullptr);
  EXPECT_EQ(paused->x, 256 - 30);
  EXPECT_EQ(Clips().size(), 1u);  // the gem icon only: no gauge while paused
  game.shell.elapsedMs = 255;
  Draw();
  EXPECT_NE(FindText("PAUSED"), nullptr);
  for (const std::int32_t hidden : {127, 256 + 8}) {
    game.shell.elapsedMs = hidden;
    Draw();
    EXPECT_EQ(FindText("PAUSED"), nullptr) << hidden;
    EXPECT_EQ(Clips().size(), 1u);
  }

  game.flow.GameState = kPlaying;
  game.world.player.state = kHeroBall;
  game.world.player.bounces = 12;
  Draw();
  const TextRequest* bounce = FindText("BOUNCE*12");
  ASSERT_NE(bounce, nullptr);
  EXPECT_EQ(bounce->glyphBase, kFontBoldYellow);
  EXPECT_EQ(bounce->x, 256 - (9 * 10 - 8 * 2) / 2);
  game.world.player.bounces = 0;
  Draw();
  EXPECT_EQ(Texts().size(), 2u);  // power and score
}

TEST_F(DrawWorldTest, GemBlinksInItsLastSixtyFourFrames) {
  World& w = game.world;
  Pickup& gem = ListInsert(w.Pickups);
  gem.kind = kPickupGem;
  gem.variant = 2;
  gem.x = w.player.x + 4096;
  gem.y = w.player.y;
  int shown = 0;
  for (std::int32_t t = 64; t < 72; ++t) {
    gem.timer = t;
    Draw();
    shown += static_cast<int>(FrameIds().size()) - 2;
  }
  EXPECT_EQ(shown, 8);
  shown = 0;
  std::vector<int> ids;
  for (std::int32_t t = 56; t < 64; ++t) {
    gem.timer = t;
    Draw();
    if (FrameIds().size() == 3u) {
      ++shown;
      ids.push_back(FrameIds()[2]);
    }
  }
  EXPECT_EQ(shown, 4);
  EXPECT_EQ(ids[0], kGemFrames + 2);
  gem.timer = 60;
  Draw();
  const FrameRequest r = Frames()[2];
  EXPECT_EQ(r.x, (gem.x + w.cameraX) >> 8);
  EXPECT_EQ(r.y, (gem.y + w.cameraY) >> 8);
}

TEST_F(DrawWorldTest, PickupsOutsideTheActiveWindowAndVanishingOnesAreSkipped) {
  World& w = game.world;
  auto add = [&](std::int32_t kind, std::int32_t variant, std::int32_t x, std::int32_t timer) {
    Pickup& k = ListInsert(w.Pickups);
    k = {kind, variant, x, w.player.y, 0, 0, timer};
  };
  const std::int32_t edge = w.player.x + w.screenOffsetX + w.activeHalfWidth;
  add(kPickupFruit, 3, edge - 1, 0);
  add(kPickupFruit, 4, edge, 0);
  add(kPickupDebris, 88, w.player.x, 13);
  add(kPickupVanishing, 0, w.player.x, 0);
  Draw();
  EXPECT_EQ(FrameIds(), (std::vector<int>{164, 100, 631 + 3, 88 + 3}));
}

TEST_F(DrawWorldTest, MonstersByKindModeHeadingAndPhaseWherever) {
  World& w = game.world;
  auto add = [&](std::int32_t kind, std::int32_t mode, std::int32_t heading, std::int32_t phase) {
    Enemy& e = ListInsert(w.Enemies);
    e.kind = kind;
    e.mode = mode;
    e.heading = heading;
    e.phase = phase;
    e.x = -50 * kUnitsPerCell;  // far outside the view: still queued
    e.y = 0;
  };
  add(2, kEnemyRoaming, 1023, 4);
  add(2, kEnemyRoaming, 1024, 4);
  add(2, kEnemyRoaming, 3072, 15);
  add(2, kEnemyRoaming, 3073, 16);
  add(5, kEnemyAiming, 2048, 31);
  Draw();
  const std::vector<int> ids = FrameIds();
  ASSERT_EQ(ids.size(), 7u);
  EXPECT_EQ(std::vector<int>(ids.begin() + 2, ids.end()), (std::vector<int>{17, 21, 23, 16, 63}));
}

TEST_F(DrawWorldTest, ListsAreDrawnInLayerOrder) {
  World& w = game.world;
  Pickup& k = ListInsert(w.Pickups);
  k = {kPickupFruit, 1, w.player.x, w.player.y, 0, 0, 0};
  Shot& s = ListInsert(w.PlayerShots);
  s.frame = 312;
  Enemy& e = ListInsert(w.Enemies);
  e.kind = 1;
  e.mode = kEnemyRoaming;
  Particle& p = ListInsert(w.Particles);
  p.frame = 68;
  p.age = 15;
  Shot& es = ListInsert(w.EnemyShots);
  es.frame = 477;
  es.x = 3 * kUnitsPerCell;
  Draw();
  EXPECT_EQ(FrameIds(), (std::vector<int>{164, 100, 632, 312, 4, 71, 477}));
  EXPECT_EQ(Frames()[6].x, (3 * kUnitsPerCell + w.cameraX) >> 8);
}

TEST_F(DrawWorldTest, FruitRowShowsTheLogAndAllEightWhenThePlanetIsSaved) {
  game.world.FruitLog[0] = 3;
  game.world.FruitLog[1] = 8;
  game.world.player.state = kHeroBursting;  // no gauge
  Draw();
  std::vector<SheetClipRequest> c = Clips();
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(c[0].srcX, 64);
  EXPECT_EQ(c[0].srcY, 96);
  EXPECT_EQ(c[0].width, 22);
  EXPECT_EQ(c[0].height, 24);
  EXPECT_EQ(c[0].dstX, 2);
  EXPECT_EQ(c[0].dstY, kHeight - 26);
  EXPECT_EQ(c[1].srcX, 224);
  EXPECT_EQ(c[1].dstX, 26);

  game.flow.GameState = kPlanetSaved;
  Draw();
  c = Clips();
  ASSERT_EQ(c.size(), 9u);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(c[i].srcX, 32 * i);
    EXPECT_EQ(c[i].dstX, 160 + 24 * i);
    EXPECT_EQ(c[i].dstY, kHeight / 2 - 52);
  }
}

TEST_F(DrawWorldTest, FloatingTextsBlinkInTheirLastSixteenFrames) {
  World& w = game.world;
  FloatingText& t = ListInsert(w.FloatingTexts);
  t.text = "POWER UP";
  t.x = w.player.x;
  t.y = w.player.y;
  std::vector<int> shown;
  for (std::int32_t life : {17, 16, 15, 12, 11, 4, 3, 1}) {
    t.life = life;
    Draw();
    if (FindText("POWER UP")) shown.push_back(life);
  }
  EXPECT_EQ(shown, (std::vector<int>{17, 15, 12, 4}));
  t.life = 30;
  Draw();
  const TextRequest* r = FindText("POWER UP");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->x, ((t.x + w.cameraX) >> 8) - 40);  // centred
}

// The background: 576 + column in every row of the map.
void FillBackground(Game& game) {
  Array<std::int32_t>& map = game.presentation.backgroundMap;
  ArrayCreateMulti(map, {kBackgroundMapSlots, kBackgroundMapSlots});
  for (int x = 0; x < kBackgroundMapSize; ++x) {
    for (int y = 0; y < kBackgroundMapSize; ++y) map.At(x, y) = kBackgroundGreyBase + x;
  }
}

TEST_F(DrawWorldTest, BackgroundWrapsEvery128CellsAtHalfSpeed) {
  MakeWorld(300, 48);
  FillBackground(game);
  World& w = game.world;
  w.cameraX = -(2000 << 9);  // background at -2000 pixels: column 125 at the left edge
  w.cameraY = 0;
  Draw();
  const std::vector<TileRequest> t = Tiles();
  ASSERT_FALSE(t.empty());
  bool sawColumn130 = false;
  for (const TileRequest& r : t) {
    const int column = (r.x + 2000) / 16;
    EXPECT_EQ((r.x + 2000) % 16, 0);
    EXPECT_EQ(r.tile, kBackgroundGreyBase + column % 128);
    if (column == 130) sawColumn130 = r.tile == kBackgroundGreyBase + 2;
  }
  EXPECT_TRUE(sawColumn130);
  // Columns 124..158 (one before the first visible), rows 0..25.
  EXPECT_EQ(t.front().x, 124 * 16 - 2000);
  EXPECT_EQ(t.back().x, 158 * 16 - 2000);
  EXPECT_EQ(t.back().y, 25 * 16);
  EXPECT_EQ(t.size(), 35u * 26u);
}

TEST_F(DrawWorldTest, TerrainFollowsTheCameraClampedToTheWorld) {
  World& w = game.world;
  w.TileMap.At(0, 0) = 130;
  w.TileMap.At(63, 47) = 320;
  w.TileMap.At(20, 10) = 547;
  PlaceHero(2048, 2048);  // top-left corner
  Draw();
  std::vector<TileRequest> t = Tiles();
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0].tile, 130);
  EXPECT_EQ(t[0].x, 0);
  EXPECT_EQ(t[0].y, 0);
  EXPECT_EQ(t[1].tile, 547);
  EXPECT_EQ(t[1].x, 320);
  EXPECT_EQ(t[1].y, 160);
  PlaceHero(w.WorldExtentX, w.WorldExtentY);  // bottom-right corner
  Draw();
  t = Tiles();
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t[0].tile, 320);
  EXPECT_EQ(t[0].x, 63 * 16 + (w.cameraX >> 8));
  EXPECT_EQ(t[0].x + 16, 512);
  EXPECT_EQ(t[0].y + 16, kHeight);
}

}  // namespace
}  // namespace quorin
