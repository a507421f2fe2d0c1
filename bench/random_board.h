#pragma once

// Boards for the benchmarks: pieces of sides 1 and 3 and blockers on random
// playable cells.

#include <random>

#include "core/board.h"

namespace vexa {

inline BoardCells RandomBoard(std::mt19937& random, int pieces, int blockers) {
  BoardCells board{};
  auto place = [&](std::int16_t value, int count) {
    while (count > 0) {
      const int cell = std::uniform_int_distribution<int>(1, 119)(random);
      if (IsPlayableCell(cell) && board[cell] == Empty) {
        board[cell] = value;
        --count;
      }
    }
  };
  place(Player1, pieces);
  place(Cpu, pieces);
  place(Blocker, blockers);
  return board;
}

}  // namespace vexa
