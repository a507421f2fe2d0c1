#pragma once

// The analysis of a finished (or abandoned) game: for every turn, the
// mover's chances before it (Master's estimate of its best turn), the best
// turn, the chances after the turn played, the drop and a mark. It asks for
// one search at a time and takes each result back, so that a tool can run
// the searches where it stands and the window on its search runner, off its
// thread, with a progress bar and a way to stop.

#include <array>
#include <optional>
#include <vector>

#include "core/move.h"
#include "core/position.h"
#include "cpu/master_search.h"

namespace vexa {

// Master's playouts for the best turn of each position of an analysis, and
// the playouts that weigh the best turn and the turn played: a game of 40
// turns takes a few seconds on two cores.
constexpr long kAnalysisPlayouts = 20000;
constexpr long kWeighPlayouts = 4000;

// How bad a turn was, by the drop of the mover's chances.
enum class TurnMark { None, Inaccuracy, Mistake, Blunder };
// "", "?!", "?" and "??".
const char* MarkText(TurnMark mark);

// The least drops (0..1) that earn "?!", "?" and "??".
struct MarkThresholds {
  double inaccuracy = 0.05;
  double mistake = 0.10;
  double blunder = 0.20;
};

struct AnalysedTurn {
  int number = 0;  // from 1
  Side side = 0;   // the record's side, 1 or 2
  std::vector<Move> played;
  // The placements of the game up to the end of this turn.
  int end_step = 0;
  // The mover's win probability after the best turn Master finds (its
  // chances before the turn) and after the turn played.
  double before = 0.5;
  std::vector<Move> best;
  double after = 0.5;
  // The mover had a winning cell and did not take it, or left one of the
  // opponent's open that its blockers and piece could have closed.
  bool missed_win = false;
  bool left_win_open = false;
  TurnMark mark = TurnMark::None;

  // What the turn cost; a turn that did better than the best found costs
  // nothing.
  double Drop() const { return before > after ? before - after : 0.0; }
};

struct SideSums {
  std::array<int, 4> marks{};  // by TurnMark
  int turns = 0;
  double drop_sum = 0;
  double AverageDrop() const { return turns > 0 ? drop_sum / turns : 0.0; }
};

// Master's search finds each turn's best turn. Its own scores are no
// chances to compare across positions: they favour the side that asks
// (the side it plays out for plays "VeryHard", the other half the time
// "Hard"), so both sides of a position would seem to win. The best turn and
// the turn played are therefore weighed again by even playouts, each side
// "Hard" or "VeryHard" alike (both "VeryHard" play nearly the same game
// every time, so that every chance would be 0 or 1), whose score is the
// same whichever side asks; a position the board decides (a square, a
// winning cell, more winning cells than the opponent can close) is scored
// exactly.
class GameAnalysis {
 public:
  // A record's placements (sides 1 and 2) from the start, `first` the side
  // that began. Placements after the last piece (blockers of a turn never
  // finished) are no turn and are left out.
  GameAnalysis(const std::vector<Move>& moves, Side first, MarkThresholds thresholds = {});

  // The search the analysis needs next; nothing once it is complete. Each
  // request has its own number, from 0, for its seed; `weigh_turn` set
  // asks for the even playouts of that turn.
  struct Request {
    Position position;
    Side mover;
    std::vector<Move> weigh_turn;
    int number;
  };
  std::optional<Request> Next() const;
  // The result of the search Next asked for.
  void Take(const SearchResult& result);

  bool Complete() const { return next_ >= TurnCount(); }
  // Turns weighed so far, of TurnCount().
  int TurnsWeighed() const { return next_; }
  int TurnCount() const { return static_cast<int>(turns_.size()); }

  // Complete once the analysis is.
  const std::vector<AnalysedTurn>& Turns() const { return turns_; }
  SideSums Sums(Side side) const;

 private:
  // Settles what the board decides of the turn in progress and moves on
  // as far as no search is needed.
  void Advance();
  void Mark(AnalysedTurn& turn) const;

  MarkThresholds thresholds_;
  // The position before each turn.
  std::vector<Position> positions_;
  std::vector<AnalysedTurn> turns_;
  int next_ = 0;
  int requests_ = 0;
  // Of the turn in progress: its best turn is known, its chances before,
  // after.
  bool have_best_ = false;
  bool have_before_ = false;
};

}  // namespace vexa
