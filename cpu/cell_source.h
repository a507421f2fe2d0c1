#pragma once

// Where the computer player's random cells come from. The program seeds one
// source once per run; tests and tools fix the seed, or script the draws.

#include <cstdint>
#include <random>

namespace vexa {

class CellSource {
 public:
  virtual ~CellSource() = default;
  // A cell number 1..120, each equally likely, independent of earlier draws.
  virtual int DrawCell() = 0;
};

class SeededCellSource : public CellSource {
 public:
  explicit SeededCellSource(std::uint64_t seed) : engine_(seed) {}
  int DrawCell() override;

 private:
  std::mt19937_64 engine_;
};

// A seed that differs from run to run, for the one seeding at start-up.
std::uint64_t SeedFromClock();

}  // namespace vexa
