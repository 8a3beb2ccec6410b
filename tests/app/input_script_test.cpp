// What quorin --record writes reads back, event for event.
#include "app/input_script.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace quorin {
namespace {

TEST(InputScriptLines, EveryKindOfEventReadsBackAsWritten) {
  const std::vector<ScriptEvent> events = {
      {0, EventKind::Joy, -1000, 1000}, {0, EventKind::Key, 255, 1},         {3, EventKind::Key, 0, 0},
      {3, EventKind::Mouse, -40, 600},  {4, EventKind::Button, 1, 1},        {4, EventKind::Button, 2, 0},
      {9, EventKind::JoyButton, 32, 1}, {9, EventKind::JoyButton, 1, 0},     {12, EventKind::Focus, 0, 0},
      {15, EventKind::Focus, 1, 0},     {123456789, EventKind::Close, 0, 0},
  };
  std::string text;
  for (const ScriptEvent& e : events) text += ScriptLine(e) + "\n";
  EXPECT_EQ(ScriptLine(events[3]), "3 mouse -40 600");
  EXPECT_EQ(ScriptLine(events[7]), "9 joybutton 1 up");
  std::istringstream in(text);
  Script script;
  std::string error;
  ASSERT_TRUE(ParseScript(in, script, error)) << error << "\n" << text;
  ASSERT_EQ(script.events.size(), events.size());
  for (std::size_t k = 0; k < events.size(); ++k) {
    const ScriptEvent& got = script.events[k];
    EXPECT_EQ(got.frame, events[k].frame) << k;
    EXPECT_EQ(got.kind, events[k].kind) << k;
    // Focus and close carry no numbers but the focus's own.
    if (got.kind != EventKind::Close) {
      EXPECT_EQ(got.a, events[k].a) << k;
    }
    if (got.kind != EventKind::Close && got.kind != EventKind::Focus) {
      EXPECT_EQ(got.b, events[k].b) << k;
    }
  }
  EXPECT_TRUE(script.joystick);
}

}  // namespace
}  // namespace quorin
