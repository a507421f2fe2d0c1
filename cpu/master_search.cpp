#include "cpu/master_search.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>
#include <thread>

#include "cpu/playout.h"

namespace vexa {

namespace {

using Clock = std::chrono::steady_clock;

// The weight of the prior odds against the values found (PUCT).
constexpr double kPriorWeight = 1.4;
// The prior odds are a softmax over the cells' weights at this temperature.
constexpr double kPriorTemperature = 25.0;
// An unvisited turn counts as this much worse than its parent's value, so
// that the playouts first deepen the turns that did well.
constexpr double kFirstVisitPenalty = 0.15;
// A node's turns are made once it has been reached this often; until then
// playouts from it weigh it.
constexpr std::uint32_t kExpandAfter = 3;
// The share of the prior odds that goes to the turn of the rules of thumb
// ("VeryHard"): the tactics they play (the most winning cells at once,
// taking the opponent's) are the replies a node is most likely to meet, so
// the tree follows them deep, whoever plays.
constexpr double kRulesOfThumbPrior = 0.5;
// A leaf's value is this share the blockers in hand and the rest its
// playout. Every winning cell a side makes costs the other a blocker or its
// piece, and the side that runs out first loses to two at once; a playout
// is one noisy sample of that war, the blockers left a steadier one.
constexpr double kBlockerShare = 0.5;

struct Node {
  float score = 0;  // the results for the side that moved into the node
  float prior = 0;
  std::uint32_t visits = 0;
  std::uint32_t first_child = 0;
  std::uint8_t child_count = 0;
  std::uint8_t cell = 0;  // the piece of the turn into the node
  // Proven for the side to move at the node: 1 a win, -1 a loss, in
  // proof_turns turns (0: the game is over).
  std::int8_t proof = 0;
  std::uint8_t proof_turns = 0;
  bool expanded = false;
};

// A seed per worker, far apart for neighbouring seeds.
std::uint64_t WorkerSeed(std::uint64_t seed, int worker) {
  SearchRandom mix(seed + 0x9E3779B97F4A7C15ULL * static_cast<std::uint64_t>(worker + 1));
  return mix.Next();
}

}  // namespace

class SearchJob::Tree {
 public:
  Tree(const SearchBoard& root, std::uint64_t seed) : playouts_(seed) {
    nodes_.reserve(4096);
    nodes_.emplace_back();
    SearchBoard board = root;
    Expand(0, board, true);
  }

  void Grow(const SearchBoard& root, long budget, std::optional<Clock::time_point> deadline,
            const std::atomic<bool>& stop) {
    while (played_ < budget && nodes_[0].proof == 0 && !stop.load(std::memory_order_relaxed)) {
      if (deadline && Clock::now() >= *deadline) break;
      Iterate(root);
      ++played_;
    }
  }

  const Node& At(std::uint32_t index) const { return nodes_[index]; }
  long Played() const { return played_; }
  long Nodes() const { return static_cast<long>(nodes_.size()); }

 private:
  // One descent from the root, a playout (or a proven or final result) at
  // its end, and the result carried back up.
  void Iterate(const SearchBoard& root) {
    SearchBoard board = root;
    path_.clear();
    path_.push_back(0);
    std::uint32_t at = 0;
    double result = 0.5;  // for the side to move at the root
    for (;;) {
      const int to_move = board.ToMove();
      if (board.Over()) {
        if (board.Winner() >= 0) Prove(at, board.Winner() == to_move, 0);
        result = board.Winner() == 0 ? 1.0 : board.Winner() < 0 ? 0.5 : 0.0;
        break;
      }
      if (nodes_[at].proof != 0) {
        const bool to_move_wins = nodes_[at].proof > 0;
        result = (to_move == 0) == to_move_wins ? 1.0 : 0.0;
        break;
      }
      if (!nodes_[at].expanded) {
        if (nodes_[at].visits < kExpandAfter) {
          result =
              (1.0 - kBlockerShare) * playouts_.Play(board) + kBlockerShare * BlockerOdds(board);
          break;
        }
        Expand(at, board, false);
        continue;  // a proof found there is read above
      }
      if (nodes_[at].child_count == 0) break;  // no cell left: a draw
      at = Select(at);
      board.PlayTurn(nodes_[at].cell);
      path_.push_back(at);
    }
    Backup(result);
  }

  // Makes the node's turns with their prior odds, and proves what the
  // board decides. The root's turns are made even when it is decided, so
  // that there is a turn to play.
  void Expand(std::uint32_t at, const SearchBoard& board, bool root) {
    nodes_[at].expanded = true;
    if (const std::optional<Proof> decided = board.Decided()) {
      nodes_[at].proof = decided->win ? 1 : -1;
      nodes_[at].proof_turns = static_cast<std::uint8_t>(decided->turns);
      if (!root) return;
    }
    // Each turn with its piece cell's weight, weighed once; the likeliest
    // turns first, so that equal values favour them.
    struct Weighed {
      int cell;
      int weight;
    };
    std::vector<Weighed> turns;
    for (const int cell : board.Turns())
      turns.push_back({cell, board.CellWeight(cell)});
    std::stable_sort(turns.begin(), turns.end(),
                     [](const Weighed& a, const Weighed& b) { return a.weight > b.weight; });
    const auto first = static_cast<std::uint32_t>(nodes_.size());
    const int best = turns.empty() ? 0 : turns.front().weight;
    double total = 0;
    for (std::size_t n = 0; n < turns.size(); ++n) {
      Node child;
      child.cell = static_cast<std::uint8_t>(turns[n].cell);
      child.prior = static_cast<float>(std::exp((turns[n].weight - best) / kPriorTemperature));
      total += child.prior;
      // The opponent cannot close the winning cells this turn makes.
      if (board.TurnForcesWin(turns[n].cell)) {
        child.proof = -1;
        child.proof_turns = 2;
      }
      nodes_.push_back(child);
    }
    const std::optional<int> likely = RulesOfThumbCell(board);
    for (std::size_t n = 0; n < turns.size(); ++n) {
      Node& child = nodes_[first + n];
      const double share = child.cell == likely ? kRulesOfThumbPrior : 0.0;
      child.prior = static_cast<float>((1.0 - kRulesOfThumbPrior) * child.prior / total + share);
    }
    nodes_[at].first_child = first;
    nodes_[at].child_count = static_cast<std::uint8_t>(turns.size());
    if (nodes_[at].proof == 0) UpdateProof(at);
  }

  // The piece cell of the turn the rules of thumb play here, when it is one
  // of the node's turns (their blockers close the same cells).
  std::optional<int> RulesOfThumbCell(const SearchBoard& board) {
    const std::optional<std::vector<Move>> turn =
        playouts_.RulesOfThumbTurn(board, board.ToPosition(), CpuStrength::VeryHard);
    if (!turn) return std::nullopt;
    return turn->back().cell;
  }

  // The chance that the side to move at the root wins the war of blockers
  // with the blockers left at the leaf: even at equal stocks, nearly three
  // to one with one more.
  static double BlockerOdds(const SearchBoard& board) {
    return 1.0 / (1.0 + std::exp(-(board.Blockers(0) - board.Blockers(1))));
  }

  // PUCT over the node's turns, from the side to move's view; a turn to a
  // proven loss of the opponent is taken at once, one to its proven win
  // only when nothing else is left.
  std::uint32_t Select(std::uint32_t at) const {
    const Node& node = nodes_[at];
    const double parent_value = node.visits > 0 ? 1.0 - node.score / node.visits : 0.5;
    const double first_visit = parent_value - kFirstVisitPenalty;
    const double spread = kPriorWeight * std::sqrt(static_cast<double>(node.visits) + 1.0);
    std::uint32_t best = node.first_child;
    double best_value = -std::numeric_limits<double>::infinity();
    for (std::uint32_t c = node.first_child; c < node.first_child + node.child_count; ++c) {
      const Node& child = nodes_[c];
      if (child.proof < 0) return c;
      if (child.proof > 0) continue;
      const double q = child.visits > 0 ? child.score / child.visits : first_visit;
      const double value = q + spread * child.prior / (1.0 + child.visits);
      if (value > best_value) {
        best_value = value;
        best = c;
      }
    }
    return best;
  }

  void Backup(double result) {
    for (std::size_t depth = 0; depth < path_.size(); ++depth) {
      Node& node = nodes_[path_[depth]];
      // The root's mover moved into the nodes of odd depth.
      const bool root_mover_moved_in = depth % 2 == 1;
      node.score += static_cast<float>(root_mover_moved_in ? result : 1.0 - result);
      ++node.visits;
    }
    for (std::size_t depth = path_.size() - 1; depth > 0; --depth) {
      if (nodes_[path_[depth]].proof == 0) break;
      const std::int8_t before = nodes_[path_[depth - 1]].proof;
      UpdateProof(path_[depth - 1]);
      if (nodes_[path_[depth - 1]].proof == before) break;
    }
  }

  void Prove(std::uint32_t at, bool win, int turns) {
    nodes_[at].proof = win ? 1 : -1;
    nodes_[at].proof_turns = static_cast<std::uint8_t>(turns);
  }

  // A node wins when one of its turns leads to the opponent's proven loss
  // (the quickest counts) and loses when every turn leads to the opponent's
  // proven win (the slowest counts).
  void UpdateProof(std::uint32_t at) {
    Node& node = nodes_[at];
    if (node.proof != 0 || node.child_count == 0) return;
    int quickest_win = std::numeric_limits<int>::max();
    int slowest_loss = -1;
    bool all_lose = true;
    for (std::uint32_t c = node.first_child; c < node.first_child + node.child_count; ++c) {
      const Node& child = nodes_[c];
      if (child.proof < 0) quickest_win = std::min<int>(quickest_win, child.proof_turns + 1);
      if (child.proof > 0) {
        slowest_loss = std::max<int>(slowest_loss, child.proof_turns + 1);
      } else {
        all_lose = false;
      }
    }
    if (quickest_win != std::numeric_limits<int>::max()) {
      Prove(at, true, quickest_win);
    } else if (all_lose) {
      Prove(at, false, slowest_loss);
    }
  }

  std::vector<Node> nodes_;
  std::vector<std::uint32_t> path_;
  Playouts playouts_;
  long played_ = 0;
};

int CoreCount() {
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

namespace {

// The position with `mover` to move: the search always asks for the side
// whose turn it is.
Position WithMover(Position position, Side mover) {
  position.HandMoveTo(mover);
  return position;
}

}  // namespace

SearchJob::SearchJob(const Position& position, Side mover, const SearchLimits& limits)
    : root_(WithMover(position, mover), mover), limits_(limits), start_(Clock::now()) {
  const int workers = limits.threads > 0 ? limits.threads : CoreCount();
  if (limits.time) deadline_ = start_ + *limits.time;
  for (int w = 0; w < workers; ++w)
    trees_.push_back(std::make_unique<Tree>(root_, WorkerSeed(limits.seed, w)));
}

SearchJob::~SearchJob() = default;

void SearchJob::Work(int worker, const std::atomic<bool>& stop) {
  // The budget is split among the workers, the first ones taking the rest.
  const long total = limits_.playouts.value_or(std::numeric_limits<long>::max());
  const long share = total / Workers() + (worker < total % Workers() ? 1 : 0);
  trees_[static_cast<std::size_t>(worker)]->Grow(root_, share, deadline_, stop);
}

SearchResult SearchJob::Result(bool stopped) const {
  SearchResult result;
  result.threads = Workers();
  result.stopped = stopped;
  const Node& root = trees_[0]->At(0);
  result.candidates = root.child_count;
  std::optional<Proof> root_proof;
  for (const auto& tree : trees_) {
    result.playouts += tree->Played();
    result.nodes += tree->Nodes();
    const Node& r = tree->At(0);
    if (r.proof != 0) root_proof = Proof{r.proof > 0, r.proof_turns};
  }
  for (std::uint32_t c = root.first_child; c < root.first_child + root.child_count; ++c) {
    WeighedTurn weighed;
    weighed.turn = root_.TurnFor(trees_[0]->At(c).cell);
    for (const auto& tree : trees_) {
      const Node& child = tree->At(c);
      weighed.visits += child.visits;
      weighed.score += child.score;
      // The child's proof is for the opponent, who moves there.
      if (child.proof != 0) weighed.proof = Proof{child.proof < 0, child.proof_turns + 1};
    }
    result.weighed.push_back(std::move(weighed));
  }
  if (result.weighed.empty()) {
    result.elapsed = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start_);
    return result;
  }

  // A proven win, the quickest; else the most visited turn not proven
  // lost; else (every turn loses) the slowest loss.
  auto better = [](const WeighedTurn& a, const WeighedTurn& b) {
    const int a_rank = a.proof ? (a.proof->win ? 2 : 0) : 1;
    const int b_rank = b.proof ? (b.proof->win ? 2 : 0) : 1;
    if (a_rank != b_rank) return a_rank > b_rank;
    if (a_rank == 2 && a.proof->turns != b.proof->turns) return a.proof->turns < b.proof->turns;
    if (a_rank == 0 && a.proof->turns != b.proof->turns) return a.proof->turns > b.proof->turns;
    if (a.visits != b.visits) return a.visits > b.visits;
    return a.score > b.score;
  };
  std::size_t chosen = 0;
  for (std::size_t n = 1; n < result.weighed.size(); ++n) {
    if (better(result.weighed[n], result.weighed[chosen])) chosen = n;
  }
  const WeighedTurn& best = result.weighed[chosen];
  result.turn = best.turn;
  result.proof = best.proof ? best.proof : root_proof;
  result.value = result.proof ? (result.proof->win ? 1.0 : 0.0) : best.Mean();
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
  SearchResult result = job.Result(stop.load());
  // The search's own move generator is checked against the rules in debug
  // builds.
  assert(AreLegalInOrder(position, result.turn));
  return result;
}

}  // namespace vexa
