#include "game.h"

#include "number_text.h"

namespace vexa {

namespace {

OutlineEnds OutlineOf(const SquareCorners& square) {
  const int corners[4] = {square.i, square.L, square.C2, square.C1};
  OutlineEnds ends;
  for (int edge = 0; edge < 4; ++edge) {
    ends.from[edge] = OutlinePoint(corners[edge]);
    ends.to[edge] = OutlinePoint(corners[(edge + 1) % 4]);
  }
  return ends;
}

int PanelCodeOf(GameMode mode) {
  return static_cast<int>(mode);
}

}  // namespace

Color CellColor(std::int16_t value) {
  switch (value) {
    case Empty:
      return kBlack;
    case Player1:
      return kRed;
    case Blocker:
      return kWhite;
    default:
      return kBlue;
  }
}

std::string CoordinateText(int cell) {
  return "(" + NumberText(Column(cell)) + "," + NumberText(Row(cell)) + ")";
}

Side Game::OpponentSide() const {
  switch (shell_.Mode()) {
    case GameMode::VsCpu:
      return Cpu;
    case GameMode::VsHuman:
      return Player2;
    case GameMode::VsOnline:
      break;
  }
  return Remote;
}

void Game::SetCell(int cell, CellValue value) {
  shell_.PaintCell(cell, CellColor(value));
  Board[cell] = value;
}

void Game::UsePiece(Side side) {
  const int left = --PieceStock[side - 1];
  // A stock can only run below zero through a peer that breaks the rules;
  // there is no marker to hide then.
  if (left >= 0 && left < kPiecesPerSide) {
    shell_.HidePieceMarker(side == Player1 ? left : left + kPiecesPerSide);
  }
}

void Game::UseBlocker(Side side) {
  const int left = --BlockerStock[side - 1];
  if (left >= 0 && left < kBlockersPerSide) {
    shell_.HideBlockerMarker(side == Player1 ? left : left + kBlockersPerSide);
  }
}

void Game::MarkTurn(Side side) {
  shell_.SetTurnMarkers(side == Player1, side != Player1);
}

void Game::ClearBoard() {
  for (int cell = 0; cell < kCellCount; ++cell)
    SetCell(cell, Empty);
  shell_.ShowAllMarkers();
  PieceStock.fill(kPiecesPerSide);
  BlockerStock.fill(kBlockersPerSide);
  shell_.HideOutline();
}

std::string Game::WinnerText(Side side) const {
  switch (side) {
    case Player1:
      return shell_.Mode() == GameMode::VsOnline ? shell_.LocalPlayerName() + " Win"
                                                 : "Player1 Win";
    case Player2:
      return "Player2 Win";
    case Cpu:
      return "You Lose";
    default:
      return online.OpponentName + " Win";
  }
}

Task<bool> Game::CheckSquare(Side side) {
  // A game that has already ended (the CPU's closing judge after its winning
  // piece, a peer's piece after the result) is not judged a second time.
  if (!GameRunning() || side < Player1 || side > Remote) co_return true;
  const int game = game_number_;

  const std::vector<SquareCorners> squares = ScanSquares(Board, side);
  for (const SquareCorners& square : squares) {
    Turn = NoTurn;
    co_await shell_.Pause(kJudgePauseMs);
    if (game != game_number_) co_return true;
    shell_.DrawOutline(OutlineOf(square), SideColor[side - 1]);
  }

  if (squares.empty()) {
    const bool ended = co_await EndByStockOut(game);
    co_return ended;
  }

  Turn = NoTurn;
  shell_.SetResultText(WinnerText(side));
  if (side == Player1) {
    ++records.Wins;
  } else {
    ++records.Losses;
  }
  shell_.SaveRecords();
  shell_.ShowRecords();
  co_await shell_.ShowResultDialog();
  co_await AfterResult(game);
  co_return true;
}

Task<bool> Game::EndByStockOut(int game) {
  const Side other = OpponentSide();
  if (PieceStock[Player1 - 1] != 0 || PieceStock[other - 1] != 0) co_return false;

  const int mine = BlockerStock[Player1 - 1];
  const int theirs = BlockerStock[other - 1];
  shell_.SetResultText(mine > theirs   ? WinnerText(Player1)
                       : theirs > mine ? WinnerText(other)
                                       : "Draw");
  shell_.EnableOptionPanel();
  Turn = NoTurn;
  co_await shell_.ShowResultDialog();
  co_await AfterResult(game);
  co_return true;
}

Task<> Game::AfterResult(int game) {
  // A new game may have begun while the result was shown (online, the host's
  // next "Show" arrives then); its option panel is not ours to change.
  if (game != game_number_) co_return;
  const GameMode mode = shell_.Mode();
  if (mode == GameMode::VsOnline && online.IsGuest == 0) {
    shell_.SendGameMessage("Show");
    co_await shell_.ShowSettingsDialog();
  } else {
    shell_.SetOptionControls(mode == GameMode::VsCpu ? 0 : 1, true);
  }
}

Task<> Game::PlaceFromClick(int cell, int button) {
  if (cell < 0 || cell >= kCellCount) co_return;
  const GameMode mode = shell_.Mode();

  if (Turn == Player1) {
    if (Board[cell] == Empty && button == kLeftButton) {
      SetCell(cell, Player1);
      UsePiece(Player1);
      if (mode == GameMode::VsOnline) {
        shell_.StopMoveClock();
        shell_.SendGameMessage("PutU " + std::to_string(cell));
      }
      const bool ended = co_await CheckSquare(Player1);
      if (!ended) {
        shell_.SetTurnMarkers(false, true);
        switch (mode) {
          case GameMode::VsCpu:
            Turn = Cpu;
            if (cpu_ != nullptr) co_await cpu_->CpuMove();
            break;
          case GameMode::VsHuman:
            Turn = Player2;
            break;
          case GameMode::VsOnline:
            Turn = Remote;
            break;
        }
      }
    } else if (Board[cell] == Empty && BlockerStock[Player1 - 1] > 0) {
      SetCell(cell, Blocker);
      UseBlocker(Player1);
      if (mode == GameMode::VsOnline) shell_.SendGameMessage("PutW " + std::to_string(cell));
    }
  } else if (Turn == Player2) {
    if (Board[cell] == Empty && button == kLeftButton) {
      SetCell(cell, Player2);
      UsePiece(Player2);
      const bool ended = co_await CheckSquare(Player2);
      if (!ended) {
        Turn = Player1;
        shell_.SetTurnMarkers(true, false);
      }
    } else if (Board[cell] == Empty && BlockerStock[Player2 - 1] > 0) {
      SetCell(cell, Blocker);
      UseBlocker(Player2);
    }
  }

  shell_.SetCoordinateReadout(CoordinateText(cell));
}

Task<> Game::StartGame(int fromMenu) {
  const int game = ++game_number_;
  ClearBoard();
  SideColor = {kRed, kBlue, kBlue, kBlue};
  // The clock of an online game that this one replaces stops with its
  // display: its ticks would otherwise take this game's blockers.
  shell_.StopMoveClock();
  ++records.GamesPlayed;

  const GameMode mode = shell_.Mode();
  switch (mode) {
    case GameMode::VsCpu:
      shell_.SetSideCaptions("Player1", "CPU");
      if (shell_.CpuMovesFirst()) {
        Turn = Cpu;
        shell_.SetTurnMarkers(false, true);
        if (cpu_ != nullptr) co_await cpu_->CpuMove();
        // A new game or an abandon during the CPU's move owns the panel now.
        if (game != game_number_) co_return;
      } else {
        Turn = Player1;
        shell_.SetTurnMarkers(true, false);
      }
      break;
    case GameMode::VsHuman:
      shell_.SetSideCaptions("Player1", "Player2");
      Turn = shell_.Player1MovesFirst() ? Player1 : Player2;
      MarkTurn(Turn);
      break;
    case GameMode::VsOnline:
      if (fromMenu == 0) {
        MarkTurn(Turn == Player1 ? Player1 : Remote);
        if (Turn == Player1 && online.ClockStyle == 1) shell_.StartMoveClock();
      }
      break;
  }

  if (mode != GameMode::VsOnline) {
    co_await shell_.CloseConnection();
    if (game != game_number_) co_return;
  }
  shell_.SetOptionControls(3, false);
}

Task<> Game::AbandonGame() {
  ++game_number_;
  Turn = NoTurn;
  shell_.StopMoveClock();
  ClearBoard();
  shell_.SetOptionControls(PanelCodeOf(shell_.Mode()), true);
  co_await shell_.CloseConnection();
}

}  // namespace vexa
