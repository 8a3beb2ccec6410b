#include "runtime/web/web_page.h"

#include <emscripten.h>

#include <utility>
#include <vector>

#include "runtime/png_codec.h"
#include "runtime/surface.h"

namespace quorin {
namespace {

// The page's hooks call in from JavaScript with no context of their own.
struct PageHooks {
  std::function<bool()> step;
  std::function<void()> done;
  std::function<void()> save;
  std::function<std::string()> status;
  std::string statusLine;
  VideoDevice* video = nullptr;
  bool running = false;
  std::vector<unsigned char> picture;
};

PageHooks& Hooks() {
  static PageHooks* hooks = new PageHooks;  // lives as long as the page
  return *hooks;
}

void Finish() {
  PageHooks& h = Hooks();
  if (!h.running) return;
  h.running = false;
  emscripten_cancel_main_loop();
  if (h.done) h.done();
  EM_ASM({ if (Module['quorinEnded']) Module['quorinEnded'](); });
}

bool Step() {
  PageHooks& h = Hooks();
  const bool more = h.step();
  if (!more) Finish();
  return more;
}

void AnimationFrame() {
  if (Hooks().running) Step();
}

}  // namespace

bool PageTestMode() {
  return EM_ASM_INT({ return new URLSearchParams(location.search).get('test') === '1' ? 1 : 0; }) != 0;
}

void RunEachAnimationFrame(std::function<bool()> step, std::function<void()> done) {
  PageHooks& h = Hooks();
  h.step = std::move(step);
  h.done = std::move(done);
  h.running = true;
  if (PageTestMode()) return;
  // 0 frames per second: the browser's animation frames.
  emscripten_set_main_loop(AnimationFrame, 0, 0);
}

void IterationRan() {
  EM_ASM({
    var q = window['quorin'];
    if (q && ++q['frames'] == 2) q['firstPictureMs'] = performance.now();
  });
}

void OnPageHidden(std::function<void()> save) { Hooks().save = std::move(save); }

void SetPictureSource(VideoDevice* video) { Hooks().video = video; }

void SetStatusSource(std::function<std::string()> status) { Hooks().status = std::move(status); }

}  // namespace quorin

extern "C" {

// The page calls this on visibilitychange (hidden) and pagehide.
EMSCRIPTEN_KEEPALIVE void quorin_page_hidden() {
  quorin::PageHooks& h = quorin::Hooks();
  if (h.running && h.save) h.save();
}

// Test hook: n steps now; how many ran (fewer once the game has ended).
EMSCRIPTEN_KEEPALIVE int quorin_test_step(int n) {
  quorin::PageHooks& h = quorin::Hooks();
  int ran = 0;
  while (ran < n && h.running) {
    ++ran;
    if (!quorin::Step()) break;
  }
  return ran;
}

// Test hook: the last presented picture as PNG bytes (the screenshot's
// encoding); the length goes to *size, 0 without a picture.
EMSCRIPTEN_KEEPALIVE const unsigned char* quorin_picture(int* size) {
  quorin::PageHooks& h = quorin::Hooks();
  quorin::Surface picture;
  *size = 0;
  if (!h.video || !h.video->ReadPicture(picture)) return nullptr;
  h.picture = quorin::EncodePng(picture);
  *size = static_cast<int>(h.picture.size());
  return h.picture.data();
}

// Test hook: the status line, as text.
EMSCRIPTEN_KEEPALIVE const char* quorin_status() {
  quorin::PageHooks& h = quorin::Hooks();
  h.statusLine = h.status ? h.status() : std::string();
  return h.statusLine.c_str();
}

}  // extern "C"
