// A world layout of the player's own, from a PNG file (--world of quorin and
// of quorin-sim run): decoded and held to the generator's limits.
#pragma once

#include <memory>
#include <string>

#include "world/generation.h"

namespace quorin {

// Empty when the file is a usable layout (then in out), else the reason in
// plain words, naming the file (and the pixel and the rule it breaks).
std::string LoadWorldFile(const std::string& path, std::shared_ptr<const LayoutImage>& out);

}  // namespace quorin
