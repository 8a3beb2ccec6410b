#include "tools/bot/bot_game.h"

#include <utility>

#include "flow/draw_queues.h"
#include "flow/game_states.h"
#include "flow/sprite_sheets.h"
#include "runtime/sound.h"
#include "world/tables.h"

namespace quorin::bot {

BotGame::BotGame(std::int32_t internalHeight) : game_(std::make_unique<Game>()) {
  Game& g = *game_;
  g.shell.internalHeight = internalHeight;
  g.shell.internalAspect = static_cast<float>(kPictureWidth) / static_cast<float>(internalHeight);
  BuildDirectionTable(g.world);
  BuildGlyphAdvances(g);
  SoundInit(g.sound, &audio_);
  BuildFrameTable(g);
  PrepareTables(g);
  EnterState(g, kTitleMenu);
  EnterState(g, kPlaying);
}

BotGame::~BotGame() { SoundShutdown(game_->sound); }

void BotGame::Step(std::uint8_t keys) {
  Game& g = *game_;
  Controls& c = g.controls;
  c.dirX = ((keys & kHoldRight) ? 1 : 0) - ((keys & kHoldLeft) ? 1 : 0);
  c.dirY = ((keys & kHoldDown) ? 1 : 0) - ((keys & kHoldUp) ? 1 : 0);
  c.button1 = (keys & kHoldJump) ? 1 : 0;
  c.button2 = (keys & kHoldFire) ? 1 : 0;
  c.button1Pressed = (c.button1 == 1 && previousButton1_ == 0) ? 1 : 0;
  c.button2Pressed = (c.button2 == 1 && previousButton2_ == 0) ? 1 : 0;
  c.escapePressed = 0;
  previousButton1_ = c.button1;
  previousButton2_ = c.button2;
  GameFrame(g);
  ClearDrawQueues(g);
  ++frames_;
}

void BotGame::SwapTables(World& other) const {
  World& w = game_->world;
  std::swap(w.directionTable, other.directionTable);
  std::swap(w.fixedDirectionTable, other.fixedDirectionTable);
  std::swap(w.noiseField, other.noiseField);
  std::swap(w.aimOffsets, other.aimOffsets);
  std::swap(w.CollisionMap, other.CollisionMap);
  std::swap(w.TileMap, other.TileMap);
}

void BotGame::Save(Snapshot& out) const {
  SwapTables(holder_);
  out.world = game_->world;
  SwapTables(holder_);
  out.gameState = game_->flow.GameState;
  out.displayedScore = game_->flow.displayedScore;
  out.hoverSoundOn = game_->flow.hoverSoundOn;
  out.maxBounce = game_->options.MaxBounce;
  out.previousButton1 = previousButton1_;
  out.previousButton2 = previousButton2_;
  out.frames = frames_;
}

void BotGame::Restore(const Snapshot& from) {
  World& w = game_->world;
  // The one map change of play: the current checkpoint's tile.
  const std::int32_t liveColumn = w.checkpointColumn, liveRow = w.checkpointRow;
  const std::int32_t column = from.world.checkpointColumn, row = from.world.checkpointRow;
  auto inside = [&](std::int32_t c, std::int32_t r) {
    return c >= 0 && r >= 0 && c < w.WorldWidth && r < w.WorldHeight && w.TileMap.Size() != 0;
  };
  if (liveColumn != column || liveRow != row) {
    if (inside(liveColumn, liveRow)) w.TileMap.At(liveColumn, liveRow) = kTileCheckpoint;
    if (inside(column, row)) w.TileMap.At(column, row) = kTileCheckpointCurrent;
  }
  SwapTables(holder_);
  w = from.world;
  SwapTables(holder_);
  game_->flow.GameState = from.gameState;
  game_->flow.displayedScore = from.displayedScore;
  game_->flow.hoverSoundOn = from.hoverSoundOn;
  game_->options.MaxBounce = from.maxBounce;
  previousButton1_ = from.previousButton1;
  previousButton2_ = from.previousButton2;
  frames_ = from.frames;
}

}  // namespace quorin::bot
