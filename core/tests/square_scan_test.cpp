#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "core/square_scan.h"

namespace vexa {
namespace {

BoardCells WithPieces(std::initializer_list<int> cells, Side side = Player1) {
  BoardCells board{};
  for (int c : cells)
    board[c] = side;
  return board;
}

std::set<int> CornerSet(const SquareCorners& s) {
  return {s.i, s.L, s.C2, s.C1};
}

TEST(SquareScan, UprightUnitSquareIsFoundFromItsTopPairOnly) {
  const auto found = ScanSquares(WithPieces({12, 13, 23, 24}), Player1);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0], (SquareCorners{12, 13, 24, 23}));
}

TEST(SquareScan, TiltedSquareIsFoundFromTwoPairs) {
  const auto found = ScanSquares(WithPieces({13, 23, 35, 25}), Player1);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(CornerSet(found[0]), (std::set<int>{13, 23, 25, 35}));
  EXPECT_EQ(CornerSet(found[1]), (std::set<int>{13, 23, 25, 35}));
}

TEST(SquareScan, RejectsWhatIsNoSquareOfTheSide) {
  // Corners carried over the right edge: (21, 31) gives 33 and 43.
  EXPECT_TRUE(ScanSquares(WithPieces({21, 31, 33, 43}), Player1).empty());
  // Three corners and a blocker.
  BoardCells board = WithPieces({12, 13, 23});
  board[24] = Blocker;
  EXPECT_TRUE(ScanSquares(board, Player1).empty());
  // Another side's square.
  EXPECT_TRUE(ScanSquares(WithPieces({12, 13, 23, 24}, Player2), Player1).empty());
  // A corner cell never takes part, even when it holds the side's value.
  EXPECT_TRUE(ScanSquares(WithPieces({0, 1, 11, 12}), Player1).empty());
}

// The geometric truth: every square on the grid with four playable corners,
// found without the judge's index arithmetic.
std::map<std::set<int>, bool> AllTrueSquares() {
  std::map<std::set<int>, bool> squares;  // corner set -> is upright
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      for (int dx = 1; dx < kBoardSize; ++dx) {
        for (int dy = 0; dy < kBoardSize; ++dy) {
          // Corners p, p+(dx,dy), p+(dx-dy,dy+dx), p+(-dy,dx).
          const int cols[4] = {c, c + dx, c + dx - dy, c - dy};
          const int rows[4] = {r, r + dy, r + dy + dx, r + dx};
          std::set<int> corners;
          bool inside = true;
          for (int k = 0; k < 4; ++k) {
            if (cols[k] < 0 || cols[k] >= kBoardSize || rows[k] < 0 || rows[k] >= kBoardSize) {
              inside = false;
            } else if (!IsPlayableCell(rows[k] * kBoardSize + cols[k])) {
              inside = false;
            } else {
              corners.insert(rows[k] * kBoardSize + cols[k]);
            }
          }
          if (inside) squares[corners] = dy == 0;
        }
      }
    }
  }
  return squares;
}

TEST(SquareScan, AcceptsExactlyTheTrueSquaresWithPlayableCorners) {
  const auto truth = AllTrueSquares();
  ASSERT_EQ(truth.size(), 1173u);
  EXPECT_EQ(std::count_if(truth.begin(), truth.end(), [](auto& s) { return s.second; }), 348);

  // A board full of the side's pieces: the scan must name every true square
  // and nothing else, each as often as its size says.
  BoardCells full;
  full.fill(Player1);
  std::map<std::set<int>, int> accepted;
  for (const auto& s : ScanSquares(full, Player1))
    ++accepted[CornerSet(s)];
  ASSERT_EQ(accepted.size(), truth.size());
  int unit = 0;
  for (const auto& [corners, times] : accepted) {
    ASSERT_TRUE(truth.count(corners)) << "not a square";
    int shortest = 1000;
    for (int x : corners) {
      for (int y : corners) {
        if (x != y) shortest = std::min(shortest, DistanceSquared(x, y));
      }
    }
    const bool length_one = shortest == 1;
    unit += length_one ? 1 : 0;
    EXPECT_EQ(times, length_one ? 1 : 2);
  }
  EXPECT_EQ(unit, 96);
}

TEST(SquareScan, EachTrueSquareAloneOnTheBoardIsFound) {
  for (const auto& [corners, upright] : AllTrueSquares()) {
    BoardCells board{};
    for (int c : corners)
      board[c] = Cpu;
    const auto found = ScanSquares(board, Cpu);
    ASSERT_FALSE(found.empty());
    for (const auto& s : found)
      EXPECT_EQ(CornerSet(s), corners);
  }
}

}  // namespace
}  // namespace vexa
