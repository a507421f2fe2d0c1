#include "cpu/playout.h"

namespace vexa {

namespace {

bool NoTurnLeft(const SearchBoard& board, const Position& position) {
  const int me = board.ToMove();
  // A crowded board (a tool's set-up, never a real game, which leaves at
  // least 65 cells empty): the blockers could fill the last cells, and the
  // rules of thumb would draw for a cell that is not there. Nor does a
  // real game hand the move to a side without a piece, which a set-up
  // with uneven piece stocks does: no turn of it would be legal.
  return position.EmptyCells() <= board.Blockers(me) || position.Pieces(board.SideAt(me)) <= 0;
}

}  // namespace

std::optional<std::vector<Move>> Playouts::RulesOfThumbTurn(const SearchBoard& board,
                                                            const Position& position,
                                                            CpuStrength strength) {
  if (NoTurnLeft(board, position)) return std::nullopt;
  return chooser_.Choose(position, board.SideAt(board.ToMove()), strength, cells_);
}

double Playouts::Play(SearchBoard board) {
  Position position = board.ToPosition();
  while (!board.Over()) {
    if (NoTurnLeft(board, position)) {
      board.EndByBlockers();
      break;
    }
    std::vector<Move> turn;
    if (random_.Unit() < kRulesOfThumbShare) {
      const CpuStrength strength = random_.Unit() < 0.5 ? CpuStrength::VeryHard : CpuStrength::Hard;
      turn = *RulesOfThumbTurn(board, position, strength);
    } else {
      turn = board.TurnFor(board.DrawTurn(random_));
    }
    board.PlayMoves(turn);
    for (const Move& move : turn)
      position.Play(move);
  }
  return board.Winner() == 0 ? 1.0 : board.Winner() < 0 ? 0.5 : 0.0;
}

}  // namespace vexa
