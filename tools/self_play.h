#pragma once

// Whole "VS CPU" games of one strength against another, without a window or
// a pause: strength A plays the CPU's side (3), strength B Player1's, each
// a Player choosing on one position.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "core/modes.h"
#include "core/move.h"
#include "core/position.h"
#include "cpu/cell_source.h"
#include "cpu/master_search.h"
#include "cpu/player.h"

namespace vexa::tools {

enum class SelfPlayResult { WinA, WinB, Draw };

class SelfPlay {
 public:
  // A Master side searches within `master`, its seed taken from `seed`.
  SelfPlay(CpuStrength a, CpuStrength b, std::uint64_t seed, SearchLimits master = {});
  // A's Master within `master_a`, B's within `master_b` (two budgets).
  SelfPlay(CpuStrength a, CpuStrength b, std::uint64_t seed, SearchLimits master_a,
           SearchLimits master_b);
  SelfPlay(const SelfPlay&) = delete;
  SelfPlay& operator=(const SelfPlay&) = delete;

  // One complete game, from its start to the result.
  SelfPlayResult PlayGame(bool a_moves_first);
  // The game PlayGame played last: its placements and how it ended.
  const std::vector<Move>& LastHistory() const { return history_; }
  const Outcome& LastOutcome() const { return *outcome_; }

 private:
  // One seeding for the whole run; both sides draw from it.
  SeededCellSource random_;
  // A's player and B's; each Master search takes the next seed.
  std::unique_ptr<Player> a_;
  std::unique_ptr<Player> b_;
  std::vector<Move> history_;
  std::optional<Outcome> outcome_;
};

}  // namespace vexa::tools
