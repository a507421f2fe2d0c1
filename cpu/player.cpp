#include "cpu/player.h"

namespace vexa {

std::vector<Move> RulesOfThumbPlayer::ChooseTurn(const Position& position, Side me,
                                                 const std::atomic<bool>&) {
  return chooser_.Choose(position, me, strength_, random_);
}

std::vector<Move> MasterPlayer::ChooseTurn(const Position& position, Side me,
                                           const std::atomic<bool>& stop) {
  return SearchTurn(position, me, *NextSearch(), stop).turn;
}

std::optional<SearchLimits> MasterPlayer::NextSearch() {
  ++limits_.seed;
  return limits_;
}

std::unique_ptr<Player> MakePlayer(CpuStrength strength, CellSource& random,
                                   const SearchLimits& master) {
  if (strength == CpuStrength::Master) return std::make_unique<MasterPlayer>(master);
  return std::make_unique<RulesOfThumbPlayer>(strength, random);
}

}  // namespace vexa
