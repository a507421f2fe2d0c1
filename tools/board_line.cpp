#include "tools/board_line.h"

#include <charconv>
#include <sstream>

namespace vexa::tools {

std::optional<BoardLine> ParseBoardLine(const std::string& line, std::string& error) {
  std::istringstream words(line);
  std::string cells;
  words >> cells;
  if (cells.size() != kCellCount) {
    error = "expected 121 cell values, found " + std::to_string(cells.size());
    return std::nullopt;
  }
  BoardLine board;
  for (int i = 0; i < kCellCount; ++i) {
    const char c = cells[i];
    if (c < '0' || c > '5') {
      error = std::string("cell ") + std::to_string(i) + " holds '" + c + "', not 0..5";
      return std::nullopt;
    }
    board.cells[i] = static_cast<std::int16_t>(c - '0');
  }
  std::string field;
  while (words >> field) {
    const auto eq = field.find('=');
    if (eq == std::string::npos || eq == 0) {
      error = "field '" + field + "' is not name=value";
      return std::nullopt;
    }
    board.fields[field.substr(0, eq)] = field.substr(eq + 1);
  }
  return board;
}

std::optional<long> ParseNumber(const std::string& text, long low, long high) {
  long value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || value < low || value > high) return std::nullopt;
  return value;
}

}  // namespace vexa::tools
