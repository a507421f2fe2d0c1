#include "tools/self_play.h"

#include <atomic>
#include <cstdlib>

namespace vexa::tools {

SelfPlay::SelfPlay(CpuStrength a, CpuStrength b, std::uint64_t seed, SearchLimits master)
    : SelfPlay(a, b, seed, master, master) {}

SelfPlay::SelfPlay(CpuStrength a, CpuStrength b, std::uint64_t seed, SearchLimits master_a,
                   SearchLimits master_b)
    : random_(seed) {
  // The two sides search with different seeds.
  master_a.seed = seed;
  master_b.seed = ~seed;
  a_ = MakePlayer(a, random_, master_a);
  b_ = MakePlayer(b, random_, master_b);
}

SelfPlayResult SelfPlay::PlayGame(bool a_moves_first) {
  Position position(Player1, Cpu, a_moves_first ? Cpu : Player1);
  history_.clear();
  while (!position.Result()) {
    const std::atomic<bool> never{false};
    Player& player = position.ToMove() == Cpu ? *a_ : *b_;
    const std::vector<Move> turn = player.ChooseTurn(position, position.ToMove(), never);
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
