#include "core/board_text.h"

namespace vexa {

std::string BoardText(const BoardCells& board) {
  std::string text;
  text.reserve(kCellCount);
  // A value no cell can hold is written as an empty cell, so that the word
  // always reads back.
  for (const std::int16_t value : board)
    text += static_cast<char>('0' + (value >= Empty && value <= Blocker ? value : 0));
  return text;
}

std::optional<BoardCells> ParseBoardText(std::string_view text, std::string& error) {
  if (text.size() != kCellCount) {
    error = "expected 121 cell values, found " + std::to_string(text.size());
    return std::nullopt;
  }
  BoardCells board{};
  for (int cell = 0; cell < kCellCount; ++cell) {
    const char c = text[cell];
    if (c < '0' || c > '5') {
      error = "cell " + std::to_string(cell) + " holds '" + c + "', not 0..5";
      return std::nullopt;
    }
    board[cell] = static_cast<std::int16_t>(c - '0');
  }
  return board;
}

}  // namespace vexa
