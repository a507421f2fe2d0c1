#pragma once

// vexa-analyze analyse: a game record, turn by turn, as Master sees it.

#include <ostream>
#include <string>

#include "cpu/game_analysis.h"
#include "cpu/master_search.h"

namespace vexa::tools {

// A chance as the tool prints it: "63.2 %", or for a proven result "win in
// 2" / "loss in 1" (counted in the winner's own turns, as a forced win is
// counted) and "won" / "lost" once the game is over.
std::string ChanceText(const WinChance& chance);

// One line per turn (number, side, the turn played, the mover's chances
// before, the best turn, the chances after, the drop and the mark), then
// each side's marks and average drop. Search i of the analysis (position
// i) takes the seed `limits.seed + i`. A bad record is reported on `err`
// as "vexa-analyze: FILE:LINE: what"; the exit status. With `cell_names`,
// cells are written as the window names them ("D3").
int RunAnalyse(const std::string& path, const SearchLimits& limits,
               const MarkThresholds& thresholds, std::ostream& out, std::ostream& err,
               bool cell_names = false);

}  // namespace vexa::tools
