// quorin-iconmaker ACTORS.png HICOLOR_DIR: writes HICOLOR_DIR/NxN/apps/quorin.png
// for every icon size.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/png_codec.h"
#include "tools/iconmaker/icon.h"

int main(int argc, char** argv) {
  using namespace quorin;
  if (argc != 3) {
    std::fprintf(stderr, "usage: quorin-iconmaker ACTORS.png HICOLOR_DIR\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  DecodedImage sheet;
  if (!DecodePng(data, sheet)) {
    std::fprintf(stderr, "quorin-iconmaker: %s is no PNG\n", argv[1]);
    return 1;
  }
  const Surface hero = HeroIcon(sheet.pixels);
  if (hero.width == 0) {
    std::fprintf(stderr, "quorin-iconmaker: %s holds no hero frames\n", argv[1]);
    return 1;
  }
  for (const std::int32_t size : kIconSizes) {
    const std::string side = std::to_string(size);
    const std::filesystem::path folder = std::filesystem::path(argv[2]) / (side + "x" + side) / "apps";
    std::filesystem::create_directories(folder);
    if (!SavePng(ScaleIcon(hero, size), (folder / "quorin.png").string(), true)) {
      std::fprintf(stderr, "quorin-iconmaker: cannot write %s\n", folder.c_str());
      return 1;
    }
  }
  return 0;
}
