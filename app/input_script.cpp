#include "app/input_script.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace quorin {

bool ParseWholeInt(const std::string& text, long long& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  out = std::strtoll(text.c_str(), &end, 10);
  return *end == '\0';
}

namespace {

bool ParseDownUp(const std::string& word, int& down) {
  if (word == "down") down = 1;
  else if (word == "up") down = 0;
  else return false;
  return true;
}

}  // namespace

bool ParseScript(std::istream& in, Script& script, std::string& error) {
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (const std::size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    if (w.empty()) continue;
    long long frame = 0, x = 0, y = 0;
    ScriptEvent e{};
    bool ok = w.size() >= 2 && ParseWholeInt(w[0], frame) && frame >= 0;
    e.frame = frame;
    if (ok && w[1] == "key" && w.size() == 4) {
      e.kind = EventKind::Key;
      ok = ParseWholeInt(w[2], x) && x >= 0 && x <= 255 && ParseDownUp(w[3], e.b);
      e.a = static_cast<int>(x);
    } else if (ok && (w[1] == "mouse" || w[1] == "joy") && w.size() == 4) {
      e.kind = w[1] == "mouse" ? EventKind::Mouse : EventKind::Joy;
      ok = ParseWholeInt(w[2], x) && ParseWholeInt(w[3], y);
      e.a = static_cast<int>(std::clamp<long long>(x, -100000, 100000));
      e.b = static_cast<int>(std::clamp<long long>(y, -100000, 100000));
      if (e.kind == EventKind::Joy) script.joystick = true;
    } else if (ok && w[1] == "button" && w.size() == 4) {
      e.kind = EventKind::Button;
      ok = (w[2] == "left" || w[2] == "right") && ParseDownUp(w[3], e.b);
      e.a = w[2] == "left" ? 1 : 2;
    } else if (ok && w[1] == "joybutton" && w.size() == 4) {
      e.kind = EventKind::JoyButton;
      ok = ParseWholeInt(w[2], x) && x >= 1 && x <= 32 && ParseDownUp(w[3], e.b);
      e.a = static_cast<int>(x);
      script.joystick = true;
    } else if (ok && w[1] == "focus" && w.size() == 3) {
      e.kind = EventKind::Focus;
      ok = w[2] == "lost" || w[2] == "gained";
      e.a = w[2] == "gained";
    } else if (ok && w[1] == "close" && w.size() == 2) {
      e.kind = EventKind::Close;
    } else {
      ok = false;
    }
    if (!ok) {
      error = "line " + std::to_string(number) + ": cannot read \"" + line + "\"";
      return false;
    }
    script.events.push_back(e);
  }
  std::stable_sort(script.events.begin(), script.events.end(),
                   [](const ScriptEvent& l, const ScriptEvent& r) { return l.frame < r.frame; });
  return true;
}

std::string ScriptLine(const ScriptEvent& e) {
  const std::string frame = std::to_string(e.frame);
  const char* downUp = e.b ? " down" : " up";
  switch (e.kind) {
    case EventKind::Key: return frame + " key " + std::to_string(e.a) + downUp;
    case EventKind::Mouse: return frame + " mouse " + std::to_string(e.a) + " " + std::to_string(e.b);
    case EventKind::Button: return frame + " button " + (e.a == 1 ? "left" : "right") + downUp;
    case EventKind::Joy: return frame + " joy " + std::to_string(e.a) + " " + std::to_string(e.b);
    case EventKind::JoyButton: return frame + " joybutton " + std::to_string(e.a) + downUp;
    case EventKind::Focus: return frame + (e.a ? " focus gained" : " focus lost");
    case EventKind::Close: return frame + " close";
  }
  return frame + " close";
}

}  // namespace quorin
