#include "tools/bot/input_file.h"

#include "runtime/key_codes.h"
#include "tools/bot/bot_game.h"

namespace quorin::bot {

namespace {

constexpr int kKeyOfBit[kKeyBits] = {kKeyLeft, kKeyRight, kKeyUp, kKeyDown, kKeyZ, kKeyX};

void Line(std::string& out, std::int64_t iteration, int code, bool down) {
  out += std::to_string(iteration) + " key " + std::to_string(code) + (down ? " down\n" : " up\n");
}

}  // namespace

std::int64_t QuitIteration(std::size_t playFrames) {
  return kFirstPlayIteration + static_cast<std::int64_t>(playFrames) + kQuitAfterScene;
}

std::string InputFileText(const std::vector<std::uint8_t>& keys, bool planetSaved) {
  std::string out =
      "# quorin-bot: a new game from the title, then every key change of play.\n"
      "# The pointer onto START of the default window (entering sets the reference), one click.\n"
      "1 mouse 660 338\n"
      "2 mouse 660 339\n"
      "4 button left down\n"
      "5 button left up\n";
  std::uint8_t held = 0;
  std::int64_t iteration = kFirstPlayIteration;
  auto change = [&](std::uint8_t now) {
    for (int bit = 0; bit < kKeyBits; ++bit) {
      const bool was = (held >> bit) & 1, is = (now >> bit) & 1;
      if (was != is) Line(out, iteration, kKeyOfBit[bit], is);
    }
    held = now;
  };
  for (const std::uint8_t k : keys) {
    change(k);
    ++iteration;
  }
  change(0);
  if (planetSaved) {
    out += "# The planet is saved; the scene ends by itself, then Escape leaves the title.\n";
    const std::int64_t quit = QuitIteration(keys.size());
    Line(out, quit, kKeyEscape, true);
    Line(out, quit + 2, kKeyEscape, false);
  }
  return out;
}

}  // namespace quorin::bot
