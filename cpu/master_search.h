#pragma once

// The search behind the strength "Master", the hint and the analysis: a
// Monte Carlo tree search over whole turns (a turn is the blockers it must
// place, then its piece). The tree reaches below the root, so the
// opponent's replies are searched, not assumed. Each node's turns come
// with prior odds, half from the cells' weights (the squares a piece
// furthers and takes away) and half on the turn of the rules of thumb, and
// the selection follows them (PUCT) until playouts have weighed the turns.
// A playout plays the game to its end the same way for both sides, so that
// a value means the same whichever side asks; a leaf's value is half its
// playout and half the blockers each side has left.
//
// A solver proves what the board decides and carries it up the tree: a
// winning cell wins this turn; more winning cells of the opponent than the
// blockers and the piece can close lose; a turn after which the opponent
// cannot close the mover's new winning cells wins in three turns; a node
// wins when one of its turns leads to a proven loss of the opponent and
// loses when all of them lead to proven wins. A proven win is played at
// once, the shortest first.
//
// The search runs on worker threads, each growing a tree of its own with
// its own seed and share of the budget (merged at the root at the end), so
// the threads share nothing mutable but the stop flag. With a playout
// budget and a seed the choice depends on the thread count only, never on
// timing.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "core/move.h"
#include "core/position.h"
#include "cpu/search_board.h"

namespace vexa {

// The computer player's visible thinking time before every move; Master
// searches during it.
constexpr int kThinkingPauseMs = 1000;

struct SearchLimits {
  // Worker threads; 0 for one per core.
  int threads = 0;
  // The search ends when this time has passed, or after this many playouts
  // (all threads together), whichever comes first; a proven result ends it
  // sooner. One of them must be set; by default it is the second of the
  // computer player's thinking pause.
  std::optional<std::chrono::milliseconds> time = std::chrono::milliseconds(kThinkingPauseMs);
  std::optional<long> playouts;
  std::uint64_t seed = 0;
};

// What the search learnt of one turn at the root.
struct WeighedTurn {
  std::vector<Move> turn;
  long visits = 0;
  double score = 0;  // the sum of the results for the mover, 1 a win
  // Proven for the mover: a win or a loss, in so many turns from the root.
  std::optional<Proof> proof;
  double Mean() const { return visits > 0 ? score / static_cast<double>(visits) : 0.5; }
};

struct SearchResult {
  // The blockers in the order they are placed, then the piece; empty only
  // when no cell is left for a piece.
  std::vector<Move> turn;
  // Every turn at the root, in the order they were generated, with the
  // visits and scores of all threads together.
  std::vector<WeighedTurn> weighed;
  // The mover's expected result (1 a win) with the chosen turn, from the
  // playouts, or exactly when proven.
  double value = 0.5;
  // The result the search proved for the mover, if it did.
  std::optional<Proof> proof;
  long playouts = 0;
  long nodes = 0;  // tree nodes made, all threads together
  int threads = 0;
  int candidates = 0;  // the turns at the root
  std::chrono::microseconds elapsed{0};
  bool stopped = false;  // the stop flag ended it
};

// The turn for `mover` (one of the position's two sides, to move). Returns
// soon after `stop` becomes true.
SearchResult SearchTurn(const Position& position, Side mover, const SearchLimits& limits,
                        const std::atomic<bool>& stop);

// One search split into the shares of its workers, so that the search
// runner's threads can work them; SearchTurn works them all at once.
class SearchJob {
 public:
  SearchJob(const Position& position, Side mover, const SearchLimits& limits);
  ~SearchJob();
  SearchJob(const SearchJob&) = delete;
  SearchJob& operator=(const SearchJob&) = delete;

  int Workers() const { return static_cast<int>(trees_.size()); }
  // Grows the worker's tree with its share of the budget; returns at the
  // deadline, at the end of the share, once the root is proven, or soon
  // after `stop` becomes true.
  void Work(int worker, const std::atomic<bool>& stop);
  // The choice, once every share has returned.
  SearchResult Result(bool stopped) const;

  class Tree;

 private:
  SearchBoard root_;
  SearchLimits limits_;
  std::chrono::steady_clock::time_point start_;
  std::optional<std::chrono::steady_clock::time_point> deadline_;
  std::vector<std::unique_ptr<Tree>> trees_;
};

// The worker threads a limit of 0 stands for.
int CoreCount();

}  // namespace vexa
