// quorin-soakgen SEED FRAMES: a random quorin-sim input script of FRAMES
// frames, the same for the same seed. It plays rounds: start a game, play with
// random keys, buttons, joystick and focus changes, pause and resume, visit the
// options, and lets the hero die into game overs and new games.
//
// The script never quits the game: Escape is pressed only right after the
// start clicks (in play it pauses, and a click on RESUME GAME goes on), Left
// Alt is never pressed, F12 takes a screenshot in every round, and the mouse stays clear of EXIT except at the fixed
// menu spots below. The soak runs with engine.ini JoyCursor = 0, so only the
// mouse moves the pointer, in a 768 x 576 window (1.5 client pixels per
// picture pixel).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kEscape = 1;
constexpr int kLeftAlt = 56;
constexpr int kScreenshot = 88;  // F12
constexpr int kGameKeys[] = {44, 45, 203, 205, 200, 208};

// Menu spots in picture pixels, for the 4:3 picture (384 high).
struct Spot {
  int x, y;
};
constexpr Spot kStart{450, 227};     // START on the title; clear of the other screens' entries
constexpr Spot kOptions{450, 251};   // OPTIONS on the title
constexpr Spot kResume{256, 180};    // RESUME GAME on the pause screen; nothing on the title
constexpr Spot kExitToTitle{256, 204};  // EXIT TO MAIN MENU on the pause screen
constexpr Spot kReturn{40, 200};     // RETURN TO MAIN MENU on the options screen
constexpr Spot kVolumes[] = {{30, 56}, {30, 72}, {30, 88}, {30, 104}, {30, 120}};
constexpr Spot kSmoothing{40, 176};

// splitmix64: small, and the same on every machine.
struct Random {
  std::uint64_t state;
  std::uint64_t Next() {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
  int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
};

class Writer {
 public:
  Writer(std::FILE* out, long long frames) : out_(out), frames_(frames) {}
  long long frame = 0;
  bool Done() const { return frame >= frames_; }
  void Line(const std::string& event) {
    if (!Done()) std::fprintf(out_, "%lld %s\n", frame, event.c_str());
  }
  // Two moves: the first into the window only sets the pointer's reference.
  void Mouse(Spot s) {
    Line("mouse " + std::to_string(s.x * 3 / 2) + " " + std::to_string(s.y * 3 / 2 - 1));
    frame += 1;
    Line("mouse " + std::to_string(s.x * 3 / 2) + " " + std::to_string(s.y * 3 / 2));
  }
  void Click(Spot s) {
    Mouse(s);
    frame += 1;
    Line("button left down");
    frame += 2;
    Line("button left up");
    frame += 2;
  }

 private:
  std::FILE* out_;
  long long frames_;
};

// Lets go of everything random play may hold, so that the next click is a
// press the game sees.
void ReleaseAll(Writer& w) {
  for (int key : kGameKeys) w.Line("key " + std::to_string(key) + " up");
  w.Line("button left up");
  w.Line("button right up");
  for (int b = 1; b <= 16; ++b) w.Line("joybutton " + std::to_string(b) + " up");
  w.frame += 2;
}

// Three quick clicks on START: from the title into play, from a game over
// (once it takes clicks) to the title and into play; in play they only
// shoot. The clicks are two frames apart: a game over that starts taking
// clicks right at the last one would leave the title showing for the Escape
// that follows, so that gap is kept as short as the game allows.
void StartClicks(Writer& w) {
  ReleaseAll(w);
  w.Mouse(kStart);
  w.frame += 1;
  for (int k = 0; k < 3; ++k) {
    w.Line("button left down");
    w.frame += 1;
    w.Line("button left up");
    w.frame += 1;
  }
}

// Pauses and leaves the pause screen by the entry at the spot. Should the
// game be in a game over instead, Escape ends it and the click meets nothing.
void PauseAndLeave(Writer& w, Random& r, Spot entry) {
  StartClicks(w);
  w.Line("key " + std::to_string(kEscape) + " down");
  w.frame += 1;
  w.Line("key " + std::to_string(kEscape) + " up");
  w.frame += r.Between(2, 90);
  w.Click(entry);
}

void VisitOptions(Writer& w, Random& r) {
  ReleaseAll(w);
  w.Click(kOptions);
  for (int k = r.Between(1, 4); k > 0; --k) {
    w.Click(r.Below(3) == 0 ? kSmoothing : kVolumes[r.Below(5)]);
    w.frame += r.Between(1, 20);
  }
  w.Click(kReturn);
}

void RandomPlay(Writer& w, Random& r, int length) {
  const long long end = w.frame + length;
  while (w.frame < end && !w.Done()) {
    switch (r.Below(12)) {
      case 0: case 1: case 2: case 3: {
        const int key = kGameKeys[r.Below(6)];
        w.Line("key " + std::to_string(key) + (r.Below(2) ? " down" : " up"));
        break;
      }
      case 4: {
        int key = r.Between(2, 255);
        if (key == kLeftAlt) key = 57;
        w.Line("key " + std::to_string(key) + (r.Below(2) ? " down" : " up"));
        break;
      }
      case 5:  // the pointer wanders above every menu entry
        w.Mouse({r.Between(300, 500), r.Between(10, 150)});
        break;
      case 6:
        w.Line(std::string("button ") + (r.Below(2) ? "left" : "right") + (r.Below(2) ? " down" : " up"));
        break;
      case 7: w.Line("joy " + std::to_string(r.Between(-1000, 1000)) + " " + std::to_string(r.Between(-1000, 1000))); break;
      case 8: w.Line("joybutton " + std::to_string(r.Between(1, 16)) + (r.Below(2) ? " down" : " up")); break;
      case 9:
        if (r.Below(8) == 0) {
          w.Line("focus lost");
          w.frame += r.Between(1, 30);
          w.Line("focus gained");
        }
        break;
      default: break;  // a quiet stretch
    }
    w.frame += r.Between(0, 12);
  }
}

}  // namespace

int main(int argc, char** argv) {
  char* end = nullptr;
  const unsigned long long seed = argc == 3 ? std::strtoull(argv[1], &end, 10) : 0;
  const bool seedOk = argc == 3 && *argv[1] && *end == '\0';
  const long long frames = argc == 3 ? std::strtoll(argv[2], &end, 10) : -1;
  if (!seedOk || *end != '\0' || frames < 0) {
    std::fprintf(stderr, "usage: quorin-soakgen SEED FRAMES\n");
    return 2;
  }
  Random r{seed};
  Writer w(stdout, frames);
  std::fprintf(stdout, "# quorin-soakgen %llu %lld\n", seed, frames);
  w.frame = 60;  // the window opens and the title settles first
  while (!w.Done()) {
    StartClicks(w);
    // A screenshot in every round, so that a short soak already holds the
    // memory a screenshot takes and a long one is compared like for like.
    w.Line("key " + std::to_string(kScreenshot) + " down");
    w.frame += 2;
    w.Line("key " + std::to_string(kScreenshot) + " up");
    for (int k = r.Between(1, 6); k > 0 && !w.Done(); --k) {
      RandomPlay(w, r, r.Between(100, 2500));
      if (r.Below(2)) PauseAndLeave(w, r, kResume);
    }
    // Back to the title by the pause screen, then sometimes the options.
    PauseAndLeave(w, r, kExitToTitle);
    if (r.Below(2)) VisitOptions(w, r);
  }
  return 0;
}
