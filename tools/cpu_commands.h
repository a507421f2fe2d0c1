#pragma once

// The analyses of vexa-analyze that use the computer player's logic.

#include <optional>
#include <string>

#include "core/game_shell.h"
#include "cpu/cell_source.h"
#include "cpu/master_search.h"
#include "tools/board_line.h"

namespace vexa::tools {

// The side's reach cells, ';', its pre-reach cells: each in list order,
// separated by blanks ("48;2 4 22 44 34 36 50 70").
std::string ReachesLine(const BoardLine& board, Side side);

// One move of the CPU (side 3) on the board, without its pause: the
// placements in order, "B c" for a blocker and "P c" for the piece. The
// fields blockers=K (0..6, default 6) and pieces=K (1..20, default 20) give
// the CPU's stocks. Master searches within `master`. Nothing and an error
// text for a board it cannot move on.
std::optional<std::string> CpuMoveLine(const BoardLine& board, CpuStrength strength,
                                       CellSource& random, const SearchLimits& master,
                                       std::string& error);

}  // namespace vexa::tools
