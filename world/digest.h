// A digest of the whole world state: equal worlds give equal digests. Tests
// copy a world, run both copies the same way and compare digests.
#pragma once

#include <string>

#include "world/world.h"

namespace quorin {

// SHA-256 (lowercase hex) over every field of the world, in a fixed order.
std::string WorldDigest(const World& world);

}  // namespace quorin
