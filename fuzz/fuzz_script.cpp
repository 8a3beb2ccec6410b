// The quorin-sim input-script reader on any text: events in frame order and
// within their ranges, or a refusal naming a line.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "app/input_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorin;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  Script script;
  std::string error;
  if (!ParseScript(in, script, error)) {
    if (!error.starts_with("line ")) std::abort();
    return 0;
  }
  std::int64_t last = 0;
  for (const ScriptEvent& e : script.events) {
    if (e.frame < last) std::abort();
    last = e.frame;
    if (e.kind == EventKind::Key && (e.a < 0 || e.a > 255)) std::abort();
    if (e.kind == EventKind::JoyButton && (e.a < 1 || e.a > 32)) std::abort();
  }
  return 0;
}
