// quorin-sim commands that live in files of their own.
#pragma once

namespace quorin {

// sheet OUT.png: a contact sheet of every frame, tile and font, drawn by the
// game's own render pass. argv holds the arguments after the command name.
int CommandSheet(int argc, char** argv);

}  // namespace quorin
