#pragma once

// The search behind the strength "Master": Monte Carlo over whole turns. Each
// turn the side to move may play (the blockers it must place, then its piece)
// is scored by playing the game out many times from there by the rules of
// thumb (the opponent "Hard" or "VeryHard", the mover "VeryHard"); a bandit
// (UCB1) spends the playouts on the promising turns, and
// the turn played out most often is chosen. Before any playout, a winning cell
// is taken at once, and every turn that would leave the opponent a reach cell
// its blockers and piece could have closed is left out.
//
// The search runs on worker threads, each with its own playouts and
// statistics over the same turns (merged at the end), so the threads share
// nothing mutable but the stop flag. With a playout budget and a seed the
// choice depends on the thread count only, never on timing.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "board.h"
#include "game.h"
#include "move.h"

namespace vexa {

// A position to search: the board, both sides' stocks and who is to move.
struct SearchPosition {
  BoardCells board{};
  Stocks pieces{};
  Stocks blockers{};
  Side mover = Cpu;
  Side opponent = Player1;
};

struct SearchLimits {
  // Worker threads; 0 for one per core.
  int threads = 0;
  // The search ends when this time has passed, or after this many playouts
  // (all threads together), whichever comes first. One of them must be set;
  // by default it is the second of the computer player's thinking pause.
  std::optional<std::chrono::milliseconds> time = std::chrono::milliseconds(1000);
  std::optional<long> playouts;
  std::uint64_t seed = 0;
};

struct SearchResult {
  // The blockers in the order they are placed, then the piece; empty only
  // when no cell is left for a piece.
  std::vector<Move> turn;
  long playouts = 0;
  int threads = 0;
  // The turns that were weighed; 1 when the choice was forced.
  int candidates = 0;
  std::chrono::microseconds elapsed{0};
  bool stopped = false;  // the stop flag ended it
};

// The turn for `position.mover`. Returns soon after `stop` becomes true.
SearchResult SearchTurn(const SearchPosition& position, const SearchLimits& limits,
                        const std::atomic<bool>& stop);

// The worker threads a limit of 0 stands for.
int CoreCount();

}  // namespace vexa
