#include "master_search.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <thread>

#include "cell_source.h"
#include "cpu_player.h"
#include "reach_lists.h"
#include "silent_shell.h"

namespace vexa {

namespace {

using Clock = std::chrono::steady_clock;

// Inside the search the side to move plays as the CPU and its opponent as
// Player1, the sides the rules of thumb are written for.
constexpr Side kMe = Cpu;
constexpr Side kThem = Player1;

// Exploration weight of UCB1 for results in 0..1. Low, because most turns
// are plainly worse than the best few and the budget is small.
constexpr double kExploration = 0.35;

Side Other(Side side) {
  return side == kMe ? kThem : kMe;
}

struct Snapshot {
  BoardCells board{};
  Stocks pieces{};
  Stocks blockers{};
};

void SwapSides(Snapshot& s) {
  for (std::int16_t& cell : s.board) {
    if (cell == kMe) {
      cell = kThem;
    } else if (cell == kThem) {
      cell = kMe;
    }
  }
  std::swap(s.pieces[kMe - 1], s.pieces[kThem - 1]);
  std::swap(s.blockers[kMe - 1], s.blockers[kThem - 1]);
}

// The position with the mover as kMe and the opponent as kThem. Pieces of a
// third side, which no real game has, are only in the way: blockers.
Snapshot Normalized(const SearchPosition& p) {
  Snapshot s;
  for (int cell = 0; cell < kCellCount; ++cell) {
    const std::int16_t v = p.board[cell];
    std::int16_t& to = s.board[cell];
    if (v == p.mover) {
      to = kMe;
    } else if (v == p.opponent) {
      to = kThem;
    } else {
      to = v == Empty ? std::int16_t{Empty} : std::int16_t{Blocker};
    }
  }
  s.pieces[kMe - 1] = p.pieces[p.mover - 1];
  s.pieces[kThem - 1] = p.pieces[p.opponent - 1];
  s.blockers[kMe - 1] = p.blockers[p.mover - 1];
  s.blockers[kThem - 1] = p.blockers[p.opponent - 1];
  return s;
}

int EmptyCells(const BoardCells& board) {
  int n = 0;
  for (int cell = 0; cell < kCellCount; ++cell)
    n += IsPlayableCell(cell) && board[cell] == Empty ? 1 : 0;
  return n;
}

// The score of a finished game for kMe: 1 a win, 0.5 a draw, 0 a loss.
double Score(Side winner) {
  return winner == kMe ? 1.0 : winner == kThem ? 0.0 : 0.5;
}

// The ending when both piece stocks are used up: more blockers left wins.
double StockOutScore(const Snapshot& s) {
  const int mine = s.blockers[kMe - 1];
  const int theirs = s.blockers[kThem - 1];
  return mine > theirs ? 1.0 : mine < theirs ? 0.0 : 0.5;
}

// A turn to weigh: blockers in order, then the piece.
struct TurnChoice {
  std::vector<int> blockers;
  int piece = 0;
};

// The turns worth weighing. A winning cell is the only one. Otherwise each
// turn closes every reach cell of the opponent: with blockers on all of
// them and the piece anywhere, or with the piece on one and blockers on the
// rest. Blockers go nowhere else. When the blockers and the piece cannot
// close them all, the one turn closes as many as it can.
std::vector<TurnChoice> CandidateTurns(const Snapshot& s) {
  ReachLists lists;
  ListReaches(kMe, s.board, lists);
  if (!lists.ReachList(kMe).Empty()) return {{{}, lists.ReachList(kMe).First()}};
  ListReaches(kThem, s.board, lists);
  const CellList& open = lists.ReachList(kThem);
  const int blockers = s.blockers[kMe - 1];
  if (open.Count() > blockers + 1) {
    TurnChoice hopeless;
    for (int n = 0; n < blockers; ++n)
      hopeless.blockers.push_back(open[n]);
    hopeless.piece = open[blockers];
    return {hopeless};
  }

  std::vector<TurnChoice> turns;
  for (const int covered : open) {
    TurnChoice t{{}, covered};
    for (const int cell : open) {
      if (cell != covered) t.blockers.push_back(cell);
    }
    turns.push_back(std::move(t));
  }
  if (open.Count() <= blockers) {
    const std::vector<int> all(open.begin(), open.end());
    for (int cell = 0; cell < kCellCount; ++cell) {
      if (IsPlayableCell(cell) && s.board[cell] == Empty && !open.Contains(cell)) {
        turns.push_back({all, cell});
      }
    }
  }
  return turns;
}

Snapshot AfterTurn(Snapshot s, const TurnChoice& turn) {
  for (const int cell : turn.blockers) {
    s.board[cell] = Blocker;
    --s.blockers[kMe - 1];
  }
  s.board[turn.piece] = kMe;
  --s.pieces[kMe - 1];
  return s;
}

// Plays positions out to their end by the rules of thumb, each move worked
// out as the CPU's on a silent game.
class Playouts {
 public:
  explicit Playouts(std::uint64_t seed) : random_(seed) { shell_.strength = CpuStrength::VeryHard; }
  Playouts(const Playouts&) = delete;
  Playouts& operator=(const Playouts&) = delete;

  // The score for kMe of the game from `s` with `to_move` to move. The
  // opponent plays "Hard" in half the playouts, "VeryHard" in the others:
  // scored against one set of habits only, the search learns to exploit
  // that one and loses more often to the other.
  double Play(Snapshot s, Side to_move) {
    const CpuStrength opponent =
        random_.DrawCell() % 2 == 0 ? CpuStrength::Hard : CpuStrength::VeryHard;
    for (;;) {
      shell_.strength = to_move == kThem ? opponent : CpuStrength::VeryHard;
      // A crowded board (analysis, not a real game, which leaves at least
      // 65 cells empty) where blockers could fill the last cells: stop and
      // count blockers rather than draw for a cell that is not there.
      if (EmptyCells(s.board) <= s.blockers[to_move - 1]) return StockOutScore(s);
      const bool swap = to_move == kThem;
      if (swap) SwapSides(s);
      game_.SetUpPosition(s.board, s.pieces, s.blockers, Cpu);
      Task<> move = cpu_.CpuMove();
      move.Resume();  // the silent shell never waits
      if (!move.Done()) std::abort();
      s.board = game_.Board();
      s.pieces = game_.PieceStock();
      s.blockers = game_.BlockerStock();
      if (swap) SwapSides(s);
      if (const std::optional<Outcome>& result = game_.Result()) {
        const Side winner = result->winner == 0     ? 0
                            : result->winner == Cpu ? to_move
                                                    : Other(to_move);
        return Score(winner);
      }
      to_move = Other(to_move);
    }
  }

  // The score for kMe of playing `turn` from `root`.
  double Weigh(const Snapshot& root, const TurnChoice& turn) {
    const Snapshot after = AfterTurn(root, turn);
    if (after.pieces[kMe - 1] == 0 && after.pieces[kThem - 1] == 0) return StockOutScore(after);
    return Play(after, kThem);
  }

 private:
  SilentShell shell_;
  Game game_{shell_};
  ReachLists lists_;
  SeededCellSource random_;
  CpuPlayer cpu_{game_, lists_, random_};
};

// What one worker learnt about each turn.
struct TurnStats {
  std::vector<double> score;
  std::vector<long> visits;
  long playouts = 0;
  explicit TurnStats(std::size_t turns) : score(turns, 0.0), visits(turns, 0) {}
};

struct Budget {
  long playouts;
  std::optional<Clock::time_point> deadline;
};

// The next turn to play out: each once in order, then by UCB1.
std::size_t NextTurn(const TurnStats& stats) {
  const std::size_t n = stats.visits.size();
  if (static_cast<std::size_t>(stats.playouts) < n) return static_cast<std::size_t>(stats.playouts);
  const double log_total = std::log(static_cast<double>(stats.playouts));
  std::size_t best = 0;
  double best_value = -1.0;
  for (std::size_t t = 0; t < n; ++t) {
    const double visits = static_cast<double>(stats.visits[t]);
    const double value = stats.score[t] / visits + kExploration * std::sqrt(log_total / visits);
    if (value > best_value) {
      best_value = value;
      best = t;
    }
  }
  return best;
}

void Work(const Snapshot& root, const std::vector<TurnChoice>& turns, const Budget& budget,
          std::uint64_t seed, const std::atomic<bool>& stop, TurnStats& stats) {
  Playouts playouts(seed);
  while (stats.playouts < budget.playouts && !stop.load(std::memory_order_relaxed)) {
    if (budget.deadline && Clock::now() >= *budget.deadline) break;
    const std::size_t t = NextTurn(stats);
    stats.score[t] += playouts.Weigh(root, turns[t]);
    ++stats.visits[t];
    ++stats.playouts;
  }
}

// A seed per worker, far apart for neighbouring seeds (splitmix64).
std::uint64_t WorkerSeed(std::uint64_t seed, int worker) {
  std::uint64_t z = seed + 0x9E3779B97F4A7C15ULL * static_cast<std::uint64_t>(worker + 1);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

std::vector<Move> AsMoves(const TurnChoice& turn, Side side) {
  std::vector<Move> moves;
  for (const int cell : turn.blockers)
    moves.push_back(BlockerMove(side, cell));
  moves.push_back(PieceMove(side, turn.piece));
  return moves;
}

}  // namespace

int CoreCount() {
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

SearchResult SearchTurn(const SearchPosition& position, const SearchLimits& limits,
                        const std::atomic<bool>& stop) {
  const Clock::time_point start = Clock::now();
  SearchResult result;
  result.threads = limits.threads > 0 ? limits.threads : CoreCount();
  const Snapshot root = Normalized(position);
  const std::vector<TurnChoice> turns = CandidateTurns(root);
  result.candidates = static_cast<int>(turns.size());
  if (turns.empty()) return result;

  std::size_t chosen = 0;
  if (turns.size() > 1) {
    const long total = limits.playouts.value_or(std::numeric_limits<long>::max());
    std::optional<Clock::time_point> deadline;
    if (limits.time) deadline = start + *limits.time;
    // The budget is split among the workers, the first ones taking the rest.
    const int workers = result.threads;
    auto share = [&](int w) { return total / workers + (w < total % workers ? 1 : 0); };
    std::vector<TurnStats> stats(static_cast<std::size_t>(workers), TurnStats(turns.size()));
    std::vector<std::thread> helpers;
    for (int w = 1; w < workers; ++w) {
      helpers.emplace_back([&, w] {
        Work(root, turns, {share(w), deadline}, WorkerSeed(limits.seed, w), stop, stats[w]);
      });
    }
    Work(root, turns, {share(0), deadline}, WorkerSeed(limits.seed, 0), stop, stats[0]);
    for (std::thread& helper : helpers)
      helper.join();

    // The turn played out most often; among equals the better score, then
    // the earlier turn.
    TurnStats merged(turns.size());
    for (const TurnStats& s : stats) {
      for (std::size_t t = 0; t < turns.size(); ++t) {
        merged.score[t] += s.score[t];
        merged.visits[t] += s.visits[t];
      }
      merged.playouts += s.playouts;
    }
    for (std::size_t t = 1; t < turns.size(); ++t) {
      if (merged.visits[t] > merged.visits[chosen] ||
          (merged.visits[t] == merged.visits[chosen] && merged.score[t] > merged.score[chosen])) {
        chosen = t;
      }
    }
    result.playouts = merged.playouts;
  }
  result.turn = AsMoves(turns[chosen], position.mover);
  result.stopped = stop.load();
  result.elapsed = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
  return result;
}

}  // namespace vexa
