#include "cpu/reach_lists.h"

#include <cstdint>

#include "core/square_geometry.h"

namespace vexa {

namespace {

// The two other corners k and l of a candidate square of a pair (i, j).
struct OtherCorners {
  std::uint8_t k;
  std::uint8_t l;
};

// Calls emit(k, l) for each candidate square of the pair (i, j), i < j, that
// is a true square on the board with the corners it needs playable, in the
// order the enumeration examines them. Which candidates pass depends on the
// geometry only, never on the board's contents.
template <typename Emit>
constexpr void ForEachCandidate(int i, int j, Emit emit) {
  const int dc = Column(j) - Column(i);
  const int d = j - i;
  const int shift = OppositeEdgeShift(i, j);

  // A square on either side of the edge i-j.
  auto side_square = [&](int k, int l) {
    if (IsTrueSquare(i, j, l, k)) emit(k, l);
  };

  if (dc <= 0) {
    // j lies in a later row, in the same column or to the left.
    side_square(i + shift, j + shift);  // towards larger rows (columns when upright)
    side_square(i - shift, j - shift);
    if (d % 10 == 0 && d / 10 >= 1 && d / 10 <= 8) {
      // j is m rows down and m columns left: the upright square with
      // diagonal i-j.
      const int m = d / 10;
      if (IsPlayableCell(i - m) && IsPlayableCell(j + m)) emit(i - m, j + m);
    }
    if (d % kBoardSize == 0 && d / kBoardSize % 2 == 0) {
      // j is straight below i by an even number of rows: the square turned
      // by 45 degrees with the vertical diagonal i-j.
      const int h = d / kBoardSize / 2;
      const int k = i + kBoardSize * h - h;
      const int l = i + kBoardSize * h + h;
      if (IsPlayableCell(k) && IsPlayableCell(l)) {
        if (EqualSides(i, l, j, k)) emit(k, l);
      }
    }
  } else {
    // j lies to the right, in the same row or a later one.
    side_square(i + shift, j + shift);  // towards larger rows
    side_square(i - shift, j - shift);
    if (d % 12 == 0 && d / 12 >= 1 && d / 12 <= 8) {
      // j is m rows down and m columns right: the upright square with
      // diagonal i-j.
      const int m = d / 12;
      if (IsPlayableCell(i + m) && IsPlayableCell(j - m)) emit(i + m, j - m);
    }
  }
}

constexpr int CountCandidates() {
  int count = 0;
  for (int i = 0; i < kCellCount; ++i) {
    for (int j = i + 1; j < kCellCount; ++j)
      ForEachCandidate(i, j, [&](int, int) { ++count; });
  }
  return count;
}

constexpr int kCandidateCount = CountCandidates();

// The candidates of the pair (i, j) are corners[first[i * 121 + j]] up to
// corners[first[i * 121 + j + 1]].
struct CandidateTable {
  std::array<std::uint16_t, kCellCount * kCellCount + 1> first{};
  std::array<OtherCorners, kCandidateCount> corners{};
};

constexpr CandidateTable BuildCandidateTable() {
  CandidateTable table;
  int next = 0;
  for (int i = 0; i < kCellCount; ++i) {
    for (int j = 0; j < kCellCount; ++j) {
      table.first[i * kCellCount + j] = static_cast<std::uint16_t>(next);
      if (j <= i) continue;
      ForEachCandidate(i, j, [&](int k, int l) {
        table.corners[next++] = {static_cast<std::uint8_t>(k), static_cast<std::uint8_t>(l)};
      });
    }
  }
  table.first[kCellCount * kCellCount] = static_cast<std::uint16_t>(next);
  return table;
}

static_assert(kCandidateCount < 65536, "candidate offsets are 16-bit");

// Built by the compiler: immutable, shared by every program instance.
constexpr CandidateTable kCandidates = BuildCandidateTable();

// The enumeration, with the scope fixed at compile time so that the loop
// tests nothing for it.
template <PreReachScope scope>
void Enumerate(Side side, const BoardCells& board, const CellSet& own, ReachLists& lists) {
  CellList& reach = lists.ReachList(side);
  CellList& pre_reach = lists.PreReachList(side);
  reach.Clear();
  pre_reach.Clear();

  std::uint8_t pieces[kCellCount];
  const int count = own.Members(pieces);

  for (int p = 0; p < count; ++p) {
    const int row_start = pieces[p] * kCellCount;
    for (int q = p + 1; q < count; ++q) {
      const int pair = row_start + pieces[q];
      const int end = kCandidates.first[pair + 1];
      for (int c = kCandidates.first[pair]; c < end; ++c) {
        const int k = kCandidates.corners[c].k;
        const int l = kCandidates.corners[c].l;
        const int at_k = board[k];
        const int at_l = board[l];
        // Three corners held: the empty one completes the square. Two held,
        // two empty: both empty corners prepare it. A complete square, or a
        // blocker or another side's piece on k or l, adds nothing.
        if (at_k == side) {
          if (at_l == Empty) reach.Add(l);
        } else if (at_k == Empty) {
          if (at_l == side) {
            reach.Add(k);
          } else if (at_l == Empty) {
            if constexpr (scope == PreReachScope::All) {
              pre_reach.Add(k);
              pre_reach.Add(l);
            } else if (pre_reach.Empty()) {
              pre_reach.Add(k);
            }
          }
        }
      }
    }
  }
}

void ListFrom(Side side, const BoardCells& board, const CellSet& own, ReachLists& lists,
              PreReachScope scope) {
  if (scope == PreReachScope::All) {
    Enumerate<PreReachScope::All>(side, board, own, lists);
  } else {
    Enumerate<PreReachScope::First>(side, board, own, lists);
  }
}

}  // namespace

void ListReaches(Side side, const BoardCells& board, ReachLists& lists, PreReachScope scope) {
  ListFrom(side, board, CellsHolding(board, side), lists, scope);
}

void ListReaches(Side side, const Position& position, ReachLists& lists, PreReachScope scope) {
  ListFrom(side, position.Board(), position.PiecesOf(side), lists, scope);
}

}  // namespace vexa
