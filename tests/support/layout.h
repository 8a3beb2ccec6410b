// Small layout images drawn as text, one character per pixel, for the
// generation tests and the quorin-sim world tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "runtime/numeric.h"
#include "runtime/png_codec.h"
#include "world/generation.h"

namespace quorin::testing {

// The colour of one layout character.
inline std::int32_t LayoutColour(char c) {
  switch (c) {
    case 'b': return ColourPack(128, 128, 192);  // blue rock
    case 'g': return ColourPack(128, 192, 128);  // green rock
    case 'p': return ColourPack(128, 32, 128);   // purple rock
    case 'r': return ColourPack(128, 128, 128);  // grey rock
    case 'x': return ColourPack(200, 10, 10);    // a rock colour outside the four kinds
    case 'S': return ColourPack(0, 255, 255);    // start
    case 'C': return ColourPack(0, 255, 128);    // checkpoint
    case 'H': return ColourPack(127, 0, 0);      // hazard
    case '1': return ColourPack(0, 0, 128);      // enemy kinds 1..5
    case '2': return ColourPack(0, 0, 144);
    case '3': return ColourPack(0, 0, 160);
    case '4': return ColourPack(0, 0, 176);
    case '5': return ColourPack(0, 0, 240);
    case '0': return ColourPack(0, 0, 200);      // a blue outside the five kinds
    case 'a': return ColourPack(0, 96, 0);       // decoration A
    case 'd': return ColourPack(0, 128, 0);      // decoration B
    case 'F': return ColourPack(0, 192, 0);      // fruit
    case '?': return ColourPack(1, 2, 3);        // outside the code: empty to the generator
    default: return 0;                           // '.': black
  }
}

// Rows of equal length, top row first.
inline LayoutImage MakeLayout(std::initializer_list<std::string> rows) {
  LayoutImage layout;
  layout.height = static_cast<std::int32_t>(rows.size());
  layout.width = rows.size() ? static_cast<std::int32_t>(rows.begin()->size()) : 0;
  for (const std::string& row : rows) {
    for (char c : row) layout.pixels.push_back(LayoutColour(c));
  }
  return layout;
}

// The layout as an 8-bit RGB PNG file's bytes.
inline std::vector<unsigned char> LayoutPng(const LayoutImage& layout) {
  Surface surface = MakeSurface(layout.width, layout.height);
  for (std::size_t k = 0; k < layout.pixels.size(); ++k) {
    surface.pixels[k] = static_cast<std::uint32_t>(layout.pixels[k]) | kPixelAlphaOpaque;
  }
  return EncodePng(surface);
}

}  // namespace quorin::testing
