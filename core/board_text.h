#pragma once

// The board as one word of text: its 121 cell values as the digits 0..5 in
// cell order. The headless player prints it after each game, vexa-analyze
// reads and writes it, and tests set boards up with it.

#include <optional>
#include <string>
#include <string_view>

#include "core/board.h"

namespace vexa {

std::string BoardText(const BoardCells& board);

// The board of such a word, or nothing with `error` saying what is wrong.
std::optional<BoardCells> ParseBoardText(std::string_view text, std::string& error);

}  // namespace vexa
