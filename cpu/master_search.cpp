#include "cpu/master_search.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <thread>

#include "cpu/cell_source.h"
#include "cpu/choose_turn.h"
#include "cpu/reach_lists.h"

namespace vexa {

namespace {

using Clock = std::chrono::steady_clock;

// Exploration weight of UCB1 for results in 0..1. Low, because most turns
// are plainly worse than the best few and the budget is small.
constexpr double kExploration = 0.35;

// The score of a finished game for `me`: 1 a win, 0.5 a draw, 0 a loss.
double Score(const Outcome& outcome, Side me) {
  return outcome.winner == me ? 1.0 : outcome.winner == 0 ? 0.5 : 0.0;
}

// The score for `me` when the blockers left decide: more wins.
double BlockerScore(const Position& p, Side me) {
  const int mine = p.Blockers(me);
  const int theirs = p.Blockers(p.Opponent(me));
  return mine > theirs ? 1.0 : mine < theirs ? 0.0 : 0.5;
}

// The turns worth weighing. A winning cell is the only one. Otherwise each
// turn closes every reach cell of the opponent: with blockers on all of
// them and the piece anywhere, or with the piece on one and blockers on the
// rest. Blockers go nowhere else. When the blockers and the piece cannot
// close them all, the one turn closes as many as it can.
std::vector<std::vector<Move>> CandidateTurns(const Position& p, Side me) {
  const Side them = p.Opponent(me);
  ReachLists lists;
  ListReaches(me, p.Board(), lists);
  if (!lists.ReachList(me).Empty()) return {{PieceMove(me, lists.ReachList(me).First())}};
  ListReaches(them, p.Board(), lists);
  const CellList& open = lists.ReachList(them);
  const int blockers = p.Blockers(me);
  if (open.Count() > blockers + 1) {
    std::vector<Move> hopeless;
    for (int n = 0; n < blockers; ++n)
      hopeless.push_back(BlockerMove(me, open[n]));
    hopeless.push_back(PieceMove(me, open[blockers]));
    return {hopeless};
  }

  std::vector<std::vector<Move>> turns;
  for (const int covered : open) {
    std::vector<Move> t;
    for (const int cell : open) {
      if (cell != covered) t.push_back(BlockerMove(me, cell));
    }
    t.push_back(PieceMove(me, covered));
    turns.push_back(std::move(t));
  }
  if (open.Count() <= blockers) {
    std::vector<Move> all;
    for (const int cell : open)
      all.push_back(BlockerMove(me, cell));
    for (int cell = 0; cell < kCellCount; ++cell) {
      if (IsPlayableCell(cell) && p.Board()[cell] == Empty && !open.Contains(cell)) {
        turns.push_back(all);
        turns.back().push_back(PieceMove(me, cell));
      }
    }
  }
  return turns;
}

// Plays positions out to their end by the rules of thumb.
class Playouts {
 public:
  // `even`: the side played out for draws its strength as the opponent does.
  Playouts(std::uint64_t seed, bool even) : random_(seed), even_(even) {}

  // The score for `me` of playing `turn` from `root`.
  double Weigh(const Position& root, Side me, const std::vector<Move>& turn) {
    Position p = root;
    for (const Move& move : turn)
      p.Play(move);
    if (p.Result()) return Score(*p.Result(), me);
    return Play(p, me);
  }

 private:
  // The score for `me` of the game from `p`. The opponent plays "Hard" in
  // half the playouts, "VeryHard" in the others: scored against one set of
  // habits only, the search learns to exploit that one and loses more often
  // to the other.
  double Play(Position& p, Side me) {
    const CpuStrength opponent =
        random_.DrawCell() % 2 != 0 ? CpuStrength::VeryHard : CpuStrength::Hard;
    const CpuStrength mine =
        even_ && random_.DrawCell() % 2 == 0 ? CpuStrength::Hard : CpuStrength::VeryHard;
    for (;;) {
      const Side to_move = p.ToMove();
      // A crowded board (analysis, not a real game, which leaves at least
      // 65 cells empty) where blockers could fill the last cells: stop and
      // count blockers rather than draw for a cell that is not there.
      if (p.EmptyCells() <= p.Blockers(to_move)) return BlockerScore(p, me);
      const CpuStrength strength = to_move == me ? mine : opponent;
      for (const Move& move : chooser_.Choose(p, to_move, strength, random_))
        p.Play(move);
      if (p.Result()) return Score(*p.Result(), me);
    }
  }

  SeededCellSource random_;
  TurnChooser chooser_;
  bool even_;
};

struct Budget {
  long playouts;
  std::optional<Clock::time_point> deadline;
};

// A worker's bandit over the turns: each turn played out once in order,
// then the one of highest UCB1 value. Each turn's mean and 1/sqrt(visits)
// are kept as they change, so that a choice costs a multiply-add per turn.
class Bandit {
 public:
  explicit Bandit(SearchJob::Stats& stats)
      : stats_(stats), mean_(stats.visits.size(), 0.0), spread_(stats.visits.size(), 0.0) {}

  std::size_t Next() const {
    const std::size_t n = mean_.size();
    if (static_cast<std::size_t>(stats_.playouts) < n) {
      return static_cast<std::size_t>(stats_.playouts);
    }
    const double weight = kExploration * std::sqrt(std::log(static_cast<double>(stats_.playouts)));
    std::size_t best = 0;
    double best_value = -1.0;
    for (std::size_t t = 0; t < n; ++t) {
      const double value = mean_[t] + weight * spread_[t];
      if (value > best_value) {
        best_value = value;
        best = t;
      }
    }
    return best;
  }

  void Record(std::size_t t, double score) {
    stats_.score[t] += score;
    ++stats_.visits[t];
    ++stats_.playouts;
    const double visits = static_cast<double>(stats_.visits[t]);
    mean_[t] = stats_.score[t] / visits;
    spread_[t] = 1.0 / std::sqrt(visits);
  }

 private:
  SearchJob::Stats& stats_;
  std::vector<double> mean_;
  std::vector<double> spread_;
};

void Work(const Position& root, Side me, const std::vector<std::vector<Move>>& turns,
          const Budget& budget, std::uint64_t seed, bool even, const std::atomic<bool>& stop,
          SearchJob::Stats& stats) {
  Playouts playouts(seed, even);
  Bandit bandit(stats);
  while (stats.playouts < budget.playouts && !stop.load(std::memory_order_relaxed)) {
    if (budget.deadline && Clock::now() >= *budget.deadline) break;
    const std::size_t t = bandit.Next();
    bandit.Record(t, playouts.Weigh(root, me, turns[t]));
  }
}

// A seed per worker, far apart for neighbouring seeds (splitmix64).
std::uint64_t WorkerSeed(std::uint64_t seed, int worker) {
  std::uint64_t z = seed + 0x9E3779B97F4A7C15ULL * static_cast<std::uint64_t>(worker + 1);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

}  // namespace

int CoreCount() {
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

SearchJob::SearchJob(const Position& position, Side mover, const SearchLimits& limits)
    : position_(position),
      mover_(mover),
      limits_(limits),
      start_(Clock::now()),
      turns_(limits.weigh_turn.empty() ? CandidateTurns(position, mover)
                                       : std::vector<std::vector<Move>>{limits.weigh_turn}) {
  workers_ = limits.threads > 0 ? limits.threads : CoreCount();
  if (limits.time) deadline_ = start_ + *limits.time;
  stats_.assign(static_cast<std::size_t>(workers_), Stats(turns_.size()));
}

long SearchJob::Share(int worker) const {
  // The budget is split among the workers, the first ones taking the rest.
  const long total = limits_.playouts.value_or(std::numeric_limits<long>::max());
  return total / workers_ + (worker < total % workers_ ? 1 : 0);
}

void SearchJob::Work(int worker, const std::atomic<bool>& stop) {
  // A forced choice needs no playout.
  const bool weighing = !limits_.weigh_turn.empty();
  if (turns_.size() <= 1 && !weighing) return;
  vexa::Work(position_, mover_, turns_, {Share(worker), deadline_},
             WorkerSeed(limits_.seed, worker), weighing, stop,
             stats_[static_cast<std::size_t>(worker)]);
}

SearchResult SearchJob::Result(bool stopped) const {
  SearchResult result;
  result.threads = workers_;
  result.candidates = static_cast<int>(turns_.size());
  if (turns_.empty()) return result;
  std::size_t chosen = 0;
  if (turns_.size() > 1 || !limits_.weigh_turn.empty()) {
    Stats merged(turns_.size());
    for (const Stats& s : stats_) {
      for (std::size_t t = 0; t < turns_.size(); ++t) {
        merged.score[t] += s.score[t];
        merged.visits[t] += s.visits[t];
      }
      merged.playouts += s.playouts;
    }
    // The turn played out most often; among equals the better score, then
    // the earlier turn.
    for (std::size_t t = 1; t < turns_.size(); ++t) {
      if (merged.visits[t] > merged.visits[chosen] ||
          (merged.visits[t] == merged.visits[chosen] && merged.score[t] > merged.score[chosen])) {
        chosen = t;
      }
    }
    result.playouts = merged.playouts;
    for (std::size_t t = 0; t < turns_.size(); ++t)
      result.weighed.push_back({turns_[t], merged.visits[t], merged.score[t]});
  }
  result.turn = turns_[chosen];
  result.stopped = stopped;
  result.elapsed = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start_);
  return result;
}

SearchResult SearchTurn(const Position& position, Side mover, const SearchLimits& limits,
                        const std::atomic<bool>& stop) {
  SearchJob job(position, mover, limits);
  std::vector<std::thread> helpers;
  for (int w = 1; w < job.Workers(); ++w)
    helpers.emplace_back([&job, &stop, w] { job.Work(w, stop); });
  job.Work(0, stop);
  for (std::thread& helper : helpers)
    helper.join();
  return job.Result(stop.load());
}

}  // namespace vexa
