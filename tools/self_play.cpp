#include "tools/self_play.h"

#include <atomic>
#include <cstdlib>

namespace vexa::tools {

SelfPlay::SelfPlay(CpuStrength a, CpuStrength b, std::uint64_t seed, SearchLimits master)
    : SelfPlay(a, b, seed, master, master) {}

SelfPlay::SelfPlay(CpuStrength a, CpuStrength b, std::uint64_t seed, SearchLimits master_a,
                   SearchLimits master_b)
    : random_(seed), a_(a), b_(b), master_a_(master_a), master_b_(master_b) {
  // The two sides search with different seeds.
  master_a_.seed = seed;
  master_b_.seed = ~seed;
}

std::vector<Move> SelfPlay::ChooseFor(const Position& position, Side side) {
  const CpuStrength strength = side == Cpu ? a_ : b_;
  if (strength != CpuStrength::Master) return chooser_.Choose(position, side, strength, random_);
  SearchLimits& limits = side == Cpu ? master_a_ : master_b_;
  ++limits.seed;
  const std::atomic<bool> never{false};
  return SearchTurn(position, side, limits, never).turn;
}

SelfPlayResult SelfPlay::PlayGame(bool a_moves_first) {
  Position position(Player1, Cpu, a_moves_first ? Cpu : Player1);
  history_.clear();
  while (!position.Result()) {
    const std::vector<Move> turn = ChooseFor(position, position.ToMove());
    // Every turn ends with a piece; without one the loop would never end.
    if (turn.empty() || turn.back().kind != MoveKind::Piece) std::abort();
    for (const Move& move : turn) {
      if (!position.IsLegal(move)) std::abort();
      position.Play(move);
      history_.push_back(move);
    }
  }
  outcome_ = position.Result();
  if (outcome_->winner == Player1) return SelfPlayResult::WinB;
  if (outcome_->winner == Cpu) return SelfPlayResult::WinA;
  return SelfPlayResult::Draw;
}

}  // namespace vexa::tools
