// quorin-sim's commands that live in files of their own. argv holds the
// arguments after the command name.
#pragma once

#include <string>
#include <vector>

namespace quorin {

struct LayoutImage;

// What quorin-sim route saw of a played run, in cells.
struct RouteMarks {
  struct Point {
    int column;
    int row;
  };
  std::vector<std::vector<Point>> paths;  // one line per stretch without a jump (respawns break it)
  std::vector<Point> deaths;              // where the hero was hurt (the ball, or the game over)
  std::vector<Point> fruits;              // where the hero took each fruit
};

// run --frames N [--input FILE] [--shot K:OUT.png]...
int CommandRun(int argc, char** argv);
// sheet OUT.png: a contact sheet of every frame, tile and font, drawn by the
// game's own render pass.
int CommandSheet(int argc, char** argv);
// world [--layout LAYOUT.png]: the generated world's figures, one
// "name = value" line each.
int CommandWorld(int argc, char** argv);
// map OUT.png [--layout LAYOUT.png]: the generated world at one pixel per cell.
int CommandMap(int argc, char** argv);
// route INPUT OUT.png: plays an input file as run does, then draws the map
// (fruits numbered) with the hero's path over it, a ring where each fruit
// was taken and a cross where the hero was hurt.
int CommandRoute(int argc, char** argv);
// The route picture of a new game's world (the embedded one unless layout is
// given) at two pixels per cell. False when it cannot be written.
bool SaveRouteMap(const RouteMarks& marks, const LayoutImage* layout, const std::string& path);

}  // namespace quorin
