// The page around the game: who runs the loop, and what the page asks of the
// game when it is hidden or closed. Called by the browser's entry point.
#pragma once

#include <functional>
#include <string>

#include "runtime/platform.h"

namespace quorin {

// Step runs once per animation frame until it returns false; done runs
// once after that. Returns at once: the browser owns the loop from here.
// In test mode (the page's ?test=1) nothing runs by itself: the page's hook
// quorin_test_step(n) runs n steps.
void RunEachAnimationFrame(std::function<bool()> step, std::function<void()> done);
// The page loaded with ?test=1: the test hook drives the loop.
bool PageTestMode();
// Runs when the page is hidden or being closed, before the saved files are
// written back to the browser's storage.
void OnPageHidden(std::function<void()> save);
// Tells the page one game iteration ran: it notes when the first picture
// was shown (the second iteration presents what the first drew).
void IterationRan();
// The device whose last picture the test hook quorin_picture reads.
void SetPictureSource(VideoDevice* video);
// What the test hook quorin_status reports: one line of "name=value" words.
void SetStatusSource(std::function<std::string()> status);

}  // namespace quorin
