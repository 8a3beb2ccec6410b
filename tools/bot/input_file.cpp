#include "tools/bot/input_file.h"

#include "runtime/key_codes.h"
#include "tools/bot/bot_game.h"

namespace quorin::bot {

namespace {

constexpr int kKeyOfBit[kKeyBits] = {kKeyLeft, kKeyRight, kKeyUp, kKeyDown, kKeyZ, kKeyX};

void Line(std::string& out, std::int64_t iteration, int code, bool down) {
  out += std::to_string(iteration) + " key " + std::to_string(code) + (down ? " down\n" : " up\n");
}

// Only a run that goes on after the pause frame pauses.
bool Pauses(std::size_t playFrames) { return static_cast<std::int64_t>(playFrames) > kPauseAfterFrame + 1; }

}  // namespace

std::int64_t IterationOfFrame(std::int64_t k, std::size_t playFrames) {
  const std::int64_t shift = (Pauses(playFrames) && k > kPauseAfterFrame) ? kPauseIterations : 0;
  return kFirstPlayIteration + k + shift;
}

std::int64_t QuitIteration(std::size_t playFrames) {
  return IterationOfFrame(static_cast<std::int64_t>(playFrames), playFrames) + kQuitAfterScene;
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
  std::int64_t iteration = 0;
  auto change = [&](std::uint8_t now) {
    for (int bit = 0; bit < kKeyBits; ++bit) {
      const bool was = (held >> bit) & 1, is = (now >> bit) & 1;
      if (was != is) Line(out, iteration, kKeyOfBit[bit], is);
    }
    held = now;
  };
  for (std::size_t k = 0; k < keys.size(); ++k) {
    iteration = IterationOfFrame(static_cast<std::int64_t>(k), keys.size());
    change(keys[k]);
    if (Pauses(keys.size()) && static_cast<std::int64_t>(k) == kPauseAfterFrame) {
      // Escape pauses after this frame has played; pressed again it resumes.
      out += "# The pause menu, and back to the game.\n";
      Line(out, iteration, kKeyEscape, true);
      Line(out, iteration + 1, kKeyEscape, false);
      Line(out, iteration + kPauseIterations, kKeyEscape, true);
      Line(out, iteration + kPauseIterations + 1, kKeyEscape, false);
    }
  }
  iteration = IterationOfFrame(static_cast<std::int64_t>(keys.size()), keys.size());
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
