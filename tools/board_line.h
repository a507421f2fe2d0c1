#pragma once

// The input format of vexa-analyze: one board per line, the 121 cell values
// as the characters 0..5 in index order, then optional blank-separated
// fields of the form name=value.

#include <map>
#include <optional>
#include <string>

#include "core/board.h"

namespace vexa::tools {

struct BoardLine {
  BoardCells cells{};
  std::map<std::string, std::string> fields;
};

// The board of one line, or an error text that names what is wrong.
std::optional<BoardLine> ParseBoardLine(const std::string& line, std::string& error);

// A whole-number argument within [low, high], or nothing.
std::optional<long> ParseNumber(const std::string& text, long low, long high);

}  // namespace vexa::tools
