#include "tools/analyse_command.h"

#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/cell_name.h"
#include "core/game_record.h"
#include "cpu/turn_estimates.h"

namespace vexa::tools {

std::string ChanceText(const WinChance& chance) {
  if (chance.proof) {
    const char* result = chance.proof->win ? "win" : "loss";
    if (chance.proof->turns == 0) return chance.proof->win ? "won" : "lost";
    return std::string(result) + " in " + std::to_string(chance.proof->WinnerTurns());
  }
  char text[16];
  std::snprintf(text, sizeof text, "%.1f %%", 100 * chance.chance);
  return text;
}

int RunAnalyse(const std::string& path, const SearchLimits& limits,
               const MarkThresholds& thresholds, std::ostream& out, std::ostream& err,
               bool cell_names) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  if (!file) {
    err << "vexa-analyze: " << path << ": cannot be read\n";
    return 1;
  }
  const RecordReading reading = ReadRecord(text.str());
  if (!reading.record) {
    err << "vexa-analyze: " << path << ':' << reading.error_line << ": " << reading.error << '\n';
    return 1;
  }
  const Side first = reading.record->Header("first") == "2" ? 2 : 1;
  GameAnalysis analysis(reading.record->moves, first, thresholds);
  const std::atomic<bool> never{false};
  while (const auto request = analysis.Next()) {
    SearchLimits search = limits;
    search.seed = limits.seed + static_cast<std::uint64_t>(request->number);
    analysis.Take(SearchTurn(request->position, request->mover, search, never));
  }

  const auto turn_text = cell_names ? TurnCellNames : TurnText;
  char line[256];
  std::snprintf(line, sizeof line, "%-4s %-4s %-22s %9s  %-22s %9s %6s  %s\n", "turn", "side",
                "played", "before", "best", "after", "drop", "mark");
  out << line;
  for (const AnalysedTurn& t : analysis.Turns()) {
    const std::string best = t.best.empty() ? "-" : turn_text(t.best);
    std::snprintf(line, sizeof line, "%-4d %-4d %-22s %9s  %-22s %9s %6.1f  %s\n", t.number, t.side,
                  turn_text(t.played).c_str(), ChanceText(t.before).c_str(), best.c_str(),
                  ChanceText(t.after).c_str(), 100 * t.Drop(), MarkText(t.mark));
    out << line;
  }
  for (const Side side : {1, 2}) {
    const SideSums sums = analysis.Sums(side);
    std::snprintf(line, sizeof line, "side %d: ?! %d, ? %d, ?? %d in %d turns, average drop %.1f\n",
                  side, sums.marks[static_cast<int>(TurnMark::Inaccuracy)],
                  sums.marks[static_cast<int>(TurnMark::Mistake)],
                  sums.marks[static_cast<int>(TurnMark::Blunder)], sums.turns,
                  100 * sums.AverageDrop());
    out << line;
  }
  return 0;
}

}  // namespace vexa::tools
