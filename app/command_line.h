// The few options of the game binary, for people who start it from a
// terminal: --help and --version print and end the program; no options plays.
#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string_view>

namespace quorin {

// The exit code when the arguments ask for no game (help, version, or an
// unknown option), after printing to out or err; nothing when the game runs.
std::optional<int> HandleCommandLine(std::span<const char* const> args, std::string_view version,
                                     std::ostream& out, std::ostream& err);

}  // namespace quorin
