#include "world/digest.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace quorin {
namespace {

// A small world with something in every part, built without the tables.
World Populated() {
  World world;
  world.WorldWidth = 3;
  world.WorldHeight = 2;
  ArrayCreateMulti(world.CollisionMap, {3, 2});
  ArrayCreateMulti(world.TileMap, {3, 2});
  ListInsert(world.Enemies).kind = 1;
  ListInsert(world.Enemies).kind = 2;
  ListInsert(world.PlayerShots).frame = 5;
  ListInsert(world.EnemyShots).frame = 6;
  FloatingText& text = ListInsert(world.FloatingTexts);
  text.text = "100";
  text.life = 30;
  ListInsert(world.Particles).age = 1;
  ListInsert(world.Pickups).kind = kPickupFruit;
  return world;
}

TEST(WorldDigest, EveryPartOfTheWorldCounts) {
  const World base = Populated();
  const std::string digest = WorldDigest(base);
  EXPECT_EQ(WorldDigest(World(base)), digest);
  const std::vector<std::pair<const char*, std::function<void(World&)>>> changes = {
      {"internalHeight", [](World& w) { w.internalHeight = 240; }},
      {"WorldExtentX", [](World& w) { w.WorldExtentX = 7; }},
      {"LastRow", [](World& w) { w.LastRow = 1; }},
      {"CollisionMap", [](World& w) { w.CollisionMap.At(2, 1) = 1; }},
      {"TileMap", [](World& w) { w.TileMap.At(0, 1) = 128; }},
      {"map shape", [](World& w) { ArrayCreateMulti(w.TileMap, {2, 3}); }},
      {"cameraY", [](World& w) { w.cameraY = -1; }},
      {"activeHalfHeight", [](World& w) { w.activeHalfHeight = 1; }},
      {"player", [](World& w) { w.player.lastBounceVy = 1; }},
      {"playerInput", [](World& w) { w.playerInput.button2Pressed = 1; }},
      {"enemy field", [](World& w) { w.Enemies.Current()->dropCount = 1; }},
      {"list cursor", [](World& w) { ListRewind(w.Enemies); }},
      {"player shot", [](World& w) { w.PlayerShots.Current()->age = 1; }},
      {"enemy shot", [](World& w) { ListInsert(w.EnemyShots); }},
      {"text", [](World& w) { w.FloatingTexts.Current()->text = "10"; }},
      {"text field", [](World& w) { w.FloatingTexts.Current()->vyAccel = 1; }},
      {"particle", [](World& w) { w.Particles.Current()->ay = 1; }},
      {"pickup", [](World& w) { w.Pickups.Current()->timer = 1; }},
      {"frameCounter", [](World& w) { w.frameCounter = 1; }},
      {"enemyShotReload", [](World& w) { w.enemyShotReload = 1; }},
      {"checkpointRow", [](World& w) { w.checkpointRow = 1; }},
      {"FruitLog", [](World& w) { w.FruitLog[7] = 1; }},
  };
  for (const auto& [name, change] : changes) {
    World changed = base;
    change(changed);
    EXPECT_NE(WorldDigest(changed), digest) << name;
  }
}

TEST(WorldDigest, RecordsAreTakenInListOrder) {
  World a = Populated();
  World b = Populated();
  // The same two enemies, the other way round.
  ListClearAll(b.Enemies);
  ListInsert(b.Enemies).kind = 2;
  ListInsert(b.Enemies).kind = 1;  // the cursor on the second, as in a
  EXPECT_NE(WorldDigest(a), WorldDigest(b));
  // A text that moves between two fields must not read the same.
  World c = Populated();
  c.FloatingTexts.Current()->text = "1000";
  World d = Populated();
  d.FloatingTexts.Current()->text = "100";
  d.FloatingTexts.Current()->glyphBase = '0';
  EXPECT_NE(WorldDigest(c), WorldDigest(d));
}

}  // namespace
}  // namespace quorin
