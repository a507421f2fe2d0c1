#pragma once

// A shell that shows nothing and never waits, for the benchmarks and tests:
// the game runs at full speed with no window. The choices of the option
// panel are plain fields.

#include <string>

#include "core/game_shell.h"

namespace vexa {

class SilentShell : public GameShell {
 public:
  GameMode mode = GameMode::VsCpu;
  CpuStrength strength = CpuStrength::VeryHard;
  bool cpu_first = false;
  bool player1_first = true;

  GameMode Mode() const override { return mode; }
  CpuStrength Strength() const override { return strength; }
  bool CpuMovesFirst() const override { return cpu_first; }
  bool Player1MovesFirst() const override { return player1_first; }
  std::string LocalPlayerName() const override { return {}; }
};

}  // namespace vexa
