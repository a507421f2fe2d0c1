#pragma once

// vexa-analyze analyse: a game record, turn by turn, as Master sees it.

#include <ostream>
#include <string>

#include "cpu/game_analysis.h"
#include "cpu/master_search.h"

namespace vexa::tools {

// One line per turn (number, side, the turn played, the mover's chances
// before, the best turn, the chances after, the drop and the mark), then
// each side's marks and average drop. Search i of the analysis takes the
// seed `limits.seed + i`; the weighing of one turn takes a fifth of the
// search's playouts. A bad record is reported on `err` as
// "vexa-analyze: FILE:LINE: what"; the exit status.
// With `cell_names`, cells are written as the window names them ("D3").
int RunAnalyse(const std::string& path, const SearchLimits& limits,
               const MarkThresholds& thresholds, std::ostream& out, std::ostream& err,
               bool cell_names = false);

}  // namespace vexa::tools
