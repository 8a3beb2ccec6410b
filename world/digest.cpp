#include "world/digest.h"

#include <type_traits>

#include "runtime/sha256.h"

namespace quorin {

namespace {

template <class T>
void Add(Sha256& sha, const T& value) {
  static_assert(std::is_trivially_copyable_v<T>);
  sha.Update(&value, sizeof value);
}

template <class T>
void AddArray(Sha256& sha, const Array<T>& array) {
  Add(sha, array.Size());
  for (int k = 0; k < array.Dimensions(); ++k) Add(sha, array.Extent(k));
  if (array.Size() != 0) sha.Update(array.Data(), array.Size() * sizeof(T));
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
  return sha.FinishHex();
}

}  // namespace quorin
