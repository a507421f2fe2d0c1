#include "tools/board_line.h"

#include <charconv>
#include <sstream>

#include "core/board_text.h"

namespace vexa::tools {

std::optional<BoardLine> ParseBoardLine(const std::string& line, std::string& error) {
  std::istringstream words(line);
  std::string cells;
  words >> cells;
  const std::optional<BoardCells> parsed = ParseBoardText(cells, error);
  if (!parsed) return std::nullopt;
  BoardLine board;
  board.cells = *parsed;
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
