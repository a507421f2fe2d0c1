#include "cpu/game_analysis.h"

#include "cpu/reach_lists.h"
#include "cpu/turn_estimates.h"

namespace vexa {

namespace {

double ScoreFor(const Outcome& outcome, Side side) {
  return outcome.winner == side ? 1.0 : outcome.winner == 0 ? 0.5 : 0.0;
}

int ReachCount(const Position& p, Side side) {
  ReachLists lists;
  ListReaches(side, p.Board(), lists, PreReachScope::First);
  return lists.ReachList(side).Count();
}

Position After(Position p, const std::vector<Move>& turn) {
  for (const Move& move : turn)
    p.Play(move);
  return p;
}

// The mover's chances after its turn when the board decides them.
std::optional<double> DecidedAfter(const Position& before, const std::vector<Move>& turn) {
  const Side mover = before.ToMove();
  const Position after = After(before, turn);
  if (after.Result()) return ScoreFor(*after.Result(), mover);
  const std::optional<double> theirs = ForcedValue(after, after.ToMove());
  if (theirs) return 1.0 - *theirs;
  return std::nullopt;
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
  }
  if (!turn.played.empty()) positions_.pop_back();
  Advance();
}

std::optional<GameAnalysis::Request> GameAnalysis::Next() const {
  if (Complete()) return std::nullopt;
  const std::size_t at = static_cast<std::size_t>(next_);
  const Position& p = positions_[at];
  const AnalysedTurn& turn = turns_[at];
  std::vector<Move> weigh;
  if (have_best_) weigh = have_before_ ? turn.played : turn.best;
  return Request{p, p.ToMove(), weigh, requests_};
}

void GameAnalysis::Take(const SearchResult& result) {
  if (Complete()) return;
  ++requests_;
  AnalysedTurn& turn = turns_[static_cast<std::size_t>(next_)];
  if (!have_best_) {
    turn.best = result.turn;
    have_best_ = true;
  } else {
    const double win =
        result.weighed.empty() || result.weighed[0].visits == 0
            ? 0.5
            : result.weighed[0].score / static_cast<double>(result.weighed[0].visits);
    if (!have_before_) {
      turn.before = win;
      have_before_ = true;
    } else {
      turn.after = win;
      Mark(turn);
      ++next_;
      have_best_ = have_before_ = false;
    }
  }
  Advance();
}

void GameAnalysis::Advance() {
  while (!Complete()) {
    AnalysedTurn& turn = turns_[static_cast<std::size_t>(next_)];
    const Position& p = positions_[static_cast<std::size_t>(next_)];
    if (!have_best_) return;  // Master's search first
    if (!have_before_) {
      const std::optional<double> decided =
          turn.best.empty() ? std::optional<double>(0.5) : DecidedAfter(p, turn.best);
      if (!decided) return;
      turn.before = *decided;
      have_before_ = true;
    }
    std::optional<double> after = DecidedAfter(p, turn.played);
    // The same turn is not weighed twice: no drop from the playouts' noise.
    if (!after && turn.played == turn.best) after = turn.before;
    if (!after) return;
    turn.after = *after;
    Mark(turn);
    ++next_;
    have_best_ = have_before_ = false;
  }
}

void GameAnalysis::Mark(AnalysedTurn& turn) const {
  const Position& before = positions_[static_cast<std::size_t>(turn.number - 1)];
  const Position after = After(before, turn.played);
  const Side them = before.Opponent(turn.side);
  const bool won = after.Result() && after.Result()->winner == turn.side;
  turn.missed_win = ReachCount(before, turn.side) > 0 && !won;
  const int open = ReachCount(before, them);
  turn.left_win_open = !turn.missed_win && !after.Result() && open > 0 &&
                       open <= before.Blockers(turn.side) + 1 && ReachCount(after, them) > 0;
  const double drop = turn.Drop();
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
