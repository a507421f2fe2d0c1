#pragma once

// The names a person reads for the board's cells: the column's letter A-K
// from the left, then the row's number 1-11 from the top ("D3" is column 3,
// row 2 counted from 0). The window speaks of cells by these names; files and
// the tools' default output keep the cell numbers.

#include <string>
#include <vector>

#include "core/board.h"
#include "core/move.h"

namespace vexa {

inline std::string CellName(int cell) {
  return std::string(1, static_cast<char>('A' + Column(cell))) + std::to_string(Row(cell) + 1);
}

// The placements of a turn by cell name, "B F6 P E5": a blocker's cell after
// "B", the piece's after "P", as the tools write them with numbers.
inline std::string TurnCellNames(const std::vector<Move>& turn) {
  std::string out;
  for (const Move& move : turn) {
    if (!out.empty()) out += ' ';
    out += (move.kind == MoveKind::Blocker ? "B " : "P ") + CellName(move.cell);
  }
  return out;
}

}  // namespace vexa
