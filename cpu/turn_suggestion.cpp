#include "turn_suggestion.h"

#include "cpu_player.h"
#include "reach_lists.h"
#include "silent_shell.h"

namespace vexa {

std::vector<Move> SuggestTurn(const BoardCells& board, const Stocks& pieces, const Stocks& blockers,
                              Side mover, Side opponent, CpuStrength strength, CellSource& random) {
  // The computer plays side 3 against side 1: the mover becomes side 3 and
  // its opponent side 1 in a game of its own.
  const auto relabel = [&](std::int16_t value) -> std::int16_t {
    if (value == mover) return Cpu;
    if (value == opponent) return Player1;
    return value;
  };
  BoardCells trial;
  for (int cell = 0; cell < kCellCount; ++cell)
    trial[cell] = relabel(board[cell]);
  Stocks trial_pieces{kPiecesPerSide, kPiecesPerSide, kPiecesPerSide, kPiecesPerSide};
  Stocks trial_blockers{kBlockersPerSide, kBlockersPerSide, kBlockersPerSide, kBlockersPerSide};
  trial_pieces[Cpu - 1] = pieces[mover - 1];
  trial_pieces[Player1 - 1] = pieces[opponent - 1];
  trial_blockers[Cpu - 1] = blockers[mover - 1];
  trial_blockers[Player1 - 1] = blockers[opponent - 1];

  SilentShell shell;
  shell.strength = strength;
  Game game(shell);
  ReachLists lists;
  CpuPlayer cpu(game, lists, random);
  game.SetUpPosition(trial, trial_pieces, trial_blockers, Cpu);
  Task<> move = cpu.CpuMove();
  move.Resume();  // the silent shell never waits

  std::vector<Move> turn;
  for (const Move& placed : game.History()) {
    if (placed.side == Cpu) turn.push_back({mover, placed.cell, placed.kind});
  }
  return turn;
}

}  // namespace vexa
