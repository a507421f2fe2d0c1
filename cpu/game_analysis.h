#pragma once

// The analysis of a finished (or abandoned) game: for every turn, the
// mover's chances before it, the best turn the search finds, the chances
// after the turn played, the drop and a mark. Each position of the game is
// searched once, and its value serves both sides: a turn's chances after
// are the next position's chances of the opponent, turned round, so the
// chances never contradict each other. The analysis asks for one search at
// a time and takes each result back, so that a tool can run the searches
// where it stands and the window on its search runner, off its thread,
// with a progress bar and a way to stop.

#include <array>
#include <optional>
#include <vector>

#include "core/move.h"
#include "core/position.h"
#include "cpu/master_search.h"
#include "cpu/win_chance.h"

namespace vexa {

// The search's playouts for each position of an analysis: a game of 40
// turns takes a few seconds on two cores. The calibration of the chances
// is fitted at this budget.
constexpr long kAnalysisPlayouts = 12000;

// How bad a turn was, by the drop of the mover's chances.
enum class TurnMark { None, Inaccuracy, Mistake, Blunder };
// "", "?!", "?" and "??".
const char* MarkText(TurnMark mark);

// The least drops (0..1) that earn "?!", "?" and "??".
struct MarkThresholds {
  double inaccuracy = 0.10;
  double mistake = 0.20;
  double blunder = 0.35;
};

struct AnalysedTurn {
  int number = 0;  // from 1
  Side side = 0;   // the record's side, 1 or 2
  std::vector<Move> played;
  // The placements of the game up to the end of this turn.
  int end_step = 0;
  // The mover's chances with the best turn the search finds (its chances
  // before the turn) and after the turn played; certain ones carry their
  // proof.
  WinChance before;
  // The best turn; none when the mover is lost whatever it plays.
  std::vector<Move> best;
  WinChance after;
  // The mover had a winning cell and did not take it, or left one of the
  // opponent's open that its blockers and piece could have closed.
  bool missed_win = false;
  bool left_win_open = false;
  TurnMark mark = TurnMark::None;

  // What the turn cost; a turn that did better than the best found costs
  // nothing.
  double Drop() const { return before.chance > after.chance ? before.chance - after.chance : 0.0; }
};

struct SideSums {
  std::array<int, 4> marks{};  // by TurnMark
  int turns = 0;
  double drop_sum = 0;
  double AverageDrop() const { return turns > 0 ? drop_sum / turns : 0.0; }
};

class GameAnalysis {
 public:
  // A record's placements (sides 1 and 2) from the start, `first` the side
  // that began. Placements after the last piece (blockers of a turn never
  // finished) are no turn and are left out.
  GameAnalysis(const std::vector<Move>& moves, Side first, MarkThresholds thresholds = {});

  // The search the analysis needs next: the position before a turn (or
  // after the last one, when the game did not end there); nothing once it
  // is complete. Each request has its own number, from 0, for its seed.
  struct Request {
    Position position;
    Side mover;
    int number;
  };
  std::optional<Request> Next() const;
  // The result of the search Next asked for.
  void Take(const SearchResult& result);

  bool Complete() const { return next_ >= static_cast<int>(positions_.size()); }
  // Turns weighed so far, of TurnCount().
  int TurnsWeighed() const { return static_cast<int>(settled_); }
  int TurnCount() const { return static_cast<int>(turns_.size()); }

  // Complete once the analysis is.
  const std::vector<AnalysedTurn>& Turns() const { return turns_; }
  SideSums Sums(Side side) const;

 private:
  // Fills in, in order, the turns whose chances before and after are known.
  void Settle();
  void Mark(AnalysedTurn& turn) const;

  MarkThresholds thresholds_;
  // The position before each turn, then the one after the last turn when
  // the game went on from there.
  std::vector<Position> positions_;
  // The mover's chances at each position searched so far, and its best turn.
  std::vector<WinChance> chances_;
  std::vector<std::vector<Move>> best_;
  std::vector<AnalysedTurn> turns_;
  int next_ = 0;
  std::size_t settled_ = 0;  // the turns filled in
};

}  // namespace vexa
