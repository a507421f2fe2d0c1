#include "cpu/turn_estimates.h"

#include <algorithm>

namespace vexa {

std::vector<Candidate> BestCandidates(const SearchResult& result, std::size_t count) {
  std::vector<Candidate> out;
  if (result.turn.empty() || count == 0) return out;
  long visits = 0;
  for (const WeighedTurn& w : result.weighed)
    visits += w.visits;
  const double total = static_cast<double>(std::max(1L, visits));
  const bool lost = result.proof && !result.proof->win;
  for (const WeighedTurn& w : result.weighed) {
    const bool chosen = w.turn == result.turn;
    if (!chosen && !lost && w.proof && !w.proof->win) continue;
    out.push_back({w.turn, ChanceOf(w), static_cast<double>(w.visits) / total});
  }
  if (out.empty()) out.push_back({result.turn, ChanceOf(result), 1.0});
  std::stable_sort(out.begin(), out.end(), [&result](const Candidate& a, const Candidate& b) {
    const bool a_chosen = a.turn == result.turn;
    const bool b_chosen = b.turn == result.turn;
    if (a_chosen != b_chosen) return a_chosen;
    return a.share > b.share;
  });
  if (out.size() > count) out.resize(count);
  // The chosen turn's chance is the search's own (a proof of the root
  // included).
  out.front().chance = ChanceOf(result);
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
