// quorin-artgen ASSETS_DIR [DOCS_DIR]: paints every image and table of the game
// into ASSETS_DIR, and enlarged previews for reviewers into DOCS_DIR.
#include <cstdio>
#include <string>

#include "tools/artgen/sheets.h"
#include "tools/artgen/tables.h"

namespace {

constexpr int kPreviewScale = 2;
constexpr int kNoisePreviewScale = 4;

bool Report(bool ok, const std::string& path) {
  if (!ok) std::fprintf(stderr, "quorin-artgen: cannot write %s\n", path.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quorin::art;
  if (argc < 2) {
    std::fprintf(stderr, "usage: quorin-artgen ASSETS_DIR [DOCS_DIR]\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  const Image actors = PaintActorsSheet();
  const Image tiles = PaintTilesSheet();
  const Image font = PaintFontSheet(actors);
  const Image noise = PaintNoiseTexture();
  const std::vector<Rgb> noiseColours{{0, 0, 0}, {128, 128, 128}, {255, 255, 255}};
  bool ok = Report(WritePng8(dir + "actors.png", actors), dir + "actors.png");
  ok = Report(WritePng8(dir + "tiles.png", tiles), dir + "tiles.png") && ok;
  ok = Report(WritePng8(dir + "font.png", font), dir + "font.png") && ok;
  ok = Report(WritePng4(dir + "noise.png", noise, noiseColours), dir + "noise.png") && ok;
  ok = Report(WriteGlyphWidths(dir + "glyph_widths.bin"), dir + "glyph_widths.bin") && ok;
  ok = Report(WriteAimOffsets(dir + "aim_offsets.bin"), dir + "aim_offsets.bin") && ok;
  if (argc >= 3) {
    const std::string docs = std::string(argv[2]) + "/";
    ok =
        Report(WritePng8(docs + "art-actors.png", Enlarge(actors, kPreviewScale)), docs + "art-actors.png") &&
        ok;
    ok = Report(WritePng8(docs + "art-tiles.png", Enlarge(tiles, kPreviewScale)), docs + "art-tiles.png") &&
         ok;
    ok = Report(WritePng8(docs + "art-font.png", Enlarge(font, kPreviewScale)), docs + "art-font.png") && ok;
    ok = Report(WritePng8(docs + "art-scene.png",
                          Enlarge(PaintScene(actors, tiles, font, noise), kPreviewScale)),
                docs + "art-scene.png") &&
         ok;
    ok = Report(WritePng4(docs + "art-noise.png", Enlarge(noise, kNoisePreviewScale), noiseColours),
                docs + "art-noise.png") &&
         ok;
  }
  return ok ? 0 : 1;
}
