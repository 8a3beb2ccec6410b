// The contact sheet: every defined frame (labelled with its id), every tile,
// every font's characters and the other regions of the font sheet, queued
// page by page and drawn through the real queues, RenderFrame and a headless
// screen. The pages are put side by side in one PNG.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "flow/draw_queues.h"
#include "flow/frame_layout.h"
#include "flow/game.h"
#include "flow/render.h"
#include "flow/sprite_sheets.h"
#include "runtime/null/null_video.h"
#include "runtime/png_codec.h"
#include "tools/quorin-sim/commands.h"

namespace quorin {

namespace {

constexpr int kPage = kCanvasSize;  // a page is the whole canvas
constexpr int kPagesPerRow = 2;
constexpr int kMargin = 6;
constexpr int kTitleHeight = 22;
constexpr int kLabelFont = kFontSmall;  // digits only; narrow enough at -4
constexpr int kLabelSpacing = -4;
constexpr int kLabelHeight = 10;
constexpr std::int32_t kBackdrop = ColourPack(38, 42, 58);

// Something drawn at (x, y), its top-left corner, with a label below it.
struct Piece {
  int width = 0;
  int height = 0;
  std::string label;
  std::function<void(Game&, int, int)> queue;
};

struct Section {
  std::string title;
  int gap = 4;
  bool labelsWiden = true;                 // a label longer than its piece widens the cell
  int margin = kMargin;                    // left and right
  std::vector<std::vector<Piece>> groups;  // each group starts a new row
};

class SheetBuilder {
 public:
  SheetBuilder(Game& game, NullVideo& device) : game_(game), device_(device) {}

  void Add(const Section& section) {
    StartPage(section);
    const bool labelled = std::any_of(section.groups.begin(), section.groups.end(), [](const auto& group) {
      return std::any_of(group.begin(), group.end(), [](const Piece& p) { return !p.label.empty(); });
    });
    for (const std::vector<Piece>& group : section.groups) {
      NewRow(section);
      for (const Piece& piece : group) {
        const int labelWidth =
            piece.label.empty() ? 0 : TextWidth(game_, piece.label, kLabelFont, kLabelSpacing);
        const int width = section.labelsWiden ? std::max(piece.width, labelWidth) : piece.width;
        const int height = piece.height + (labelled ? kLabelHeight : 0);
        if (x_ > section.margin && x_ + width > kPage - section.margin) NewRow(section);
        if (y_ + height > kPage - kMargin && y_ > kTitleHeight) {
          FinishPage();
          StartPage(section);
        }
        piece.queue(game_, x_, y_);
        if (!piece.label.empty()) {
          QueueText(game_, piece.label, kLabelFont, x_, y_ + piece.height + 1, kLabelSpacing, 0);
        }
        x_ += width + section.gap;
        rowHeight_ = std::max(rowHeight_, height + section.gap);
      }
    }
    FinishPage();
  }

  // The pages in rows of kPagesPerRow.
  Surface Compose() const {
    const int count = static_cast<int>(pages_.size());
    const int columns = std::min(count, kPagesPerRow);
    const int rows = (count + kPagesPerRow - 1) / kPagesPerRow;
    Surface out = MakeSurface(columns * kPage, rows * kPage, kPixelAlphaOpaque);
    for (int k = 0; k < count; ++k) {
      const Surface& page = pages_[static_cast<std::size_t>(k)];
      const int left = (k % kPagesPerRow) * kPage;
      const int top = (k / kPagesPerRow) * kPage;
      for (int y = 0; y < std::min(page.height, kPage); ++y) {
        const std::uint32_t* src = page.Row(y);
        std::copy(src, src + std::min(page.width, kPage), out.Row(top + y) + left);
      }
    }
    return out;
  }

 private:
  void StartPage(const Section& section) {
    const int n = ++titlePages_[section.title];
    const std::string title = n > 1 ? section.title + " " + std::to_string(n) : section.title;
    QueueText(game_, title, kFontThin, kMargin, kMargin, 0, 0);
    x_ = section.margin;
    y_ = kTitleHeight;
    rowHeight_ = 0;
  }

  void NewRow(const Section& section) {
    x_ = section.margin;
    y_ += rowHeight_;
    rowHeight_ = 0;
  }

  // Draws the queued page exactly as a game frame is drawn and keeps the picture.
  void FinishPage() {
    RenderFrame(game_);
    ScreenPresent(game_.video);
    pages_.push_back(device_.LastPicture());
    ClearDrawQueues(game_);
  }

  Game& game_;
  NullVideo& device_;
  std::vector<Surface> pages_;
  std::map<std::string, int> titlePages_;
  int x_ = kMargin;
  int y_ = kTitleHeight;
  int rowHeight_ = 0;  // tallest cell of the current row, with its gap
};

Piece FramePiece(const FrameDef& f, int id) {
  return {f.width, f.height, std::to_string(id),
          [f, id](Game& game, int x, int y) { QueueFrame(game, id, x + f.hotX, y + f.hotY); }};
}

Piece TextPiece(const Game& game, const std::string& text, int glyphBase) {
  return {TextWidth(game, text, glyphBase, 0), kGlyphCell, std::to_string(glyphBase),
          [text, glyphBase](Game& g, int x, int y) { QueueText(g, text, glyphBase, x, y, 0, 0); }};
}

Piece ClipPiece(const SheetRect& r, std::string label = {}) {
  return {r.width, r.height, std::move(label),
          [r](Game& game, int x, int y) { QueueSheetClip(game, r.x, r.y, r.width, r.height, x, y); }};
}

Section Frames(const Game& game) {
  Section s{"FRAMES", 4, true, kMargin, {}};
  for (const FrameGroup& group : kFrameGroups) {
    std::vector<Piece> pieces;
    for (int i = 0; i < group.count; ++i) {
      const int id = group.first + i;
      pieces.push_back(FramePiece(game.presentation.frameTable[static_cast<std::size_t>(id)], id));
    }
    // The single gems share a row.
    if (group.count == 1 && !s.groups.empty() && s.groups.back().size() < 4 && group.first > kGemFrames) {
      s.groups.back().push_back(std::move(pieces.front()));
    } else {
      s.groups.push_back(std::move(pieces));
    }
  }
  return s;
}

// A tile whose every pixel is the key colour: nothing to show.
bool TileEmpty(const Game& game, int tile) {
  const Sprite* sprite = SpriteFind(game.video, kFirstTileSprite + tile);
  if (!sprite) return true;
  return std::all_of(sprite->surface.pixels.begin(), sprite->surface.pixels.end(),
                     [&](std::uint32_t p) { return (p & kPixelRgbMask) == sprite->key; });
}

// The tiles as they lie on the sheet, 32 to a row, every eighth numbered.
// Rows without a single painted tile are left out; the numbers show where.
Section Tiles(const Game& game) {
  Section s{"TILES", 0, false, 0, {}};
  for (int row = 0; row < kTileCount / kTilesPerRow; ++row) {
    bool empty = true;
    for (int k = 0; k < kTilesPerRow; ++k) empty = empty && TileEmpty(game, row * kTilesPerRow + k);
    if (empty) continue;
    std::vector<Piece> pieces;
    for (int k = 0; k < kTilesPerRow; ++k) {
      const int t = row * kTilesPerRow + k;
      pieces.push_back({kTileSize, kTileSize, t % 8 == 0 ? std::to_string(t) : std::string{},
                        [t](Game& game, int x, int y) { QueueTile(game, t, x, y); }});
    }
    s.groups.push_back(std::move(pieces));
  }
  return s;
}

std::string Characters(int first, int last) {
  std::string text;
  for (int c = first; c <= last; ++c) text += static_cast<char>(c);
  return text;
}

// Each font with the characters it has.
Section Fonts(const Game& game) {
  Section s{"FONTS", 6, true, kMargin, {}};
  for (int base : {kFontThin, kFontBoldWhite, kFontBoldYellow}) {
    s.groups.push_back({TextPiece(game, Characters(32, 63), base)});
    s.groups.push_back({TextPiece(game, Characters(64, 95), base)});
  }
  s.groups.push_back({TextPiece(game, "0123456789", kFontRedDigits)});
  s.groups.push_back({TextPiece(game, "0123456789", kFontYellowDigits)});
  s.groups.push_back({TextPiece(game, "0123456789:", kFontSmall)});
  s.groups.push_back({TextPiece(game, "ABCEHIMNORSUX", kFontSmall)});
  s.groups.push_back({TextPiece(game, "HI SCORE: 120 MAX BOUNCE: 9", kFontSmall)});
  return s;
}

// Fruit icons, HUD pieces, pointers and the title art of the font sheet.
Section SheetRegions(const Game& game) {
  Section s{"SHEET", 6, true, kMargin, {}};
  std::vector<Piece> fruits;
  for (int n = 1; n <= kFruitCount; ++n) fruits.push_back(ClipPiece(FruitIconRect(n), std::to_string(n)));
  s.groups.push_back(std::move(fruits));
  std::vector<Piece> small;
  for (const SheetRect& r : {kGaugeLeftCap, kGaugeFull, kGaugeEmpty, kGaugeRightCap, kGemIcon}) {
    small.push_back(ClipPiece(r));
  }
  for (const PointerRect& p : kPointerImages) {
    const PointerImage& image = game.presentation.pointerImages[static_cast<std::size_t>(p.index)];
    small.push_back(ClipPiece({image.x, image.y, image.width, image.height}, std::to_string(p.index)));
  }
  s.groups.push_back(std::move(small));
  s.groups.push_back({ClipPiece(kTitleLogo)});
  s.groups.push_back({ClipPiece(kTitleArt), ClipPiece(kSignature)});
  return s;
}

}  // namespace

int CommandSheet(int argc, char** argv) {
  if (argc != 1) {
    std::fprintf(stderr, "usage: quorin-sim sheet OUT.png\n");
    return 2;
  }
  Game game;
  BuildGlyphAdvances(game);
  BuildFrameTable(game);
  DefinePointerImages(game);
  game.shell.pointerImage = 0;  // the pointers are shown as sheet regions
  game.shell.clearColour = kBackdrop;
  game.shell.internalHeight = kPage;
  game.settings.Windowed = 1;
  game.settings.Windowwidth = kPage;  // one canvas pixel per picture pixel
  game.settings.BilinearFiltering = 0;
  game.settings.SpritesMainMem = kSpriteSystemMemory;

  NullVideo device;
  device.printMessages = false;
  SpriteSystemInit(game.video, device);
  WindowSpec wanted;
  wanted.clientWidth = kPage;
  wanted.clientHeight = kPage;
  wanted.title = "Quorin";
  const NativeWindow window = device.OpenWindow(wanted);
  if (!ScreenOpenWindowed(game.video, window, 0, 0, kPage, kPage, 0, 0, 0)) {
    std::fprintf(stderr, "quorin-sim: no headless screen\n");
    return 1;
  }
  BuildSprites(game);

  SheetBuilder sheet(game, device);
  sheet.Add(Frames(game));
  sheet.Add(Tiles(game));
  sheet.Add(Fonts(game));
  sheet.Add(SheetRegions(game));
  ReleaseAllSprites(game);
  SpriteSystemShutdown(game.video);

  if (!SavePng(sheet.Compose(), argv[0])) {
    std::fprintf(stderr, "quorin-sim: cannot write %s\n", argv[0]);
    return 1;
  }
  return 0;
}

}  // namespace quorin
