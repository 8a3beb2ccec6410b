// quorin-worldpaint ASSETS_DIR [DOCS_DIR]: paints the world layout into
// ASSETS_DIR/world.png (and its figures, the counts, the hero's reach and
// the design figures, into DOCS_DIR/world-figures.txt), printing them; fails when a figure leaves its margin or a fruit or
// checkpoint is out of the hero's reach.
// quorin-worldpaint --check FILE.png: the reach check on any layout image.
// quorin-worldpaint --report FILE.png: the design figures of any layout image.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/worldpaint/design.h"
#include "tools/worldpaint/painter.h"

namespace {

using namespace quorin::worldpaint;

std::vector<std::string> ReachLines(const Measured& m, const ReachReport& r) {
  return {"jump_rise = " + Cells(m.jumpRise) + " cells",
          "double_jump_rise = " + Cells(m.doubleRise) + " cells (second press at frame " +
              std::to_string(m.doublePress) + ")",
          "hover_rise = " + Cells(m.hoverRise) + " cells (second press at frame " + std::to_string(m.hoverPress) +
              ", held " + std::to_string(m.hoverRelease) + ", held again from frame " +
              std::to_string(m.hoverRehold) + ")",
          "hover_rise_checked = " + Cells(m.checkedHoverRise) + " cells (the reach check keeps " +
              std::to_string(48 - kCheckedHoverFuel) + " frames of fuel in reserve)",
          "jump_distance = " + Cells(m.jumpRun) + " cells from rest, " + Cells(m.jumpRunFull) +
              " cells at full speed",
          "hover_distance = " + Cells(m.doubleRun) + " cells at full speed",
          "standing_places_reached = " + std::to_string(r.stands),
          "standing_places_returning = " + std::to_string(r.returning),
          "moves = " + std::to_string(r.edges),
          "fruits_checked = " + std::to_string(r.fruits),
          "checkpoints_checked = " + std::to_string(r.checkpoints)};
}

void Print(const std::vector<std::string>& lines, FILE* to = stdout) {
  for (const std::string& l : lines) std::fprintf(to, "%s\n", l.c_str());
}

int Check(const std::string& path) {
  Layout layout;
  if (!ReadLayoutPng(path, layout)) {
    std::fprintf(stderr, "quorin-worldpaint: cannot read %s\n", path.c_str());
    return 2;
  }
  const ReachReport report = CheckReach(layout);
  Print(DescribeFigures(CountFigures(layout)));
  Print(ReachLines(MeasureReach(), report));
  for (const std::string& p : report.problems) std::fprintf(stderr, "quorin-worldpaint: %s\n", p.c_str());
  std::printf("reach = %s\n", report.ok ? "ok" : "FAILED");
  return report.ok ? 0 : 1;
}

int Report(const std::string& path) {
  Layout layout;
  if (!ReadLayoutPng(path, layout)) {
    std::fprintf(stderr, "quorin-worldpaint: cannot read %s\n", path.c_str());
    return 2;
  }
  Print(DesignFigures(layout));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--check") return Check(argv[2]);
  if (argc == 3 && std::string(argv[1]) == "--report") return Report(argv[2]);
  if (argc < 2 || argc > 3 || argv[1][0] == '-') {
    std::fprintf(stderr, "usage: quorin-worldpaint ASSETS_DIR [DOCS_DIR]\n       quorin-worldpaint --check FILE.png\n       quorin-worldpaint --report FILE.png\n");
    return 2;
  }
  const auto began = std::chrono::steady_clock::now();
  const Painting painting = PaintWorld();
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - began);
  std::vector<std::string> lines = DescribeFigures(CountFigures(painting.layout));
  const std::vector<std::string> reach = ReachLines(MeasureReach(), painting.reach);
  lines.insert(lines.end(), reach.begin(), reach.end());
  const std::vector<std::string> design = DesignFigures(painting.layout);
  lines.insert(lines.end(), design.begin(), design.end());
  Print(lines);
  std::printf("paint_time = %lld ms\n", static_cast<long long>(took.count()));
  const std::string path = std::string(argv[1]) + "/world.png";
  bool ok = painting.problems.empty();
  for (const std::string& p : painting.problems) std::fprintf(stderr, "quorin-worldpaint: %s\n", p.c_str());
  if (!WriteLayoutPng(path, painting.layout)) {
    std::fprintf(stderr, "quorin-worldpaint: cannot write %s\n", path.c_str());
    ok = false;
  }
  if (argc == 3) {
    const std::string figures = std::string(argv[2]) + "/world-figures.txt";
    FILE* f = std::fopen(figures.c_str(), "w");
    if (!f) {
      std::fprintf(stderr, "quorin-worldpaint: cannot write %s\n", figures.c_str());
      ok = false;
    } else {
      Print(lines, f);
      ok = std::fclose(f) == 0 && ok;
    }
  }
  return ok ? 0 : 1;
}
