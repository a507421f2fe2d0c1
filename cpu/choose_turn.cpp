#include "cpu/choose_turn.h"

#include <array>
#include <bitset>
#include <cassert>

#include "core/squares_through.h"

namespace vexa {

namespace {

// The other two corners of each square that has both cells of a pair as
// corners: two squares beside an edge, one on a diagonal.
struct OtherTwo {
  std::uint8_t k;
  std::uint8_t l;
};

// The squares of the pair (i, j), i < j, are corners[first[i * 121 + j]]
// up to corners[first[i * 121 + j + 1]].
struct PairSquares {
  std::array<std::uint16_t, kCellCount * kCellCount + 1> first{};
  std::array<OtherTwo, 6 * squares_detail::kSquareCount> corners{};
};

constexpr PairSquares BuildPairSquares() {
  PairSquares table;
  int next = 0;
  for (int i = 0; i < kCellCount; ++i) {
    for (int j = 0; j < kCellCount; ++j) {
      table.first[i * kCellCount + j] = static_cast<std::uint16_t>(next);
      if (j <= i) continue;
      const auto& squares = squares_detail::kTable;
      for (int e = squares.first[i]; e < squares.first[i + 1]; ++e) {
        const OtherThree s = squares.entries[e];
        if (s.a == j) table.corners[next++] = {s.b, s.c};
        if (s.b == j) table.corners[next++] = {s.a, s.c};
        if (s.c == j) table.corners[next++] = {s.a, s.b};
      }
    }
  }
  table.first[kCellCount * kCellCount] = static_cast<std::uint16_t>(next);
  return table;
}

constexpr PairSquares kPairSquares = BuildPairSquares();

}  // namespace

int DrawRandomCell(const BoardCells& board, CellSource& random) {
  for (;;) {
    const int cell = random.DrawCell();
    if (IsPlayableCell(cell) && board[cell] == Empty) return cell;
  }
}

std::optional<int> InnerExtensionCell(const BoardCells& board, Side side) {
  // The last qualifying piece in index order wins; only the cell to the right
  // is considered.
  std::optional<int> found;
  for (int cell = 0; cell < kCellCount; ++cell) {
    if (board[cell] == side && IsInnerBlockCell(cell) && IsPlayableCell(cell + 2) &&
        board[cell + 2] == Empty) {
      found = cell + 2;
    }
  }
  return found;
}

// Every placement of the rules of thumb is one the rules allow; debug builds
// check it where it is made.
void TurnChooser::PlaceBlocker(int cell) {
  assert(scratch_.IsLegal(BlockerMove(me_, cell)));
  scratch_.Play(BlockerMove(me_, cell));
  turn_.push_back(BlockerMove(me_, cell));
}

void TurnChooser::PlacePiece(int cell) {
  assert(scratch_.IsLegal(PieceMove(me_, cell)));
  scratch_.Play(PieceMove(me_, cell));
  turn_.push_back(PieceMove(me_, cell));
}

bool TurnChooser::BlockReaches() {
  const CellList& reach = lists_.ReachList(them_);
  while (!reach.Empty()) {
    const int cell = reach.First();
    if (scratch_.Blockers(me_) <= 0) {
      // Out of blockers: the piece covers the first open cell, the others
      // stay open.
      PlacePiece(cell);
      return true;
    }
    // A blocker takes away the cell it stands on and can open none, so the
    // loop ends after six blockers at most. The other reach cells keep
    // their squares, so the list stays as it was without this one (its
    // pre-reach part is listed again when it is needed).
    PlaceBlocker(cell);
    lists_.ReachList(them_).RemoveFirst();
  }
  return false;
}

std::vector<Move> TurnChooser::Choose(const Position& position, Side me, CpuStrength strength,
                                      CellSource& random) {
  me_ = me;
  them_ = position.Opponent(me);
  scratch_ = position;
  turn_.clear();

  ListReaches(me_, scratch_, lists_);
  if (!lists_.ReachList(me_).Empty()) {
    if (strength != CpuStrength::Easy) {
      PlacePiece(lists_.ReachList(me_).First());
    } else {
      // "Easy" leaves its own winning cell alone and only defends.
      ListReaches(them_, scratch_, lists_, PreReachScope::First);
      if (!BlockReaches()) PlacePiece(DrawRandomCell(scratch_.Board(), random));
    }
    return turn_;
  }

  // Of the opponent's pre-reach cells only the first matters, but for a
  // look-ahead that lists them again.
  ListReaches(them_, scratch_, lists_, PreReachScope::First);
  const CellList& their_reach = lists_.ReachList(them_);
  bool placed = false;
  if (strength != CpuStrength::Easy && their_reach.Count() == 1) {
    // One open cell: a blocker keeps the piece free for the own preparation;
    // with nothing to prepare, or no blocker, the piece covers it.
    const int cell = their_reach.First();
    if (!lists_.PreReachList(me_).Empty() && scratch_.Blockers(me_) > 0) {
      PlaceBlocker(cell);
    } else {
      PlacePiece(cell);
      placed = true;
    }
  } else {
    placed = BlockReaches();
  }
  if (placed) return turn_;

  // The lists must describe the board with this turn's blockers.
  const bool blocked = scratch_.Blockers(me_) != position.Blockers(me);
  if (blocked) ListReaches(me_, scratch_, lists_);
  PlacePiece(ChoosePieceCell(strength, random, blocked));
  return turn_;
}

int TurnChooser::ChoosePieceCell(CpuStrength strength, CellSource& random, bool their_lists_stale) {
  const CellList& own_pre_reach = lists_.PreReachList(me_);
  const bool hard = strength >= CpuStrength::Hard;

  if (!own_pre_reach.Empty()) return hard ? MostReachesLookAhead() : own_pre_reach.First();

  if (their_lists_stale) ListReaches(them_, scratch_, lists_, PreReachScope::First);
  const CellList& their_pre_reach = lists_.PreReachList(them_);
  if (!their_pre_reach.Empty()) {
    if (!hard) return DrawRandomCell(scratch_.Board(), random);
    const LookAheadChoice choice = FewestOpposingReachesLookAhead();
    if (strength == CpuStrength::VeryHard && choice.score == 0) {
      if (const std::optional<int> extension = InnerExtensionCell(scratch_.Board(), me_))
        return *extension;
    }
    return choice.cell;
  }

  if (!hard) return DrawRandomCell(scratch_.Board(), random);
  const int drawn = DrawRandomInnerCell(random);
  if (strength == CpuStrength::VeryHard) {
    if (const std::optional<int> extension = InnerExtensionCell(scratch_.Board(), me_))
      return *extension;
  }
  return drawn;
}

int TurnChooser::MostReachesLookAhead() {
  // A piece on an empty cell keeps every reach cell but that cell and adds
  // the other empty corner of each square with the side's pieces on two
  // corners and that cell and one more empty: the reach list of the board
  // with that piece, counted without listing it. Each such square is found
  // once, from its pair of the side's pieces.
  for (const int cell : lists_.PreReachList(me_))
    opened_by_[cell].reset();
  std::uint8_t pieces[kCellCount];
  const int count = scratch_.PiecesOf(me_).Members(pieces);
  for (int p = 0; p < count; ++p) {
    const int row_start = pieces[p] * kCellCount;
    for (int q = p + 1; q < count; ++q) {
      const int pair = row_start + pieces[q];
      const int end = kPairSquares.first[pair + 1];
      for (int c = kPairSquares.first[pair]; c < end; ++c) {
        const int k = kPairSquares.corners[c].k;
        const int l = kPairSquares.corners[c].l;
        if (scratch_.Board()[k] != Empty || scratch_.Board()[l] != Empty) continue;
        opened_by_[k].set(static_cast<std::size_t>(l));
        opened_by_[l].set(static_cast<std::size_t>(k));
      }
    }
  }
  std::bitset<kCellCount> reach;
  for (const int cell : lists_.ReachList(me_))
    reach.set(static_cast<std::size_t>(cell));

  const CellList& candidates = lists_.PreReachList(me_);
  int chosen = candidates.First();
  int best = 0;
  for (const int cell : candidates) {
    std::bitset<kCellCount> after = reach | opened_by_[cell];
    after.reset(static_cast<std::size_t>(cell));
    // Every candidate opens at least one reach cell; a later one that opens
    // as many as the best so far replaces it.
    const int score = static_cast<int>(after.count());
    if (score >= 1 && score >= best) {
      chosen = cell;
      best = score;
    }
  }
  return chosen;
}

TurnChooser::LookAheadChoice TurnChooser::FewestOpposingReachesLookAhead() {
  // A piece of this side only takes reach cells from the opponent: with none
  // open, every candidate leaves none and the first one stands.
  if (lists_.ReachList(them_).Empty()) return {lists_.PreReachList(them_).First(), 0};
  ListReaches(them_, scratch_, lists_);  // every candidate, not the first alone
  const CellList& candidates = lists_.PreReachList(them_);
  LookAheadChoice choice{candidates.First(), kCellCount};
  for (const int cell : candidates) {
    Position trial = scratch_;
    trial.Play(PieceMove(me_, cell));
    ListReaches(them_, trial, trial_lists_);
    // Only a strictly lower count replaces the choice: the earlier wins ties.
    const int score = trial_lists_.ReachList(them_).Count();
    if (score < choice.score) choice = {cell, score};
  }
  return choice;
}

int TurnChooser::DrawRandomInnerCell(CellSource& random) const {
  int empty_draws = 0;
  for (;;) {
    const int cell = random.DrawCell();
    if (IsPlayableCell(cell) && scratch_.Board()[cell] == Empty) {
      ++empty_draws;
      if (IsInnerBlockCell(cell) || empty_draws > kInnerDrawPatience) return cell;
    }
  }
}

}  // namespace vexa
