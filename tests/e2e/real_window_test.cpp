// The real game binary in a real X window (Xvfb), driven with xdotool.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include <sys/wait.h>

#include "tests/support/game_window.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"

namespace quorin {
namespace {

using namespace std::chrono_literals;

using testing::Capture;
using testing::HaveTool;
using testing::Spawn;
using testing::WaitFor;

// An X server of our own for the length of one test.
class RealWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveTool("Xvfb") || !HaveTool("xdotool") || !HaveTool("xwininfo")) {
      GTEST_SKIP() << "Xvfb, xdotool or xwininfo missing (./check installs them)";
    }
    xserver.emplace(std::vector<std::string>{"1920x1080x24"});
    ASSERT_FALSE(xserver->display.empty()) << "Xvfb did not start";
    display = xserver->display;
  }
  void TearDown() override {
    if (game > 0) WaitFor(game, 1ms);
    xserver.reset();
  }

  std::string X(const std::string& command) { return xserver->Run(command); }

  // The game samples the keyboard once a frame: a key is held for a few frames.
  void Tap(const std::string& key) {
    X("xdotool keydown " + key);
    std::this_thread::sleep_for(300ms);  // several frames, even on a loaded machine
    X("xdotool keyup " + key);
  }

  // Starts the game and waits for its window; returns the window id.
  std::string StartGame() { return testing::StartGameWindow(*xserver, game); }

  // Where X has the pointer now.
  std::pair<int, int> MouseAt() {
    const std::string where = X("xdotool getmouselocation");
    int x = -1, y = -1;
    std::sscanf(where.c_str(), "x:%d y:%d", &x, &y);
    return {x, y};
  }

  // The game warps the system cursor only from a frame that reads the
  // controls: seeing it warped shows the game is past its start-up. Under a
  // loaded machine that can take seconds after the window appears.
  template <typename Done>
  bool WaitForMouse(Done done) {
    for (int k = 0; k < 300; ++k) {
      const auto [x, y] = MouseAt();
      if (done(x, y)) return true;
      std::this_thread::sleep_for(100ms);
    }
    return false;
  }

  // Relative mouse motion in equal steps, each given a few frames.
  void MoveBy(int dx, int dy, int steps) {
    for (int k = 0; k < steps; ++k) {
      X("xdotool mousemove_relative -- " + std::to_string(dx / steps) + " " + std::to_string(dy / steps));
      std::this_thread::sleep_for(250ms);
    }
  }

  // From the pointer's start at the picture's origin: three moves to OPTIONS
  // on the title (picture 440, 251), a pause of many frames, a click; two
  // moves to "[ ] MAX" on the options screen (picture 50, 120), a pause, a
  // click; then Escape twice saves and quits. The chosen volume in the saved
  // file shows where the pointer was at each click. scale: picture pixels per
  // desktop pixel of motion.
  std::string ChooseMaxVolumeByRelativeMotion(double scale) {
    auto desktop = [&](double picture) { return static_cast<int>(std::lround(picture / scale)); };
    MoveBy(3 * (desktop(440) / 3), 3 * (desktop(251) / 3), 3);
    std::this_thread::sleep_for(500ms);
    X("xdotool click 1");
    std::this_thread::sleep_for(400ms);
    MoveBy(2 * (desktop(50 - 440) / 2), 2 * (desktop(120 - 251) / 2), 2);
    std::this_thread::sleep_for(500ms);
    X("xdotool click 1");
    std::this_thread::sleep_for(400ms);
    // Apart, so that a slow frame sees the key up between the two.
    Tap("Escape");
    std::this_thread::sleep_for(500ms);
    Tap("Escape");
    const int code = WaitFor(game, 10s);
    game = -1;
    return code == 0 ? testing::ReadFile("Quorin.cfg") : "exit " + std::to_string(code);
  }

  std::string Geometry(const std::string& id) {
    const std::string info = X("xwininfo -id " + id);
    auto field = [&](const std::string& name) {
      const std::size_t at = info.find(name);
      return at == std::string::npos ? std::string("?") : info.substr(at + name.size(), info.find('\n', at) - at - name.size());
    };
    return field("Width: ") + "x" + field("Height: ");
  }

  std::optional<testing::XServer> xserver;
  std::string display;
  pid_t game = -1;
  testing::TempDir dir;
};

TEST_F(RealWindowTest, WindowHasTheClientSizeAndTitleAndEscapeQuitsAndSaves) {
  const std::string id = StartGame();
  ASSERT_FALSE(id.empty()) << "no window titled Quorin";
  EXPECT_EQ(Geometry(id), "768x576");
  EXPECT_NE(X("xwininfo -id " + id).find("\"Quorin\""), std::string::npos);
  Tap("Escape");
  EXPECT_EQ(WaitFor(game, 10s), 0);
  game = -1;
  EXPECT_EQ(testing::ReadFile("Quorin.cfg"),
            "AudioVolume = 3\r\nWindowed = 1\r\nSmoothing = 1\r\nHiScore = 0\r\nMaxBounce = 0\r\n");
}

TEST_F(RealWindowTest, TheMouseChoosesOptions) {
  const std::string id = StartGame();
  ASSERT_FALSE(id.empty());
  // Client pixels are 1.5 picture pixels: OPTIONS, then LOW on the options screen.
  auto clickAt = [&](int x, int y) {
    X("xdotool mousemove --window " + id + " " + std::to_string(x - 4) + " " + std::to_string(y));
    std::this_thread::sleep_for(200ms);
    X("xdotool mousemove --window " + id + " " + std::to_string(x) + " " + std::to_string(y));
    std::this_thread::sleep_for(300ms);
    X("xdotool click 1");
    std::this_thread::sleep_for(300ms);
  };
  clickAt(630, 375);
  clickAt(60, 105);
  Tap("Escape");
  Tap("Escape");
  EXPECT_EQ(WaitFor(game, 10s), 0);
  game = -1;
  EXPECT_EQ(testing::ReadFile("Quorin.cfg"),
            "AudioVolume = 1\r\nWindowed = 1\r\nSmoothing = 1\r\nHiScore = 0\r\nMaxBounce = 0\r\n");
}

TEST_F(RealWindowTest, AltEnterSwitchesToFullScreenAndBack) {
  std::string id = StartGame();
  ASSERT_FALSE(id.empty());
  auto altEnter = [&] {
    X("xdotool keydown Alt_L");
    std::this_thread::sleep_for(500ms);  // Alt alone first: that arms the toggle
    Tap("Return");
    X("xdotool keyup Alt_L");
  };
  altEnter();
  std::string full;
  for (int k = 0; k < 400; ++k) {
    full = X("xdotool search --name '^Quorin$' | head -1");
    while (!full.empty() && full.back() == '\n') full.pop_back();
    if (!full.empty() && Geometry(full) == "1920x1080") break;
    std::this_thread::sleep_for(50ms);
  }
  EXPECT_EQ(Geometry(full), "1920x1080");
  X("xdotool windowfocus --sync " + full);
  std::this_thread::sleep_for(300ms);
  altEnter();
  std::string back;
  for (int k = 0; k < 400; ++k) {
    back = X("xdotool search --name '^Quorin$' | head -1");
    while (!back.empty() && back.back() == '\n') back.pop_back();
    if (!back.empty() && Geometry(back) == "768x576") break;
    std::this_thread::sleep_for(50ms);
  }
  EXPECT_EQ(Geometry(back), "768x576");
  X("xdotool windowfocus --sync " + back);
  std::this_thread::sleep_for(300ms);
  Tap("Escape");
  EXPECT_EQ(WaitFor(game, 10s), 0);
  game = -1;
  EXPECT_NE(testing::ReadFile("Quorin.cfg").find("Windowed = 1\r\n"), std::string::npos);
}

// Full screen with the default settings: relative motion, 0.8 x 512 / 768
// picture pixels per desktop pixel, the system cursor back at the centre
// after every move.
TEST_F(RealWindowTest, RelativeMouseInFullScreenMovesThePointerAndItStays) {
  testing::WriteFile("Quorin.cfg", "Windowed = 0\r\n");
  const std::string id = StartGame();
  ASSERT_FALSE(id.empty());
  EXPECT_EQ(Geometry(id), "1920x1080");
  // X moves the pointer only once a window is up. A pixel off the centre:
  // the game puts it back, from its first frame or as the smallest motion.
  X("xdotool mousemove 961 541");
  ASSERT_TRUE(WaitForMouse([](int x, int y) { return x == 960 && y == 540; }));
  EXPECT_EQ(ChooseMaxVolumeByRelativeMotion(0.8 * 512 / 768),
            "AudioVolume = 4\r\nWindowed = 0\r\nSmoothing = 1\r\nHiScore = 0\r\nMaxBounce = 0\r\n");
}

// A mouse far from the screen centre at the start does not move the game's
// pointer, neither on the frame that re-centres the cursor nor after it.
TEST_F(RealWindowTest, FullScreenStartWithTheMouseOffCentreLeavesThePointer) {
  testing::WriteFile("Quorin.cfg", "Windowed = 0\r\n");
  const std::string id = StartGame();
  ASSERT_FALSE(id.empty());
  // Far up and left: from the first frame this is the reference; after it, a
  // motion that the game's pointer, at the picture's origin, cannot follow.
  // Either way the pointer must still be at the origin afterwards.
  X("xdotool mousemove 100 100");
  ASSERT_TRUE(WaitForMouse([](int x, int y) { return x == 960 && y == 540; }));
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(ChooseMaxVolumeByRelativeMotion(0.8 * 512 / 768),
            "AudioVolume = 4\r\nWindowed = 0\r\nSmoothing = 1\r\nHiScore = 0\r\nMaxBounce = 0\r\n");
}

// In a window with WindowCursorScaling the system pointer is put back under
// the game's after each move: 512 / 768 picture pixels per desktop pixel.
TEST_F(RealWindowTest, RelativeMouseInAWindowMovesThePointerAndItStays) {
  testing::WriteFile("engine.ini", "WindowCursorScaling = 1\n");
  const std::string id = StartGame();
  ASSERT_FALSE(id.empty());
  EXPECT_EQ(Geometry(id), "768x576");
  // Nudges until the game has a reference and puts the system pointer under
  // its own, at the client area's top left; the game's pointer is then within
  // a pixel or two of the picture's origin.
  ASSERT_TRUE(WaitForMouse([&](int x, int y) {
    if (x < 700 && y < 400) return true;
    X("xdotool mousemove_relative -- 1 1");
    return false;
  }));
  EXPECT_EQ(ChooseMaxVolumeByRelativeMotion(512.0 / 768),
            "AudioVolume = 4\r\nWindowed = 1\r\nSmoothing = 1\r\nHiScore = 0\r\nMaxBounce = 0\r\n");
}

// 1200 x 675 has no display mode here: the desktop keeps 1920 x 1080 and the
// screen is shown enlarged on the whole display. Relative mode puts the cursor
// back at the display's centre, not at the centre of a 1200 x 675 corner.
TEST_F(RealWindowTest, ScaledFullScreenRecentresOnTheDisplay) {
  testing::WriteFile("engine.ini", "Fullscreenwidth = 1200\nFullscreenheight = 675\n");
  testing::WriteFile("Quorin.cfg", "Windowed = 0\r\n");
  const std::string id = StartGame();
  ASSERT_FALSE(id.empty());
  X("xdotool mousemove 1000 600");
  EXPECT_TRUE(WaitForMouse([](int x, int y) { return x == 960 && y == 540; }));
  X("xdotool mousemove_relative -- 50 30");
  EXPECT_TRUE(WaitForMouse([](int x, int y) { return x == 960 && y == 540; }));
  Tap("Escape");
  EXPECT_EQ(WaitFor(game, 10s), 0);
  game = -1;
}

}  // namespace
}  // namespace quorin
