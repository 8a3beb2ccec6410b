// The design figures of a layout, measured from its pixels alone so that any
// world (ours before and after a change, or a hand-made one) can be compared:
// how much it repeats itself, its rooms and how they differ by region, the
// set pieces, how difficulty rises with walking distance, checkpoint cover,
// landmarks, dead ends and secrets. `quorin-worldpaint --report` prints them.
#pragma once

#include <string>
#include <vector>

#include "tools/worldpaint/layout.h"

namespace quorin::worldpaint {

// One `name = value` line each.
std::vector<std::string> DesignFigures(const Layout& layout);

}  // namespace quorin::worldpaint
