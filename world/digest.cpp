#include "world/digest.h"

#include <type_traits>

#include "runtime/sha256.h"

namespace quorin {

namespace {

// Records of plain int32 fields go in whole; padding would make equal worlds differ.
template <class T>
void Add(Sha256& sha, const T& value) {
  static_assert(std::is_trivially_copyable_v<T> && std::has_unique_object_representations_v<T>);
  sha.Update(&value, sizeof value);
}

void AddText(Sha256& sha, const Text& text) {
  Add(sha, static_cast<std::uint64_t>(text.size()));
  sha.Update(text.data(), text.size());
}

// Array elements go in as stored bytes (floats included).
template <class T>
void AddArray(Sha256& sha, const Array<T>& array) {
  Add(sha, array.Size());
  for (int k = 0; k < array.Dimensions(); ++k) Add(sha, array.Extent(k));
  if (array.Size() != 0) sha.Update(array.Data(), array.Size() * sizeof(T));
}

// The count, where the cursor stands (-1: on no element), then every record
// in list order. The cursor decides where the next insert lands, so it counts.
template <class T, class F>
void AddList(Sha256& sha, const List<T>& list, F&& addRecord) {
  Add(sha, list.Count());
  std::int32_t cursor = -1;
  std::int32_t index = 0;
  const T* current = list.Current();
  list.ForEach([&](const T& record) {
    if (&record == current) cursor = index;
    ++index;
  });
  Add(sha, cursor);
  list.ForEach([&](const T& record) { addRecord(record); });
}

template <class T>
void AddList(Sha256& sha, const List<T>& list) {
  AddList(sha, list, [&](const T& record) { Add(sha, record); });
}

}  // namespace

std::string WorldDigest(const World& world) {
  Sha256 sha;
  const RandomState& r = world.random;
  Add(sha, r.i);
  Add(sha, r.j);
  Add(sha, r.a);
  Add(sha, r.b);
  Add(sha, r.seeded);
  AddArray(sha, world.directionTable);
  AddArray(sha, world.fixedDirectionTable);
  AddArray(sha, world.noiseField);
  AddArray(sha, world.aimOffsets);

  Add(sha, world.internalHeight);
  Add(sha, world.WorldWidth);
  Add(sha, world.WorldHeight);
  Add(sha, world.LastColumn);
  Add(sha, world.LastRow);
  Add(sha, world.WorldExtentX);
  Add(sha, world.WorldExtentY);
  AddArray(sha, world.CollisionMap);
  AddArray(sha, world.TileMap);

  Add(sha, world.cameraX);
  Add(sha, world.cameraY);
  Add(sha, world.screenOffsetX);
  Add(sha, world.screenOffsetY);
  Add(sha, world.viewHeight);
  Add(sha, world.activeHalfWidth);
  Add(sha, world.activeHalfHeight);

  Add(sha, world.player);
  Add(sha, world.playerInput);
  AddList(sha, world.Enemies);
  AddList(sha, world.PlayerShots);
  AddList(sha, world.EnemyShots);
  AddList(sha, world.FloatingTexts, [&](const FloatingText& t) {
    AddText(sha, t.text);
    Add(sha, t.glyphBase);
    Add(sha, t.spacing);
    Add(sha, t.x);
    Add(sha, t.y);
    Add(sha, t.vy);
    Add(sha, t.vyAccel);
    Add(sha, t.life);
  });
  AddList(sha, world.Particles);
  AddList(sha, world.Pickups);

  Add(sha, world.frameCounter);
  Add(sha, world.enemyShotTimer);
  Add(sha, world.enemyShotReload);
  Add(sha, world.checkpointColumn);
  Add(sha, world.checkpointRow);
  Add(sha, world.FruitLog);
  return sha.FinishHex();
}

}  // namespace quorin
