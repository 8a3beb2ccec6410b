// quorin-soundgen: makes the game's eighteen sound effects.
//   quorin-soundgen [ASSETS]                      write ASSETS/sounds/00.ogg ... 17.ogg (01.wav)
//   quorin-soundgen --report [ASSETS]             decoded length, peak and RMS of each file
//   quorin-soundgen --waveforms OUT.png [ASSETS]  a labelled waveform strip per file
// ASSETS defaults to "assets". The build never runs this; its output is committed.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/soundgen/build_files.h"
#include "tools/soundgen/sounds.h"
#include "tools/soundgen/waveform_png.h"

namespace quorin::soundgen {
namespace {

namespace fs = std::filesystem;

bool WriteFile(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::optional<Bytes> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int Write(const fs::path& assets) {
  fs::create_directories(assets / "sounds");
  for (const SoundInfo& info : SoundTable()) {
    const Bytes bytes = BuildSoundFile(info.id);
    if (bytes.empty() || !WriteFile(assets / info.file, bytes)) {
      std::fprintf(stderr, "cannot write %s\n", (assets / info.file).c_str());
      return 1;
    }
    std::printf("%s  %zu bytes\n", info.file, bytes.size());
  }
  return 0;
}

// Every file decoded, in id order; a missing or unreadable one is reported.
std::optional<std::vector<StripSound>> LoadAll(const fs::path& assets) {
  std::vector<StripSound> sounds;
  for (const SoundInfo& info : SoundTable()) {
    const auto bytes = ReadFile(assets / info.file);
    DecodedSound decoded;
    if (bytes) decoded = DecodeSoundFile(info.id, *bytes);
    if (!decoded.ok) {
      std::fprintf(stderr, "cannot decode %s\n", (assets / info.file).c_str());
      return std::nullopt;
    }
    sounds.push_back(
        {info.id, info.event, decoded.rate, std::move(decoded.samples), bytes->size(), decoded.channels});
  }
  return sounds;
}

int Report(const fs::path& assets) {
  const auto sounds = LoadAll(assets);
  if (!sounds) return 1;
  std::printf("%-3s %-20s %6s %8s %7s %4s %6s %9s %8s %8s\n", "id", "event", "bytes", "samples", "seconds",
              "ch", "rate", "peak dBFS", "RMS dBFS", "loudness");
  for (const StripSound& s : *sounds) {
    const SoundLevels levels = Measure(s.samples);
    const double seconds = s.rate > 0 ? static_cast<double>(s.samples.size()) / s.channels / s.rate : 0.0;
    std::printf("%-3d %-20s %6zu %8zu %7.3f %4d %6d %9.2f %8.2f %8.2f\n", s.id, s.event.c_str(), s.fileBytes,
                s.samples.size(), seconds, s.channels, s.rate, levels.peakDb, levels.rmsDb,
                levels.loudnessDb);
  }
  return 0;
}

int Waveforms(const fs::path& out, const fs::path& assets) {
  const auto sounds = LoadAll(assets);
  if (!sounds) return 1;
  if (!WriteWaveformPng(out.string(), *sounds)) {
    std::fprintf(stderr, "cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}

int Run(const std::vector<std::string_view>& args) {
  if (!args.empty() && args[0] == "--report") return Report(args.size() > 1 ? args[1] : "assets");
  if (!args.empty() && args[0] == "--waveforms") {
    if (args.size() < 2) {
      std::fprintf(stderr, "usage: quorin-soundgen --waveforms OUT.png [ASSETS]\n");
      return 2;
    }
    return Waveforms(args[1], args.size() > 2 ? args[2] : "assets");
  }
  if (!args.empty() && args[0].starts_with("-")) {
    std::fprintf(stderr,
                 "usage: quorin-soundgen [ASSETS] | --report [ASSETS] | --waveforms OUT.png [ASSETS]\n");
    return 2;
  }
  return Write(args.empty() ? "assets" : args[0]);
}

}  // namespace
}  // namespace quorin::soundgen

int main(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  return quorin::soundgen::Run(args);
}
