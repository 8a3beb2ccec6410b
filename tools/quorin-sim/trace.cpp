#include "tools/quorin-sim/trace.h"

#include "flow/game.h"

namespace quorin {

void HashRecord(TraceHash& h, const Shot& s) {
  for (const std::int32_t v : {s.frame, s.x, s.y, s.heading, s.speed, s.accel, s.age}) h.Add(v);
}

void HashRecord(TraceHash& h, const Particle& p) {
  for (const std::int32_t v : {p.frame, p.x, p.y, p.vx, p.vy, p.ax, p.ay, p.age}) h.Add(v);
}

void HashRecord(TraceHash& h, const Pickup& p) {
  for (const std::int32_t v : {p.kind, p.variant, p.x, p.y, p.vx, p.vy, p.timer}) h.Add(v);
}

void HashRecord(TraceHash& h, const Enemy& e) {
  for (const std::int32_t v : {e.kind, e.mode, e.x, e.y, e.heading, e.speed, e.cruiseSpeed, e.accel, e.radius,
                               e.hitPoints, e.phase, e.shotSpeed, e.dropCount}) {
    h.Add(v);
  }
}

void HashRecord(TraceHash& h, const FloatingText& t) {
  h.AddBytes(t.text);
  for (const std::int32_t v : {t.glyphBase, t.spacing, t.x, t.y, t.vy, t.vyAccel, t.life}) h.Add(v);
}

void HashRecord(TraceHash& h, const TileRequest& r) {
  for (const std::int32_t v : {r.tile, r.x, r.y}) h.Add(v);
}

void HashRecord(TraceHash& h, const FrameRequest& r) {
  for (const std::int32_t v : {r.frame, r.x, r.y}) h.Add(v);
}

void HashRecord(TraceHash& h, const SheetClipRequest& r) {
  for (const std::int32_t v : {r.srcX, r.srcY, r.width, r.height, r.dstX, r.dstY}) h.Add(v);
}

void HashRecord(TraceHash& h, const TextRequest& r) {
  h.AddBytes(r.text);
  for (const std::int32_t v : {r.x, r.y, r.spacing, r.glyphBase}) h.Add(v);
}

std::uint32_t DrawHash(const Presentation& p) {
  TraceHash h;
  p.tileQueue.ForEach([&h](const TileRequest& r) { HashRecord(h, r); });
  p.frameQueue.ForEach([&h](const FrameRequest& r) { HashRecord(h, r); });
  p.sheetClipQueue.ForEach([&h](const SheetClipRequest& r) { HashRecord(h, r); });
  p.textQueue.ForEach([&h](const TextRequest& r) { HashRecord(h, r); });
  return h.Value();
}

std::string TraceLine(const Game& game, std::int64_t iteration, std::int32_t stateBefore) {
  const World& w = game.world;
  const Player& p = w.player;
  const Controls& c = game.controls;
  std::string line;
  auto field = [&line](std::int64_t v) {
    if (!line.empty()) line += ' ';
    line += std::to_string(v);
  };
  auto list = [&field](const auto& l) {
    field(l.Count());
    field(ListHash(l));
  };

  field(iteration);
  field(game.flow.gamesStarted);
  field(stateBefore);
  field(game.flow.GameState);
  field(w.frameCounter);

  for (const std::int32_t v : {c.dirX, c.dirY, c.button1, c.button2, c.button1Pressed, c.button2Pressed,
                               c.escapePressed}) {
    field(v);
  }

  for (const std::int32_t v : {p.x, p.y, p.vx, p.vy, p.state, p.jumpsLeft, p.hoverFuel, p.hovering, p.firing,
                               p.fireTimer, p.aimDir, p.facing, p.anim, p.fallFrames, p.invulnerable, p.gravity}) {
    field(v);
  }

  for (const std::int32_t v : {p.power, p.powerLevel, p.score, game.flow.displayedScore, p.bounces, p.comboBonus,
                               p.fruitsFound, p.sameBounceCount, p.lastBounceVy, game.options.HiScore,
                               game.options.MaxBounce, game.flow.hoverSoundOn}) {
    field(v);
  }

  for (const std::int32_t v : {w.checkpointColumn, w.checkpointRow, w.cameraX, w.cameraY, w.screenOffsetX,
                               w.screenOffsetY, w.enemyShotTimer, w.enemyShotReload}) {
    field(v);
  }

  field(static_cast<std::uint32_t>(game.flow.soundsStarted));

  list(w.PlayerShots);
  list(w.Particles);
  list(w.Pickups);
  list(w.Enemies);
  list(w.EnemyShots);
  list(w.FloatingTexts);

  field(DrawHash(game.presentation));
  return line;
}

}  // namespace quorin
