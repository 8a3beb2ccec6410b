// quorin-sim's commands that live in files of their own.
#pragma once

namespace quorin {

// run --frames N [--input FILE] [--shot K:OUT.png]...
int CommandRun(int argc, char** argv);

}  // namespace quorin
