#include "cpu/search_board.h"

#include <algorithm>
#include <cmath>

namespace vexa {

namespace {

using search_detail::kSquares;

// What a square the side can still complete is worth to each of its empty
// corners, by the side's pieces on it: a square with two pieces is one
// piece away from a winning cell, and two such squares through one cell
// make two winning cells at once.
constexpr std::array<std::int32_t, 4> kSquareWorth = {1, 5, 30, 30};
// A cell's weight: what it furthers of the mover's own squares and what it
// takes of the opponent's, in these proportions.
constexpr std::int32_t kAttack = 3;
constexpr std::int32_t kDefence = 2;
// The softmax's temperature in units of weight: a cell worth this much
// more than another is drawn e times as often.
constexpr double kTemperature = 12.0;
constexpr int kExpTableSize = 4096;

std::span<const std::uint16_t> SquaresAt(int cell) {
  return {kSquares.ids.data() + kSquares.first[cell],
          kSquares.ids.data() + kSquares.first[cell + 1]};
}

const std::array<double, kExpTableSize>& ExpTable() {
  static const std::array<double, kExpTableSize> table = [] {
    std::array<double, kExpTableSize> t{};
    for (int d = 0; d < kExpTableSize; ++d)
      t[static_cast<std::size_t>(d)] = std::exp(-d / kTemperature);
    return t;
  }();
  return table;
}

}  // namespace

SearchBoard::SearchBoard(const Position& position, Side me) {
  const Side them = position.Opponent(me);
  sides_ = {me, them};
  const BoardCells& board = position.Board();
  for (int cell = 0; cell < kCellCount; ++cell) {
    const std::int16_t value = board[cell];
    std::uint8_t mine = kBlocker;
    if (!IsPlayableCell(cell))
      mine = kCorner;
    else if (value == Empty)
      mine = kEmpty;
    else if (value == me)
      mine = 1;
    else if (value == them)
      mine = 2;
    cells_[cell] = mine;
    if (mine == kEmpty) empty_.Add(cell);
  }
  for (int side = 0; side < 2; ++side) {
    pieces_[side] = std::max(0, position.Pieces(sides_[side]));
    blockers_[side] = std::max(0, position.Blockers(sides_[side]));
  }
  to_move_ = position.ToMove() == me ? 0 : 1;
  for (int q = 0; q < squares_detail::kSquareCount; ++q) {
    for (const int cell : kSquares.corners[q]) {
      if (cells_[cell] == 1) ++count_[0][q];
      if (cells_[cell] == 2) ++count_[1][q];
      if (cells_[cell] == kBlocker) ++blocked_[q];
    }
    for (int side = 0; side < 2; ++side) {
      if (!Alive(side, q)) continue;
      for (const int cell : kSquares.corners[q]) {
        weight_[side][cell] += kSquareWorth[std::min<int>(count_[side][q], 3)];
        if (count_[side][q] == 3 && cells_[cell] == kEmpty) reach_[side].Add(cell);
      }
    }
  }
}

std::optional<Proof> SearchBoard::Decided() const {
  const int me = to_move_;
  const int them = 1 - me;
  if (!reach_[me].Empty()) return Proof{true, 1};
  if (pieces_[them] > 0 && reach_[them].Count() > blockers_[me] + 1) return Proof{false, 2};
  return std::nullopt;
}

std::vector<int> SearchBoard::Turns() const {
  const int me = to_move_;
  const int them = 1 - me;
  std::uint8_t cells[kCellCount];
  if (!reach_[me].Empty()) {
    reach_[me].Members(cells);
    return {cells[0]};
  }
  // An opponent without a turn to come has no winning cell worth closing.
  const bool closing = pieces_[them] > 0;
  const int open = closing ? reach_[them].Count() : 0;
  if (open > blockers_[me]) {
    reach_[them].Members(cells);
    if (open > blockers_[me] + 1) return {cells[blockers_[me]]};
    return {cells, cells + open};
  }
  const int count = empty_.Members(cells);
  return {cells, cells + count};
}

int SearchBoard::BlockedBy(int piece_cell, std::uint8_t* out) const {
  const int me = to_move_;
  // An opponent without a turn to come has no winning cell worth closing,
  // and with a winning cell of its own the mover just takes it.
  if (!reach_[me].Empty() || pieces_[1 - me] == 0) return 0;
  std::uint8_t open[kCellCount];
  const int count = reach_[1 - me].Members(open);
  int blocked = 0;
  for (int n = 0; n < count && blocked < blockers_[me]; ++n) {
    if (open[n] != piece_cell) out[blocked++] = open[n];
  }
  return blocked;
}

std::vector<Move> SearchBoard::TurnFor(int piece_cell) const {
  const Side side = sides_[to_move_];
  std::uint8_t blocked[kCellCount];
  const int count = BlockedBy(piece_cell, blocked);
  std::vector<Move> turn;
  for (int n = 0; n < count; ++n)
    turn.push_back(BlockerMove(side, blocked[n]));
  turn.push_back(PieceMove(side, piece_cell));
  return turn;
}

void SearchBoard::PlayTurn(int piece_cell) {
  const int me = to_move_;
  std::uint8_t blocked[kCellCount];
  const int count = BlockedBy(piece_cell, blocked);
  for (int n = 0; n < count; ++n)
    PlaceBlocker(me, blocked[n]);
  PlacePiece(me, piece_cell);
}

bool SearchBoard::TurnForcesWin(int piece_cell) const {
  const int me = to_move_;
  const int them = 1 - me;
  // Both must have a turn to come: the opponent's, then the mover's.
  if (pieces_[them] == 0 || pieces_[me] < 2 || !reach_[me].Empty()) return false;
  const CellSet& closed = reach_[them];
  if (closed.Count() > blockers_[me] + 1) return false;  // one stays open
  CellSet made;
  for (const std::uint16_t q : SquaresAt(piece_cell)) {
    if (!Alive(me, q) || count_[me][q] != 2) continue;
    int open_corner = -1;
    bool blocked = false;
    for (const int cell : kSquares.corners[q]) {
      if (cell == piece_cell || cells_[cell] != kEmpty) continue;
      if (closed.Contains(cell)) blocked = true;
      open_corner = cell;
    }
    if (!blocked && open_corner >= 0) made.Add(open_corner);
  }
  return made.Count() > blockers_[them] + 1;
}

Position SearchBoard::ToPosition() const {
  BoardCells board{};
  for (int cell = 0; cell < kCellCount; ++cell) {
    const int v = cells_[cell];
    std::int16_t value = Empty;
    if (v == 1) value = sides_[0];
    if (v == 2) value = sides_[1];
    if (v == kBlocker) value = Blocker;
    board[cell] = value;
  }
  Stocks pieces{};
  Stocks blockers{};
  for (int side = 0; side < 2; ++side) {
    pieces[sides_[side] - 1] = static_cast<std::int16_t>(pieces_[side]);
    blockers[sides_[side] - 1] = static_cast<std::int16_t>(blockers_[side]);
  }
  return Position::SetUp(sides_[0], sides_[1], board, pieces, blockers, sides_[to_move_]);
}

void SearchBoard::PlayMoves(const std::vector<Move>& turn) {
  const int me = to_move_;
  for (const Move& move : turn) {
    if (move.kind == MoveKind::Blocker) {
      PlaceBlocker(me, move.cell);
    } else {
      PlacePiece(me, move.cell);
    }
  }
}

int SearchBoard::CellWeight(int cell) const {
  return kAttack * weight_[to_move_][cell] + kDefence * weight_[1 - to_move_][cell];
}

void SearchBoard::PlacePiece(int side, int cell) {
  const int other = 1 - side;
  const bool wins = reach_[side].Contains(cell);
  for (const std::uint16_t q : SquaresAt(cell)) {
    if (Alive(side, q)) {
      const int n = count_[side][q];
      const std::int32_t delta = kSquareWorth[n + 1 > 3 ? 3 : n + 1] - kSquareWorth[n];
      for (const int corner : kSquares.corners[q]) {
        weight_[side][corner] += delta;
        if (n + 1 == 3 && corner != cell && cells_[corner] == kEmpty) reach_[side].Add(corner);
      }
    }
    if (Alive(other, q)) {
      const std::int32_t worth = kSquareWorth[count_[other][q]];
      for (const int corner : kSquares.corners[q])
        weight_[other][corner] -= worth;
    }
    ++count_[side][q];
  }
  cells_[cell] = static_cast<std::uint8_t>(side + 1);
  empty_.Remove(cell);
  reach_[0].Remove(cell);
  reach_[1].Remove(cell);
  --pieces_[side];
  if (wins) {
    over_ = true;
    winner_ = side;
  } else if (pieces_[0] == 0 && pieces_[1] == 0) {
    EndByBlockers();
  }
  to_move_ = other;
}

void SearchBoard::PlaceBlocker(int side, int cell) {
  for (const std::uint16_t q : SquaresAt(cell)) {
    for (int t = 0; t < 2; ++t) {
      if (!Alive(t, q)) continue;
      const std::int32_t worth = kSquareWorth[count_[t][q]];
      for (const int corner : kSquares.corners[q])
        weight_[t][corner] -= worth;
    }
    ++blocked_[q];
  }
  cells_[cell] = kBlocker;
  empty_.Remove(cell);
  reach_[0].Remove(cell);
  reach_[1].Remove(cell);
  --blockers_[side];
}

int SearchBoard::DrawWeighted(const std::uint8_t* cells, int count, SearchRandom& random) const {
  std::int32_t weights[kCellCount];
  std::int32_t best = 0;
  for (int n = 0; n < count; ++n) {
    weights[n] = CellWeight(cells[n]);
    best = std::max(best, weights[n]);
  }
  const auto& table = ExpTable();
  double odds[kCellCount];
  double total = 0;
  for (int n = 0; n < count; ++n) {
    const int d = best - weights[n];
    total += d < kExpTableSize ? table[static_cast<std::size_t>(d)] : 0.0;
    odds[n] = total;
  }
  const double pick = random.Unit() * total;
  for (int n = 0; n < count; ++n) {
    if (pick < odds[n]) return cells[n];
  }
  return cells[count - 1];
}

int SearchBoard::DrawTurn(SearchRandom& random) const {
  const int me = to_move_;
  const int them = 1 - me;
  std::uint8_t cells[kCellCount];
  if (!reach_[me].Empty()) {
    reach_[me].Members(cells);
    return cells[0];
  }
  const int open = pieces_[them] > 0 ? reach_[them].Count() : 0;
  if (open > blockers_[me]) {
    reach_[them].Members(cells);
    if (open > blockers_[me] + 1) return cells[blockers_[me]];
    return DrawWeighted(cells, open, random);
  }
  return DrawWeighted(cells, empty_.Members(cells), random);
}

void SearchBoard::EndByBlockers() {
  over_ = true;
  winner_ = blockers_[0] > blockers_[1] ? 0 : blockers_[1] > blockers_[0] ? 1 : -1;
}

}  // namespace vexa
