// A review picture of the effects: one labelled waveform strip per sound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::soundgen {

struct StripSound {
  int id = 0;
  std::string event;
  int rate = 0;
  std::vector<std::int16_t> samples;  // mono
  std::size_t fileBytes = 0;
  int channels = 0;
};

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // rows top to bottom, 3 bytes a pixel
};

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;

// Rows of a character of the built-in pixel font, top first, bit 4 the left
// column; null for characters it lacks (lower case is drawn as upper case).
const std::uint8_t* Glyph(char c);

// The label of a strip: id, event and decoded length.
std::string StripLabel(const StripSound& sound);

RgbImage RenderWaveforms(const std::vector<StripSound>& sounds);
bool WritePng(const std::string& path, const RgbImage& image);
inline bool WriteWaveformPng(const std::string& path, const std::vector<StripSound>& sounds) {
  return WritePng(path, RenderWaveforms(sounds));
}

}  // namespace quorin::soundgen
