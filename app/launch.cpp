#include "app/launch.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "app/input_script.h"
#include "app/scripted_input.h"
#include "app/world_file.h"
#include "flow/game_states.h"
#include "runtime/input_device.h"
#include "runtime/key_codes.h"

namespace quorin {
namespace {

constexpr std::string_view kErrorTitle = "Error";
constexpr int kKeyCodes = 256;

int LaunchFailed(const Platform& platform, const std::string& reason) {
  platform.video->ShowMessage(kErrorTitle, reason, 0);
  return kLaunchError;
}

// The game reads this device while recording: what the script will make
// quorin-sim's device say. The cursor still moves and hides for real.
class RecordedInput : public NullInputDevice {
 public:
  RecordedInput(InputDevice& real, std::function<void()> sticksOpened)
      : real_(real), sticksOpened_(std::move(sticksOpened)) {}

  int JoysticksOpen() override {
    if (real_.JoysticksOpen() > 0 && joysticks.empty()) {
      joysticks.resize(1);
      sticksOpened_();
    }
    return NullInputDevice::JoysticksOpen();
  }
  bool JoysticksChanged() override { return real_.JoysticksChanged(); }
  void CursorShow(bool show) override {
    NullInputDevice::CursorShow(show);
    real_.CursorShow(show);
  }
  void CursorPlaceOnDesktop(int x, int y) override {
    NullInputDevice::CursorPlaceOnDesktop(x, y);
    real_.CursorPlaceOnDesktop(x, y);
  }
  void CursorPlaceInWindow(NativeWindow window, int x, int y) override {
    NullInputDevice::CursorPlaceInWindow(window, x, y);
    real_.CursorPlaceInWindow(window, x, y);
  }

 private:
  InputDevice& real_;
  std::function<void()> sticksOpened_;
};

// --record: once an iteration, right before the controls are read, the real
// devices' state becomes script events for this iteration; the game then
// reads the events' effect, exactly as quorin-sim run will. Each iteration's
// lines are flushed at its end, so a killed game leaves a whole file.
class RunRecorder {
 public:
  RunRecorder(const Platform& real, std::FILE* file)
      : real_(real), file_(file), model_(*real.input, [this] { PlugStick(); }), video_(*real.video),
        scripted_(model_) {
    model_.desktopX = model_.desktopY = 0;  // where quorin-sim's pointer starts
  }
  ~RunRecorder() { std::fclose(file_); }

  Platform Devices() { return {real_.clock, &video_, real_.audio, &model_}; }

  void Hook(MainLoopHooks& hooks) {
    hooks.beforeIteration = [this](Game&, std::int64_t k) {
      iteration_ = k;
      sampled_ = false;
      const bool focus = real_.video->ScreenHasFocus();
      if (focus != video_.Focus()) {
        Emit({k, EventKind::Focus, focus ? 1 : 0, 0});
        video_.SetFocus(focus);
      }
      scripted_.FollowScreen(*real_.video);
      return true;
    };
    hooks.beforeControls = [this](Game& game) {
      sampled_ = true;
      // Only the window's close request can have quit before the controls.
      if (game.shell.quitFlag != 0) EmitClose();
      Sample();
    };
    hooks.afterIteration = [this](Game& game, std::int64_t k) {
      if (!sampled_ && game.shell.quitFlag != 0) EmitClose();
      scripted_.FollowScreen(*real_.video);
      Flush();
      iterations_ = k + 1;
    };
  }

  void Finish() {
    std::fprintf(file_, "# the game ended after %lld iterations\n", static_cast<long long>(iterations_));
    std::fflush(file_);
  }

 private:
  void Emit(const ScriptEvent& e) {
    lines_ += ScriptLine(e);
    lines_ += '\n';
  }
  // quorin-sim plugs its stick in for the whole run at the first joy line.
  void PlugStick() { Emit({0, EventKind::Joy, 0, 0}); }
  void EmitClose() {
    if (closed_) return;
    closed_ = true;
    Emit({iteration_, EventKind::Close, 0, 0});
  }
  void Flush() {
    if (lines_.empty()) return;
    std::fputs(lines_.c_str(), file_);
    std::fflush(file_);
    lines_.clear();
  }
  // Sets the model as the real device reads now, through script events.
  void Change(const ScriptEvent& e) {
    Emit(e);
    scripted_.Apply(e);
  }

  void Sample() {
    const std::int64_t k = iteration_;
    bool padEscape = false;
    if (!model_.joysticks.empty()) {
      JoystickReading now;
      if (!real_.input->ReadJoystick(0, now)) now = JoystickReading{};
      const JoystickReading& was = model_.joysticks[0].reading;
      if (now.x != was.x || now.y != was.y) Change({k, EventKind::Joy, now.x, now.y});
      for (int b = 1; b <= kJoystickButtons; ++b) {
        const bool held = (now.buttons >> (b - 1)) & 1u;
        if (held != (((was.buttons >> (b - 1)) & 1u) != 0))
          Change({k, EventKind::JoyButton, b, held ? 1 : 0});
      }
      // The script has no Start button; the game takes it as Escape.
      padEscape = now.start;
    }
    std::uint8_t keys[kKeyCodes] = {};
    if (!real_.input->ReadKeys(keys)) std::fill(std::begin(keys), std::end(keys), std::uint8_t{0});
    if (padEscape) keys[kKeyEscape] = 128;
    for (int code = 0; code < kKeyCodes; ++code) {
      const bool held = keys[code] != 0;
      if (held != (model_.keys[code] != 0)) Change({k, EventKind::Key, code, held ? 1 : 0});
    }
    for (int button = 1; button <= 2; ++button) {
      const bool down = real_.input->MouseButton(button);
      if (down != model_.mouseHeld[button]) Change({k, EventKind::Button, button, down ? 1 : 0});
    }
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    if (real_.video->ScreenOutput(left, top, width, height)) {
      int x = 0, y = 0;
      real_.input->PointerOnDesktop(x, y);
      // Before the window is followed (the first iteration) the place waits
      // for it, as in quorin-sim; after, it is taken from where it was followed.
      const int originX = model_.windowExists ? model_.windowLeft : left;
      const int originY = model_.windowExists ? model_.windowTop : top;
      const bool same = model_.windowExists && x - originX == model_.desktopX - model_.windowLeft &&
                        y - originY == model_.desktopY - model_.windowTop;
      if (!same) Change({k, EventKind::Mouse, x - originX, y - originY});
    }
    scripted_.Settle();
  }

  const Platform real_;
  std::FILE* file_;
  RecordedInput model_;
  ScriptedVideo video_;
  ScriptedInput scripted_;
  std::string lines_;
  std::int64_t iteration_ = 0;
  std::int64_t iterations_ = 0;
  bool sampled_ = false;
  bool closed_ = false;
};

// --replay: the script's events reach the game as in quorin-sim run; the
// real devices only end it.
class RunReplayer {
 public:
  RunReplayer(const Platform& real, Script script)
      : real_(real), script_(std::move(script)), video_(*real.video) {
    if (script_.joystick) device_.joysticks.resize(1);
    device_.desktopX = device_.desktopY = 0;
  }

  Platform Devices() { return {real_.clock, &video_, real_.audio, &device_}; }

  void Hook(MainLoopHooks& hooks, Game& game) {
    // Nothing of a replay is kept: the user file is read and left alone.
    game.shell.userFileReadOnly = 1;
    hooks.beforeIteration = [this](Game&, std::int64_t k) {
      for (; next_ < script_.events.size() && script_.events[next_].frame <= k; ++next_) {
        const ScriptEvent& e = script_.events[next_];
        if (scripted_.Apply(e)) continue;
        if (e.kind == EventKind::Focus) video_.SetFocus(e.a != 0);
        if (e.kind == EventKind::Close) video_.InjectClose();
      }
      scripted_.FollowScreen(*real_.video);
      return true;
    };
    hooks.afterIteration = [this](Game& g, std::int64_t) {
      scripted_.FollowScreen(*real_.video);
      WatchKeyboard(g);
    };
  }

 private:
  // The window's close request reaches the game as always; Alt+F4, or
  // Escape while the title shows, end the replay too.
  void WatchKeyboard(Game& game) {
    std::uint8_t keys[kKeyCodes] = {};
    if (!real_.input->ReadKeys(keys)) return;
    const bool escape = keys[kKeyEscape] != 0;
    if (keys[kKeyLeftAlt] != 0 && keys[kKeyF4] != 0) game.shell.quitFlag = 1;
    if (escape && !escapeWasDown_ && game.flow.GameState == kTitleMenu) game.shell.quitFlag = 1;
    escapeWasDown_ = escape;
  }

  const Platform real_;
  Script script_;
  NullInputDevice device_;
  ScriptedInput scripted_{device_};
  ScriptedVideo video_;
  std::size_t next_ = 0;
  bool escapeWasDown_ = false;
};

}  // namespace

int PlayGame(Game& game, const Platform& platform, const LaunchOptions& launch) {
  if (!launch.world.empty()) {
    if (std::string reason = LoadWorldFile(launch.world, game.flow.layout); !reason.empty()) {
      return LaunchFailed(platform, reason);
    }
  }
  MainLoopHooks hooks;
  if (!launch.replay.empty()) {
    std::ifstream in(launch.replay);
    if (!in) return LaunchFailed(platform, "cannot read " + launch.replay);
    Script script;
    std::string error;
    if (!ParseScript(in, script, error)) return LaunchFailed(platform, launch.replay + ": " + error);
    auto replayer = std::make_unique<RunReplayer>(platform, std::move(script));
    replayer->Hook(hooks, game);
    return GameMain(game, replayer->Devices(), hooks);
  }
  if (!launch.record.empty()) {
    std::FILE* file = std::fopen(launch.record.c_str(), "wb");
    if (file == nullptr) return LaunchFailed(platform, "cannot write " + launch.record);
    std::fprintf(
        file,
        "# Quorin run, recorded as it was played. Play it again with quorin --replay FILE,\n"
        "# or headless with quorin-sim run --input FILE beside the same engine.ini and Quorin.cfg.\n");
    if (!launch.world.empty()) std::fprintf(file, "# world: --world %s\n", launch.world.c_str());
    std::fflush(file);
    auto recorder = std::make_unique<RunRecorder>(platform, file);
    recorder->Hook(hooks);
    const int code = GameMain(game, recorder->Devices(), hooks);
    recorder->Finish();
    return code;
  }
  return GameMain(game, platform, hooks);
}

}  // namespace quorin
