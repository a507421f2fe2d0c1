#pragma once

// Whole "VS CPU" games of one strength against another, without a window or
// a pause. Strength A is the CPU of the game (side 3). Strength B plays
// Player1's side: before each of its moves the board is relabelled (sides 1
// and 3 swapped, with their stocks) into a second game where the same logic
// moves as side 3, and its placements come back as Player1's clicks.

#include <cstdint>

#include "cell_source.h"
#include "cpu_player.h"
#include "game.h"
#include "master_search.h"
#include "reach_lists.h"
#include "silent_shell.h"

namespace vexa::tools {

enum class SelfPlayResult { WinA, WinB, Draw };

class SelfPlay {
 public:
  // A Master side searches within `master`, its seed taken from `seed`.
  SelfPlay(CpuStrength a, CpuStrength b, std::uint64_t seed, SearchLimits master = {});
  SelfPlay(const SelfPlay&) = delete;
  SelfPlay& operator=(const SelfPlay&) = delete;

  // One complete game, from its start to the result.
  SelfPlayResult PlayGame(bool a_moves_first);
  // The game as it stands after PlayGame: its history and outcome.
  const Game& LastGame() const { return game_; }

 private:
  void MovePlayer1();

  // One seeding for the whole run; both sides draw from it.
  SeededCellSource random_;

  SilentShell shell_;  // the game itself, A's strength
  Game game_{shell_};
  ReachLists lists_;
  CpuPlayer cpu_a_{game_, lists_, random_};

  SilentShell mirror_shell_;  // B's moves, worked out as side 3
  Game mirror_{mirror_shell_};
  ReachLists mirror_lists_;
  CpuPlayer cpu_b_{mirror_, mirror_lists_, random_};
};

}  // namespace vexa::tools
