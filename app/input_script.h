// The input script: one event per line. quorin-sim run and quorin --replay
// read it before the game starts, quorin --record writes it as the game goes.
// Hand-written scripts and generated soak scripts both come here, so any text
// must give an event list or a line-numbered refusal.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace quorin {

enum class EventKind { Key, Mouse, Button, Joy, JoyButton, Focus, Close };

struct ScriptEvent {
  std::int64_t frame;
  EventKind kind;
  int a;
  int b;
};

struct Script {
  std::vector<ScriptEvent> events;  // in frame order, file order within a frame
  bool joystick = false;
};

// A whole decimal integer (strtoll's reading); false for empty text or trailing characters.
bool ParseWholeInt(const std::string& text, long long& out);

// One event per line: FRAME key CODE down|up, FRAME mouse X Y,
// FRAME button left|right down|up, FRAME joy X Y, FRAME joybutton K down|up,
// FRAME focus lost|gained, FRAME close. Blank lines and # comments are skipped.
// False with a reason naming the line for anything else.
bool ParseScript(std::istream& in, Script& script, std::string& error);

// The line ParseScript reads back as e (no newline).
std::string ScriptLine(const ScriptEvent& e);

}  // namespace quorin
