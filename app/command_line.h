// The options of the game binary, for people who start it from a terminal:
// --help and --version print and end the program; --world, --record and
// --replay change what the game plays; no options plays as always.
#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace quorin {

// What the options ask of the game; empty paths ask for nothing.
struct LaunchOptions {
  std::string world;   // a layout image of one's own instead of the built-in world
  std::string record;  // the input script written as the game is played
  std::string replay;  // an input script played instead of the devices
};

// The exit code when the arguments ask for no game (help, version, or a
// usage error), after printing to out or err; nothing when the game runs,
// with the options in launch.
std::optional<int> HandleCommandLine(std::span<const char* const> args, std::string_view version,
                                     std::ostream& out, std::ostream& err, LaunchOptions& launch);
std::optional<int> HandleCommandLine(std::span<const char* const> args, std::string_view version,
                                     std::ostream& out, std::ostream& err);

}  // namespace quorin
