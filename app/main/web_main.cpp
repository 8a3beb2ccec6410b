// Entry point of the game in the browser: the real game on SDL's web back
// end, one loop iteration per animation frame. main returns once start-up is
// done; everything the loop uses lives on the heap from then on.
#include <cstdint>
#include <memory>
#include <string>

#include "app/game_main.h"
#include "app/settings.h"
#include "runtime/sdl/audio_sdl.h"
#include "runtime/sdl/input_sdl.h"
#include "runtime/web/web_clock.h"
#include "runtime/web/web_page.h"
#include "runtime/web/web_video.h"

namespace {

struct Machine {
  quorin::WebClock clock{quorin::PageTestMode()};
  quorin::WebVideo video;
  std::unique_ptr<quorin::AudioDevice> audio = quorin::CreateSdlAudioDevice();
  std::unique_ptr<quorin::InputDevice> input = quorin::CreateSdlInputDevice();
  quorin::Game game;
  std::int64_t iteration = 0;
};

}  // namespace

int main() {
  using namespace quorin;
  Machine* m = new Machine;  // never freed: the page ends the program
  const Platform platform{&m->clock, &m->video, m->audio.get(), m->input.get()};
  if (!GameStart(m->game, platform)) return 0;
  SetPictureSource(&m->video);
  SetStatusSource([m] {
    const Game& g = m->game;
    return "state=" + std::to_string(g.flow.GameState) + " x=" + std::to_string(g.world.player.x) +
           " y=" + std::to_string(g.world.player.y) + " hiscore=" + std::to_string(g.options.HiScore) +
           " iteration=" + std::to_string(m->iteration);
  });
  // A hidden page may be closed without another frame: save the user file
  // there, as quitting does.
  OnPageHidden([m] {
    if (m->game.shell.fatalError == 0) SaveUserSettings(m->game);
  });
  const bool hooked = PageTestMode();
  RunEachAnimationFrame(
      [m, hooked] {
        // Animation frames come about every 16.7 ms: one that comes early
        // is let pass rather than waited out.
        if (!hooked && MsUntilNextStep(m->game, m->clock.Milliseconds()) != 0) return true;
        const bool more = GameIterate(m->game, {}, m->iteration++);
        IterationRan();
        return more;
      },
      [m] { GameFinish(m->game); });
  return 0;
}
