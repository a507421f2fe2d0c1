#pragma once

// The computer player for side 1, the local side of an online game, against
// the peer's side 4: the computer player's chooser on the game's position.

#include <cstdint>
#include <vector>

#include "core/game.h"
#include "cpu/cell_source.h"
#include "cpu/choose_turn.h"

namespace vexa::bot {

class SideOneCpu {
 public:
  SideOneCpu(CpuStrength strength, std::uint64_t seed);
  SideOneCpu(const SideOneCpu&) = delete;
  SideOneCpu& operator=(const SideOneCpu&) = delete;

  // The whole turn of side 1 in `game`: its blockers in order, then its
  // piece. Master searches for the thinking pause on every core.
  std::vector<Move> ChooseTurn(const Game& game);

 private:
  CpuStrength strength_;
  SeededCellSource random_;
  TurnChooser chooser_;
  SearchLimits master_;
};

}  // namespace vexa::bot
