#include "bot/side_one_cpu.h"

namespace vexa::bot {

SideOneCpu::SideOneCpu(CpuStrength strength, std::uint64_t seed)
    : strength_(strength), random_(seed) {
  master_.seed = seed;
}

std::vector<Move> SideOneCpu::ChooseTurn(const Game& game) {
  if (strength_ != CpuStrength::Master) {
    return chooser_.Choose(game.CurrentPosition(), Player1, strength_, random_);
  }
  ++master_.seed;  // each search a seed of its own
  return vexa::ChooseTurn(game.CurrentPosition(), Player1, strength_, random_, master_);
}

}  // namespace vexa::bot
