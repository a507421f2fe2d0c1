#include "tools/cpu_commands.h"

#include <atomic>
#include <iterator>

#include "core/position.h"
#include "cpu/player.h"
#include "cpu/reach_lists.h"

namespace vexa::tools {

namespace {

std::string CellsText(const CellList& list) {
  std::string out;
  for (const int cell : list) {
    if (!out.empty()) out += ' ';
    out += std::to_string(cell);
  }
  return out;
}

// The stock a field gives, its default, or an error naming the field.
std::optional<long> StockField(const BoardLine& board, const std::string& name, long low, long high,
                               long fallback, std::string& error) {
  const auto field = board.fields.find(name);
  if (field == board.fields.end()) return fallback;
  const auto value = ParseNumber(field->second, low, high);
  if (!value) {
    error =
        name + "=" + field->second + " is not " + std::to_string(low) + ".." + std::to_string(high);
  }
  return value;
}

}  // namespace

std::string ReachesLine(const BoardLine& board, Side side) {
  ReachLists lists;
  ListReaches(side, board.cells, lists);
  return CellsText(lists.ReachList(side)) + ';' + CellsText(lists.PreReachList(side));
}

std::optional<std::string> CpuMoveLine(const BoardLine& board, CpuStrength strength,
                                       CellSource& random, const SearchLimits& master,
                                       std::string& error) {
  const auto blockers = StockField(board, "blockers", 0, kBlockersPerSide, kBlockersPerSide, error);
  if (!blockers) return std::nullopt;
  const auto pieces = StockField(board, "pieces", 1, kPiecesPerSide, kPiecesPerSide, error);
  if (!pieces) return std::nullopt;
  int empty = 0;
  for (int cell = 0; cell < kCellCount; ++cell) {
    empty += IsPlayableCell(cell) && board.cells[cell] == Empty ? 1 : 0;
  }
  // The CPU may cover up to `blockers` cells before its piece; with no empty
  // cell left then, its random draw would never end.
  if (empty <= *blockers) {
    error = "too few empty playable cells for the CPU's blockers and piece";
    return std::nullopt;
  }

  const Stocks pieces_left = {kPiecesPerSide, kPiecesPerSide, static_cast<std::int16_t>(*pieces),
                              kPiecesPerSide};
  const Stocks blockers_left = {kBlockersPerSide, kBlockersPerSide,
                                static_cast<std::int16_t>(*blockers), kBlockersPerSide};
  const Position position =
      Position::SetUp(Player1, Cpu, board.cells, pieces_left, blockers_left, Cpu);
  const std::atomic<bool> never{false};
  // Master's first search takes the seed after the given one, as a
  // computer player's first move does.
  const std::vector<Move> turn =
      MakePlayer(strength, random, master)->ChooseTurn(position, Cpu, never);

  std::string out;
  for (const Move& placement : turn) {
    if (!out.empty()) out += ' ';
    out += (placement.kind == MoveKind::Blocker ? "B " : "P ") + std::to_string(placement.cell);
  }
  return out;
}

}  // namespace vexa::tools
