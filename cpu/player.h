#pragma once

// Every strength of the computer behind one interface: the four rules of
// thumb and Master, which searches. The window's computer player, the
// headless player, self-play, the ladder and the tools' `cpu` command all
// choose through a Player; which strength is which kind of player is
// decided here alone (MakePlayer).

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "core/modes.h"
#include "core/move.h"
#include "core/position.h"
#include "cpu/cell_source.h"
#include "cpu/choose_turn.h"
#include "cpu/master_search.h"

namespace vexa {

class Player {
 public:
  virtual ~Player() = default;
  // The turn for `me`, the side to move: its blockers in the order they
  // are placed, then its piece. A searching player returns soon after
  // `stop` becomes true.
  virtual std::vector<Move> ChooseTurn(const Position& position, Side me,
                                       const std::atomic<bool>& stop) = 0;
  // A player that searches gives the limits of its next search (each
  // search its own seed): a window runs that search on its search runner
  // during the thinking pause, off its own thread. Nothing for a player
  // that chooses at once.
  virtual std::optional<SearchLimits> NextSearch() { return std::nullopt; }
};

// "Easy" to "VeryHard": fixed rules, the random cells drawn from `random`.
class RulesOfThumbPlayer : public Player {
 public:
  RulesOfThumbPlayer(CpuStrength strength, CellSource& random)
      : strength_(strength), random_(random) {}
  std::vector<Move> ChooseTurn(const Position& position, Side me,
                               const std::atomic<bool>& stop) override;

 private:
  CpuStrength strength_;
  CellSource& random_;
  TurnChooser chooser_;
};

// Master: the tree search within `limits`; each search takes the next seed
// after the limits' own, so that a game repeats for a given seed.
class MasterPlayer : public Player {
 public:
  explicit MasterPlayer(const SearchLimits& limits) : limits_(limits) {}
  std::vector<Move> ChooseTurn(const Position& position, Side me,
                               const std::atomic<bool>& stop) override;
  std::optional<SearchLimits> NextSearch() override;

 private:
  SearchLimits limits_;
};

std::unique_ptr<Player> MakePlayer(CpuStrength strength, CellSource& random,
                                   const SearchLimits& master = {});

}  // namespace vexa
