#include "cpu/game_analysis.h"

#include "cpu/search_board.h"

namespace vexa {

namespace {

int WinningCells(const Position& p, Side side) {
  return SearchBoard(p, side).WinningCells(0).Count();
}

Position After(Position p, const std::vector<Move>& turn) {
  for (const Move& move : turn)
    p.Play(move);
  return p;
}

// The mover's result once the board has ended the game: certain.
WinChance Ended(const Outcome& outcome, Side mover) {
  if (outcome.winner == 0) return {0.5, std::nullopt};
  const bool won = outcome.winner == mover;
  return {won ? 1.0 : 0.0, Proof{won, 0}};
}

}  // namespace

const char* MarkText(TurnMark mark) {
  constexpr const char* kTexts[] = {"", "?!", "?", "??"};
  return kTexts[static_cast<int>(mark)];
}

GameAnalysis::GameAnalysis(const std::vector<Move>& moves, Side first, MarkThresholds thresholds)
    : thresholds_(thresholds) {
  Position position(1, 2, first);
  AnalysedTurn turn;
  int step = 0;
  for (const Move& move : moves) {
    if (turn.played.empty()) positions_.push_back(position);
    position.Play(move);
    turn.played.push_back(move);
    ++step;
    if (move.kind != MoveKind::Piece) continue;
    turn.number = static_cast<int>(turns_.size()) + 1;
    turn.side = move.side;
    turn.end_step = step;
    turns_.push_back(turn);
    turn = AnalysedTurn{};
    if (position.Result()) break;
  }
  if (!turn.played.empty()) positions_.pop_back();
  // An unfinished game: the position after its last turn tells that
  // turn's chances after.
  if (!turns_.empty() && !position.Result()) {
    positions_.push_back(After(positions_.back(), turns_.back().played));
  }
  Settle();
}

std::optional<GameAnalysis::Request> GameAnalysis::Next() const {
  if (Complete()) return std::nullopt;
  const Position& p = positions_[static_cast<std::size_t>(next_)];
  return Request{p, p.ToMove(), next_};
}

void GameAnalysis::Take(const SearchResult& result) {
  if (Complete()) return;
  WinChance chance = ChanceOf(result);
  // A lost position has no best turn: every turn loses.
  best_.push_back(chance.proof && !chance.proof->win ? std::vector<Move>{} : result.turn);
  chances_.push_back(chance);
  ++next_;
  Settle();
}

void GameAnalysis::Settle() {
  while (settled_ < turns_.size() && settled_ < chances_.size()) {
    AnalysedTurn& turn = turns_[settled_];
    const Position after = After(positions_[settled_], turn.played);
    if (after.Result()) {
      turn.after = Ended(*after.Result(), turn.side);
    } else if (settled_ + 1 < chances_.size()) {
      turn.after = chances_[settled_ + 1].Flipped();
    } else {
      return;  // the next position's search first
    }
    turn.before = chances_[settled_];
    turn.best = best_[settled_];
    Mark(turn);
    ++settled_;
  }
}

void GameAnalysis::Mark(AnalysedTurn& turn) const {
  const Position& before = positions_[static_cast<std::size_t>(turn.number - 1)];
  const Position after = After(before, turn.played);
  const Side them = before.Opponent(turn.side);
  const bool won = after.Result() && after.Result()->winner == turn.side;
  turn.missed_win = WinningCells(before, turn.side) > 0 && !won;
  const int open = WinningCells(before, them);
  turn.left_win_open = !turn.missed_win && !after.Result() && open > 0 &&
                       open <= before.Blockers(turn.side) + 1 && WinningCells(after, them) > 0;
  // The best turn played: what the two searches differ by is their noise,
  // unless the turn leads to a proven loss the search before it missed.
  const bool lost_here =
      turn.after.proof && !turn.after.proof->win && !(turn.before.proof && !turn.before.proof->win);
  const double drop = turn.played == turn.best && !lost_here ? 0.0 : turn.Drop();
  if (turn.missed_win || turn.left_win_open || drop >= thresholds_.blunder) {
    turn.mark = TurnMark::Blunder;
  } else if (drop >= thresholds_.mistake) {
    turn.mark = TurnMark::Mistake;
  } else if (drop >= thresholds_.inaccuracy) {
    turn.mark = TurnMark::Inaccuracy;
  }
}

SideSums GameAnalysis::Sums(Side side) const {
  SideSums sums;
  for (const AnalysedTurn& turn : turns_) {
    if (turn.side != side) continue;
    ++sums.marks[static_cast<int>(turn.mark)];
    ++sums.turns;
    sums.drop_sum += turn.Drop();
  }
  return sums;
}

}  // namespace vexa
