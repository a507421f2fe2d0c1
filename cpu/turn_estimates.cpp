#include "cpu/turn_estimates.h"

#include <algorithm>

#include "cpu/reach_lists.h"

namespace vexa {

std::optional<double> ForcedValue(const Position& position, Side mover) {
  ReachLists lists;
  ListReaches(mover, position.Board(), lists, PreReachScope::First);
  if (!lists.ReachList(mover).Empty()) return 1.0;
  const Side them = position.Opponent(mover);
  ListReaches(them, position.Board(), lists, PreReachScope::First);
  // Each blocker closes one cell and the piece one more.
  if (lists.ReachList(them).Count() > position.Blockers(mover) + 1) return 0.0;
  return std::nullopt;
}

std::vector<Candidate> BestCandidates(const Position& position, Side mover,
                                      const SearchResult& result, std::size_t count) {
  std::vector<Candidate> out;
  if (result.turn.empty() || count == 0) return out;
  if (result.weighed.empty()) {
    out.push_back({result.turn, ForcedValue(position, mover).value_or(0.5), 1.0});
    return out;
  }
  const double playouts = static_cast<double>(std::max(1L, result.playouts));
  for (const WeighedTurn& w : result.weighed) {
    const double win = w.visits > 0 ? w.score / static_cast<double>(w.visits) : 0.0;
    out.push_back({w.turn, win, static_cast<double>(w.visits) / playouts});
  }
  // The chosen turn first, then the most visited; equal visits keep the
  // order the search generated them in.
  std::stable_sort(out.begin(), out.end(), [&result](const Candidate& a, const Candidate& b) {
    const bool a_chosen = a.turn == result.turn;
    const bool b_chosen = b.turn == result.turn;
    if (a_chosen != b_chosen) return a_chosen;
    return a.share > b.share;
  });
  if (out.size() > count) out.resize(count);
  return out;
}

std::string TurnText(const std::vector<Move>& turn) {
  std::string out;
  for (const Move& move : turn) {
    if (!out.empty()) out += ' ';
    out += (move.kind == MoveKind::Blocker ? "B " : "P ") + std::to_string(move.cell);
  }
  return out;
}

}  // namespace vexa
