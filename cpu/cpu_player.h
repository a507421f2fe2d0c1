#pragma once

// The computer player of the window: side 3 of "VS CPU", against Player1, at
// the strength the option panel shows. It chooses through the pure chooser
// (or, for Master, the search runner) and adds what a player sees around the
// choice: the thinking pause, the placements one by one, and the judge.

#include <chrono>
#include <cstdint>
#include <memory>

#include "core/game.h"
#include "core/task.h"
#include "cpu/cell_source.h"
#include "cpu/master_search.h"
#include "cpu/player.h"
#include "cpu/search_runner.h"

namespace vexa {

class CpuPlayer : public CpuOpponent {
 public:
  // Master searches on `runner`, which the program instance shares with its
  // other searches.
  CpuPlayer(Game& game, SearchRunner& runner, CellSource& random)
      : game_(game), runner_(runner), random_(random) {}
  CpuPlayer(const CpuPlayer&) = delete;
  CpuPlayer& operator=(const CpuPlayer&) = delete;

  // One complete move with Turn at 3: the pause, the chosen blockers and
  // piece through Game::ApplyMove, the move handed back to Player1 and the
  // judge. When a new game or an abandon happens while the move waits, the
  // rest of it is dropped.
  Task<> CpuMove() override;
  // Stops the search in progress; the move it was for is dropped.
  void StopThinking() override;

  // Master's search: by default the thinking pause on every core. Each move
  // searches with a seed of its own, taken in turn from `limits.seed`.
  void SetMasterLimits(const SearchLimits& limits) {
    master_limits_ = limits;
    player_.reset();
  }
  const SearchLimits& MasterLimits() const { return master_limits_; }
  // A search of Master runs for this player's move.
  bool Thinking() const { return thinking_; }

 private:
  CpuStrength Strength() const { return game_.Shell().Strength(); }
  // The player of the strength the panel shows, kept while it stays.
  Player& PlayerOfStrength();
  // The search runs during the thinking pause, which it shortens by its own
  // time; its turn is placed when the pause is over.
  Task<> SearchedMove(Game::Watch watch, SearchLimits limits);
  // Places the turn and judges it. `judge_own_pieces`: the turn may have
  // completed the computer's square, so its own pieces are judged before
  // the move is handed back; otherwise only the stocks can end the game.
  Task<> PlaceTurn(const std::vector<Move>& turn, Game::Watch watch, bool judge_own_pieces);

  Game& game_;
  SearchRunner& runner_;
  CellSource& random_;
  SearchLimits master_limits_;
  std::unique_ptr<Player> player_;
  CpuStrength player_strength_ = CpuStrength::Easy;
  std::uint64_t searches_ = 0;
  bool thinking_ = false;
};

}  // namespace vexa
