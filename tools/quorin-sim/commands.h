// quorin-sim's commands that live in files of their own. argv holds the
// arguments after the command name.
#pragma once

namespace quorin {

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

}  // namespace quorin
