#include "cpu/cell_source.h"

#include <chrono>
#include <limits>

namespace vexa {

int SeededCellSource::DrawCell() {
  // Rejection keeps every cell equally likely: the accepted range is a whole
  // multiple of 120. The engine's output is fixed by the standard, so a seed
  // gives the same draws with every standard library.
  constexpr std::uint64_t kCells = 120;
  constexpr std::uint64_t kLimit = std::numeric_limits<std::uint64_t>::max() / kCells * kCells;
  for (;;) {
    const std::uint64_t value = engine_();
    if (value < kLimit) return static_cast<int>(value % kCells) + 1;
  }
}

std::uint64_t SeedFromClock() {
  std::random_device device;
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  return (std::uint64_t{device()} << 32) ^ static_cast<std::uint64_t>(ticks);
}

}  // namespace vexa
