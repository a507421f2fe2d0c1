#pragma once

// The computer player for side 1, the local side of an online game. The
// computer player plays side 3 against Player1; here the board is relabelled
// into a scratch game (side 1 becomes 3, the peer's side 4 becomes 1), the
// move is chosen there and handed back as side 1's placements.

#include <cstdint>
#include <vector>

#include "cpu_player.h"
#include "game.h"
#include "reach_lists.h"
#include "silent_shell.h"

namespace vexa::bot {

class SideOneCpu {
 public:
  SideOneCpu(CpuStrength strength, std::uint64_t seed);
  SideOneCpu(const SideOneCpu&) = delete;
  SideOneCpu& operator=(const SideOneCpu&) = delete;

  // The whole turn of side 1 in `game` (side 4 the opponent): its blockers
  // in order, then its piece, as Player1's moves.
  std::vector<Move> ChooseTurn(const Game& game);

 private:
  SilentShell shell_;
  Game scratch_{shell_};
  ReachLists lists_;
  SeededCellSource random_;
  CpuPlayer cpu_{scratch_, lists_, random_};
};

}  // namespace vexa::bot
