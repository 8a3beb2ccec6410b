#include "app/command_line.h"

#include <string>

namespace quorin {
namespace {

constexpr int kUsageError = 2;

void Usage(std::ostream& out) {
  out << "Usage: quorin [--help | --version]\n"
         "       quorin [--world FILE.png] [--record FILE | --replay FILE]\n"
         "\n"
         "Quorin: run, jump, hover and shoot through one big painted cave.\n"
         "Started without options, the game opens its window.\n"
         "\n"
         "  -h, --help        show this text and exit\n"
         "  -V, --version     show the version and exit\n"
         "  --world FILE.png  play a world painted by you instead of the built-in\n"
         "                    one (see docs/making-worlds.md); its best score and\n"
         "                    bounce count are kept for this session only\n"
         "  --record FILE     write everything you do, frame by frame, to FILE as\n"
         "                    you play, for --replay or quorin-sim run --input\n"
         "  --replay FILE     play back a recorded FILE in the window; keys and\n"
         "                    mouse are ignored, except that closing the window,\n"
         "                    Alt+F4 or Escape on the title ends it; Quorin.cfg is\n"
         "                    left as it was\n"
         "\n"
         "Keys: arrows move, Z jumps (button 1), X fires (button 2), Escape pauses\n"
         "or goes back, Alt+Enter switches window and full screen, F12 saves a\n"
         "screenshot. Keys and display options are read from engine.ini in the\n"
         "working directory; volume, window mode and best scores are kept in\n"
         "Quorin.cfg beside it (see the README).\n";
}

int UsageError(std::ostream& err, const std::string& what) {
  err << "quorin: " << what << "\n"
      << "Try 'quorin --help'.\n";
  return kUsageError;
}

}  // namespace

std::optional<int> HandleCommandLine(std::span<const char* const> args, std::string_view version,
                                     std::ostream& out, std::ostream& err, LaunchOptions& launch) {
  launch = {};
  for (std::size_t k = 1; k < args.size(); ++k) {
    const std::string_view arg = args[k] != nullptr ? args[k] : "";
    if (arg == "--help" || arg == "-h") {
      Usage(out);
      return 0;
    }
    if (arg == "--version" || arg == "-V") {
      out << "Quorin " << version << "\n";
      return 0;
    }
    std::string* value = arg == "--world"    ? &launch.world
                         : arg == "--record" ? &launch.record
                         : arg == "--replay" ? &launch.replay
                                             : nullptr;
    if (value == nullptr) return UsageError(err, "unknown option '" + std::string(arg) + "'");
    const std::string_view given = k + 1 < args.size() && args[k + 1] != nullptr ? args[k + 1] : "";
    if (given.empty()) return UsageError(err, "option '" + std::string(arg) + "' needs a file");
    *value = given;
    ++k;
  }
  if (!launch.record.empty() && !launch.replay.empty()) {
    return UsageError(err, "--record and --replay do not go together");
  }
  return std::nullopt;
}

std::optional<int> HandleCommandLine(std::span<const char* const> args, std::string_view version,
                                     std::ostream& out, std::ostream& err) {
  LaunchOptions ignored;
  return HandleCommandLine(args, version, out, err, ignored);
}

}  // namespace quorin
