#include "app/command_line.h"

#include <string>

namespace quorin {
namespace {

constexpr int kUsageError = 2;

void Usage(std::ostream& out) {
  out << "Usage: quorin [--help | --version]\n"
         "\n"
         "Quorin: run, jump, hover and shoot through one big painted cave.\n"
         "Started without options, the game opens its window.\n"
         "\n"
         "  -h, --help     show this text and exit\n"
         "  -V, --version  show the version and exit\n"
         "\n"
         "Keys: arrows move, Z jumps (button 1), X fires (button 2), Escape pauses\n"
         "or goes back, Alt+Enter switches window and full screen, F12 saves a\n"
         "screenshot. Keys and display options are read from engine.ini in the\n"
         "working directory; volume, window mode and best scores are kept in\n"
         "Quorin.cfg beside it (see the README).\n";
}

}  // namespace

std::optional<int> HandleCommandLine(std::span<const char* const> args, std::string_view version,
                                     std::ostream& out, std::ostream& err) {
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
    err << "quorin: unknown option '" << arg << "'\n"
        << "Try 'quorin --help'.\n";
    return kUsageError;
  }
  return std::nullopt;
}

}  // namespace quorin
