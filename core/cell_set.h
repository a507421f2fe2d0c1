#pragma once

// A set of board cells as two 64-bit words: membership, insertion and
// removal in one step, and the members in ascending order.

#include <bit>
#include <cstdint>

#include "core/board.h"

namespace vexa {

class CellSet {
 public:
  bool Contains(int cell) const { return (words_[cell >> 6] >> (cell & 63) & 1) != 0; }
  void Add(int cell) { words_[cell >> 6] |= std::uint64_t{1} << (cell & 63); }
  void Remove(int cell) { words_[cell >> 6] &= ~(std::uint64_t{1} << (cell & 63)); }
  int Count() const { return std::popcount(words_[0]) + std::popcount(words_[1]); }
  bool Empty() const { return (words_[0] | words_[1]) == 0; }

  // The members in ascending order into `out` (room for kCellCount); the count.
  int Members(std::uint8_t* out) const {
    int count = 0;
    for (int word = 0; word < 2; ++word) {
      for (std::uint64_t bits = words_[word]; bits != 0; bits &= bits - 1)
        out[count++] = static_cast<std::uint8_t>(64 * word + std::countr_zero(bits));
    }
    return count;
  }

  friend bool operator==(const CellSet&, const CellSet&) = default;

 private:
  std::uint64_t words_[2] = {0, 0};
};

// The cells of the board holding `value`.
inline CellSet CellsHolding(const BoardCells& board, std::int16_t value) {
  CellSet set;
  for (int cell = 0; cell < kCellCount; ++cell) {
    if (board[cell] == value) set.Add(cell);
  }
  return set;
}

}  // namespace vexa
