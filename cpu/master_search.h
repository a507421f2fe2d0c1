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

#include "core/move.h"
#include "core/position.h"

namespace vexa {

// The computer player's visible thinking time before every move; Master
// searches during it.
constexpr int kThinkingPauseMs = 1000;

struct SearchLimits {
  // Worker threads; 0 for one per core.
  int threads = 0;
  // The search ends when this time has passed, or after this many playouts
  // (all threads together), whichever comes first. One of them must be set;
  // by default it is the second of the computer player's thinking pause.
  std::optional<std::chrono::milliseconds> time = std::chrono::milliseconds(kThinkingPauseMs);
  std::optional<long> playouts;
  std::uint64_t seed = 0;
  // Weighs this one turn instead of choosing (the analysis of a game):
  // every playout plays it, then each side plays "Hard" or "VeryHard",
  // drawn for each playout alike, so that its score means the same
  // whichever side asks.
  std::vector<Move> weigh_turn;
};

// What the search learnt of one turn it weighed.
struct WeighedTurn {
  std::vector<Move> turn;
  long visits = 0;
  double score = 0;  // the sum of the playouts' results for the mover, 1 a win
};

struct SearchResult {
  // The blockers in the order they are placed, then the piece; empty only
  // when no cell is left for a piece.
  std::vector<Move> turn;
  // Every turn weighed, in the order they were generated, with the visits
  // and scores of all threads together; empty when the choice was forced.
  std::vector<WeighedTurn> weighed;
  long playouts = 0;
  int threads = 0;
  // The turns that were weighed; 1 when the choice was forced.
  int candidates = 0;
  std::chrono::microseconds elapsed{0};
  bool stopped = false;  // the stop flag ended it
};

// The turn for `mover` (one of the position's two sides). Returns soon
// after `stop` becomes true.
SearchResult SearchTurn(const Position& position, Side mover, const SearchLimits& limits,
                        const std::atomic<bool>& stop);

// One search split into the shares of its workers, so that the search
// runner's threads can work them; SearchTurn works them all at once. Each
// share plays out with its own seed and statistics, merged by Result.
class SearchJob {
 public:
  SearchJob(const Position& position, Side mover, const SearchLimits& limits);
  int Workers() const { return workers_; }
  // Plays out the worker's share of the budget; returns at the deadline, at
  // the end of the share or soon after `stop` becomes true.
  void Work(int worker, const std::atomic<bool>& stop);
  // The choice, once every share has returned.
  SearchResult Result(bool stopped) const;

  // What one worker learnt about each turn.
  struct Stats {
    std::vector<double> score;
    std::vector<long> visits;
    long playouts = 0;
    explicit Stats(std::size_t turns) : score(turns, 0.0), visits(turns, 0) {}
  };

 private:
  long Share(int worker) const;

  Position position_;
  Side mover_;
  SearchLimits limits_;
  std::chrono::steady_clock::time_point start_;
  std::optional<std::chrono::steady_clock::time_point> deadline_;
  std::vector<std::vector<Move>> turns_;
  int workers_ = 1;
  std::vector<Stats> stats_;
};

// The worker threads a limit of 0 stands for.
int CoreCount();

}  // namespace vexa
