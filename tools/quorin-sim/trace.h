// The frame trace of quorin-sim run: one line of 62 decimal fields per
// played iteration, so that runs can be compared frame by frame with other
// runs and with independent models of the game.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "flow/draw_queues.h"
#include "runtime/list.h"
#include "world/play_host.h"
#include "world/world.h"

namespace quorin {

struct Game;

// The trace hash: unsigned 32-bit, h = h * 31 + v, v taken modulo 2^32.
class TraceHash {
 public:
  void Add(std::int64_t v) { h_ = h_ * 31u + static_cast<std::uint32_t>(v); }
  void AddBytes(std::string_view text) {
    for (const char c : text) Add(static_cast<unsigned char>(c));
  }
  std::uint32_t Value() const { return h_; }

 private:
  std::uint32_t h_ = 0;
};

// One function per record kind, each taking the fields in trace order.
void HashRecord(TraceHash& h, const Shot& s);
void HashRecord(TraceHash& h, const Particle& p);
void HashRecord(TraceHash& h, const Pickup& p);
void HashRecord(TraceHash& h, const Enemy& e);
void HashRecord(TraceHash& h, const FloatingText& t);
void HashRecord(TraceHash& h, const TileRequest& r);
void HashRecord(TraceHash& h, const FrameRequest& r);
void HashRecord(TraceHash& h, const SheetClipRequest& r);
void HashRecord(TraceHash& h, const TextRequest& r);

// Over a list's elements, first to last.
template <class T>
std::uint32_t ListHash(const List<T>& list) {
  TraceHash h;
  list.ForEach([&h](const T& record) { HashRecord(h, record); });
  return h.Value();
}

// Over the four draw queues in one running hash: tiles, frames, sheet clips, texts.
std::uint32_t DrawHash(const Presentation& p);

// The trace line of one iteration, without its line end. stateBefore is the
// GameState when that iteration's GameFrame began.
std::string TraceLine(const Game& game, std::int64_t iteration, std::int32_t stateBefore);

// Iterations whose GameFrame ran in one of the play states are traced.
inline bool TracedState(std::int32_t state) { return state >= kPlaying && state <= kPlanetSaved; }

}  // namespace quorin
