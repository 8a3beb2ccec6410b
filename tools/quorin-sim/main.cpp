// quorin-sim: the headless driver of the game for tests, scripts and reviewers.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings.h"
#include "tools/quorin-sim/commands.h"
#include "flow/sound_cues.h"
#include "runtime/embedded.h"
#include "runtime/null/audio_null.h"
#include "tools/soundgen/sounds.h"
#include "tools/soundgen/waveform_png.h"
#include "app/startup.h"
#include "runtime/random.h"
#include "runtime/sha256.h"
#include "flow/sprite_sheets.h"
#include "tools/quorin-sim/commands.h"
#include "world/tables.h"

namespace {

using namespace quorin;

int Usage() {
  std::fprintf(stderr,
               "usage: quorin-sim COMMAND ...\n"
               "  rng SEED COUNT [MAX]   draws of the seeded generator, one per line\n"
               "  settings               the settings as the game reads them here\n"
               "  noise                  SHA-256 of the start-up noise field\n"
               "  sounds OUT.png         waveform strips of the embedded sounds as the game decodes them\n"
               "  sheet OUT.png          contact sheet of every frame, tile and font, drawn by the render pass\n"
               "  world [--layout LAYOUT.png]\n"
               "                         figures and map digests of the world a new game generates\n"
               "  map OUT.png [--layout LAYOUT.png]\n"
               "                         that world at one pixel per cell\n"
               "  run --frames N [--input FILE] [--shot K:OUT.png]... [--trace FILE] [--world FILE.png]\n"
               "                         the game headless for N main-loop iterations\n"
               "  route INPUT OUT.png    the path an input file plays, drawn over the world map\n");
  return 2;
}

bool ParseInt(const char* text, long long& out) {
  char* end = nullptr;
  out = std::strtoll(text, &end, 10);
  return end != text && *end == '\0';
}

int CommandRng(int argc, char** argv) {
  long long seed, count, max = -1;
  if (argc < 2 || argc > 3 || !ParseInt(argv[0], seed) || !ParseInt(argv[1], count) || count < 0 ||
      (argc == 3 && !ParseInt(argv[2], max))) {
    return Usage();
  }
  RandomState state;
  RandomSetSeed(state, static_cast<std::int32_t>(seed));
  std::string out;
  for (long long k = 0; k < count; ++k) {
    out += std::to_string(RandomUpTo(state, static_cast<std::int32_t>(max)));
    out += '\n';
    if (out.size() > 65536) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      out.clear();
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

// Prints what the game reads from engine.ini and the user file; writes nothing.
int CommandSettings() {
  Game game;
  CreateContainers(game);
  ReadEngineSettings(game);
  const Settings& s = game.settings;
  for (const EngineKey& k : EngineKeys()) {
    if (k.floatField) {
      std::printf("%.*s = %.9g\n", static_cast<int>(k.key.size()), k.key.data(), static_cast<double>(s.*k.floatField));
    } else {
      std::printf("%.*s = %d\n", static_cast<int>(k.key.size()), k.key.data(), s.*k.intField);
    }
  }
  game.settings.AudioVolume = 3;  // as start-up sets it before the user file is read
  LoadUserSettings(game);
  const OptionsState& o = game.options;
  std::printf("userFilePath = %s\n", s.userFilePath.c_str());
  std::printf("AudioVolume = %d\nWindowed = %d\nSmoothing = %d\nHiScore = %d\nMaxBounce = %d\n", s.AudioVolume,
              s.Windowed, s.BilinearFiltering, o.HiScore, o.MaxBounce);
  return 0;
}

// Digest of the noise field as start-up leaves it, over its values as
// little-endian int32, index order.
int CommandNoise() {
  Game game;
  BuildDirectionTable(game.world);
  PrepareTables(game);
  const Array<std::int32_t>& field = game.world.noiseField;
  Sha256 sha;
  for (std::size_t k = 0; k < field.Size(); ++k) {
    const auto v = static_cast<std::uint32_t>(field[k]);
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                   static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    sha.Update(bytes, 4);
  }
  std::printf("%s\n", sha.FinishHex().c_str());
  return 0;
}

// Decodes every embedded sound through the game's sound layer and draws it.
int CommandSounds(const char* out) {
  NullAudioDevice device;
  SoundSystem sound;
  SoundInit(sound, &device);
  LoadEmbeddedSounds(sound);
  std::vector<soundgen::StripSound> strips;
  for (const soundgen::SoundInfo& info : soundgen::SoundTable()) {
    soundgen::StripSound strip;
    strip.id = info.id;
    strip.event = info.event;
    if (const Sound* s = SoundFind(sound, info.id); s && s->voice.pcm) {
      const PcmData& pcm = *s->voice.pcm;
      strip.rate = pcm.rate;
      strip.channels = pcm.channels;
      for (std::size_t f = 0; f < pcm.frames; ++f) strip.samples.push_back(pcm.samples[f * pcm.channels]);
    }
    if (const EmbeddedFile* file = FindEmbeddedFile(SoundFileName(info.id))) strip.fileBytes = file->bytes.size();
    strips.push_back(std::move(strip));
  }
  SoundShutdown(sound);
  if (!soundgen::WriteWaveformPng(out, strips)) {
    std::fprintf(stderr, "quorin-sim: cannot write %s\n", out);
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string_view command = argv[1];
  if (command == "rng") return CommandRng(argc - 2, argv + 2);
  if (command == "settings" && argc == 2) return CommandSettings();
  if (command == "noise" && argc == 2) return CommandNoise();
  if (command == "sounds" && argc == 3) return CommandSounds(argv[2]);
  if (command == "sheet" && argc == 3) return CommandSheet(argc - 2, argv + 2);
  if (command == "world") return CommandWorld(argc - 2, argv + 2);
  if (command == "map") return CommandMap(argc - 2, argv + 2);
  if (command == "run") return CommandRun(argc - 2, argv + 2);
  if (command == "route") return CommandRoute(argc - 2, argv + 2);
  return Usage();
}
