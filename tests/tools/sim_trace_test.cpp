// The frame trace of quorin-sim run: its hashes and the order of its fields.
#include "tools/quorin-sim/trace.h"

#include <gtest/gtest.h>

#include <string>

#include "flow/game.h"

namespace quorin {
namespace {

Shot Ascending() { return Shot{1, 2, 3, 4, 5, 6, 7}; }
Shot Descending() { return Shot{7, 6, 5, 4, 3, 2, 1}; }

TEST(TraceHash, RunsOverTheFieldsInTraceOrder) {
  TraceHash h;
  HashRecord(h, Ascending());
  EXPECT_EQ(h.Value(), 947656708u);  // ((1*31 + 2)*31 + 3)... mod 2^32
}

TEST(TraceHash, TakesNegativeValuesModulo2To32) {
  TraceHash h;
  h.Add(-1);
  EXPECT_EQ(h.Value(), 4294967295u);
  h.Add(-1);
  EXPECT_EQ(h.Value(), 4294967264u);
}

TEST(TraceHash, ReadsTextBytesAsUnsignedBeforeTheFields) {
  FloatingText t;
  t.text = "A\xe9";  // 233, not -23
  t.glyphBase = 128;
  t.spacing = -2;
  t.x = 256;
  t.y = -3;
  t.vy = -512;
  t.vyAccel = 16;
  t.life = 40;
  TraceHash h;
  HashRecord(h, t);
  EXPECT_EQ(h.Value(), 2937362805u);
}

TEST(TraceHash, ListHashFollowsListOrderAndAnEmptyListHashesToZero) {
  List<Shot> list;
  EXPECT_EQ(ListHash(list), 0u);
  list.Insert() = Ascending();  // each insert lands after the one before
  list.Insert() = Descending();
  EXPECT_EQ(ListHash(list), 3163463808u);

  List<Shot> reversed;
  reversed.Insert() = Descending();
  reversed.Insert() = Ascending();
  EXPECT_EQ(ListHash(reversed), 3824166528u);
}

TEST(TraceHash, DrawHashTakesTilesFramesClipsThenTextsWhateverTheQueueingOrder) {
  Presentation p;
  p.textQueue.Insert() = TextRequest{"OK", 250, 4, -2, 128};
  p.sheetClipQueue.Insert() = SheetClipRequest{0, 224, 20, 20, 10, 11};
  p.frameQueue.Insert() = FrameRequest{12, 100, 200};
  p.tileQueue.Insert() = TileRequest{600, -5, 16};
  EXPECT_EQ(DrawHash(p), 3594713676u);
}

TEST(TraceLine, HoldsTheSixtyTwoFieldsInTheirOrder) {
  Game game;
  game.flow.gamesStarted = 3;
  game.flow.GameState = kPaused;
  game.world.frameCounter = 500;
  game.controls = Controls{-1, 1, 1, 0, 1, 0, 1};
  Player& p = game.world.player;
  p.x = 101, p.y = 102, p.vx = 103, p.vy = -104, p.state = 105, p.jumpsLeft = 106, p.hoverFuel = 107;
  p.hovering = 108, p.firing = 109, p.fireTimer = 110, p.aimDir = 111, p.facing = 112, p.anim = 113;
  p.fallFrames = 114, p.invulnerable = 115, p.gravity = 116;
  p.power = 201, p.powerLevel = 202, p.score = 203;
  game.flow.displayedScore = 204;
  p.bounces = 205, p.comboBonus = 206, p.fruitsFound = 207, p.sameBounceCount = 208, p.lastBounceVy = 209;
  game.options.HiScore = 210;
  game.options.MaxBounce = 211;
  game.flow.hoverSoundOn = 212;
  World& w = game.world;
  w.checkpointColumn = 301, w.checkpointRow = 302, w.cameraX = 303, w.cameraY = 304;
  w.screenOffsetX = 305, w.screenOffsetY = 306, w.enemyShotTimer = 307, w.enemyShotReload = 308;
  game.flow.soundsStarted = (1u << 17) | 1u;
  w.Pickups.Insert() = Pickup{2, 1, 0, 0, 0, 0, 0};
  w.EnemyShots.Insert() = Ascending();
  game.presentation.tileQueue.Insert() = TileRequest{1, 0, 0};

  EXPECT_EQ(TraceLine(game, 77, kPlaying),
            "77 3 2 3 500 "
            "-1 1 1 0 1 0 1 "
            "101 102 103 -104 105 106 107 108 109 110 111 112 113 114 115 116 "
            "201 202 203 204 205 206 207 208 209 210 211 212 "
            "301 302 303 304 305 306 307 308 "
            "131073 "
            "0 0 0 0 1 1803636513 0 0 1 947656708 0 0 "
            "961");
}

TEST(TraceLine, TracesOnlyTheFourPlayStates) {
  EXPECT_FALSE(TracedState(kTitleMenu));
  EXPECT_FALSE(TracedState(kOptions));
  EXPECT_TRUE(TracedState(kPlaying));
  EXPECT_TRUE(TracedState(kPaused));
  EXPECT_TRUE(TracedState(kGameOver));
  EXPECT_TRUE(TracedState(kPlanetSaved));
  EXPECT_FALSE(TracedState(6));
}

}  // namespace
}  // namespace quorin
