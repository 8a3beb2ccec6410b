// quorin-iconmaker ACTORS.png HICOLOR_DIR [ICO]: writes HICOLOR_DIR/NxN/apps/quorin.png
// for every icon size, and the Windows icon file ICO when named.
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
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: quorin-iconmaker ACTORS.png HICOLOR_DIR [ICO]\n");
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
      std::fprintf(stderr, "quorin-iconmaker: cannot write %s\n", folder.string().c_str());
      return 1;
    }
  }
  if (argc == 4) {
    const std::vector<unsigned char> ico = WindowsIconFile(hero);
    std::ofstream out(argv[3], std::ios::binary);
    out.write(reinterpret_cast<const char*>(ico.data()), static_cast<std::streamsize>(ico.size()));
    if (!out.flush()) {
      std::fprintf(stderr, "quorin-iconmaker: cannot write %s\n", argv[3]);
      return 1;
    }
  }
  return 0;
}
