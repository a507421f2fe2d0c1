#include "tools/ladder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <utility>

#include "tools/elo_fit.h"
#include "tools/self_play.h"

namespace vexa::tools {

namespace {

SearchLimits MasterLimits(const LadderEntrant& entrant, const LadderOptions& options) {
  SearchLimits limits;
  limits.time.reset();
  limits.playouts = entrant.playouts > 0 ? entrant.playouts : 1;
  limits.threads = options.threads;
  return limits;
}

std::string Format(const char* format, double a, double b = 0, double c = 0) {
  char text[64];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

// Where a rating may lie: its 95 % interval, or from a bound on.
std::pair<double, double> Range(const EloRating& r) {
  if (r.bound == EloRating::Bound::Lower) return {r.elo, INFINITY};
  if (r.bound == EloRating::Bound::Upper) return {-INFINITY, r.elo};
  return {r.low, r.high};
}

}  // namespace

std::string LadderOrder(const std::vector<LadderEntrant>& entrants,
                        const std::vector<EloRating>& ratings) {
  std::vector<std::size_t> rated;
  for (std::size_t i = 0; i < entrants.size(); ++i) {
    if (ratings[i].rated) rated.push_back(i);
  }
  std::stable_sort(rated.begin(), rated.end(), [&ratings](std::size_t a, std::size_t b) {
    return ratings[a].elo < ratings[b].elo;
  });
  std::string out;
  for (std::size_t k = 0; k < rated.size(); ++k) {
    if (k > 0) {
      // Overlapping intervals: the games are too few to tell which is
      // stronger (the anchor's interval is its own rating, 0).
      const EloRating& below = ratings[rated[k - 1]];
      const EloRating& above = ratings[rated[k]];
      const double top_of_below = rated[k - 1] == 0 ? 0.0 : Range(below).second;
      const double bottom_of_above = rated[k] == 0 ? 0.0 : Range(above).first;
      out += bottom_of_above > top_of_below ? " < " : " ~ ";
    }
    out += entrants[rated[k]].name;
  }
  return out + "  (~: too few games to order the two)";
}

std::vector<LadderEntrant> LadderEntrants(const LadderOptions& options) {
  std::vector<LadderEntrant> out;
  for (const CpuStrength s :
       {CpuStrength::Easy, CpuStrength::Normal, CpuStrength::Hard, CpuStrength::VeryHard}) {
    out.push_back({StrengthName(s), s, 0});
  }
  for (const long playouts : {options.short_playouts, options.playouts}) {
    out.push_back({"Master-" + std::to_string(playouts), CpuStrength::Master, playouts});
  }
  return out;
}

// The entrants of `options` with no game played yet.
LadderTable EmptyLadder(const LadderOptions& options) {
  LadderTable table;
  table.entrants = LadderEntrants(options);
  const std::size_t n = table.entrants.size();
  table.wins.assign(n, std::vector<int>(n, 0));
  table.draws = table.wins;
  table.games = table.wins;
  return table;
}

LadderTable PlayLadder(const LadderOptions& options, std::ostream& progress) {
  LadderTable table = EmptyLadder(options);
  const std::size_t n = table.entrants.size();
  std::uint64_t pair = 0;
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) {
      const LadderEntrant& a = table.entrants[i];
      const LadderEntrant& b = table.entrants[j];
      const bool master = a.strength == CpuStrength::Master || b.strength == CpuStrength::Master;
      const long games = master ? options.master_games : options.games;
      // Every pair has a seed of its own, so that one pair repeats alone.
      SelfPlay play(a.strength, b.strength, options.seed * 1000 + pair++, MasterLimits(a, options),
                    MasterLimits(b, options));
      for (long g = 0; g < games; ++g) {
        switch (play.PlayGame(g % 2 == 0)) {
          case SelfPlayResult::WinA:
            ++table.wins[i][j];
            break;
          case SelfPlayResult::WinB:
            ++table.wins[j][i];
            break;
          case SelfPlayResult::Draw:
            ++table.draws[i][j];
            ++table.draws[j][i];
            break;
        }
      }
      table.games[i][j] = table.games[j][i] = static_cast<int>(games);
      progress << "ladder: " << a.name << ' ' << table.wins[i][j] << ' ' << b.name << ' '
               << table.wins[j][i] << " draws " << table.draws[i][j] << std::endl;
    }
  }
  return table;
}

std::optional<LadderTable> ReadLadder(const LadderOptions& options, std::istream& lines) {
  LadderTable table = EmptyLadder(options);
  const auto index = [&table](const std::string& name) {
    for (std::size_t i = 0; i < table.entrants.size(); ++i) {
      if (table.entrants[i].name == name) return static_cast<int>(i);
    }
    return -1;
  };
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string tag, a, b, draws_word;
    int wins_a = 0, wins_b = 0, draws = 0;
    if (!(words >> tag >> a >> wins_a >> b >> wins_b >> draws_word >> draws) || tag != "ladder:" ||
        draws_word != "draws") {
      continue;
    }
    const int i = index(a);
    const int j = index(b);
    if (i < 0 || j < 0 || i == j) return std::nullopt;
    table.wins[i][j] = wins_a;
    table.wins[j][i] = wins_b;
    table.draws[i][j] = table.draws[j][i] = draws;
    table.games[i][j] = table.games[j][i] = wins_a + wins_b + draws;
  }
  return table;
}

void PrintLadder(const LadderTable& table, std::ostream& out) {
  const std::size_t n = table.entrants.size();
  std::vector<std::vector<double>> points(n, std::vector<double>(n, 0.0));
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j)
      points[i][j] = table.wins[i][j] + 0.5 * table.draws[i][j];
  }
  const std::vector<EloRating> ratings = FitElo(points, table.games, 0);

  char line[160];
  std::snprintf(line, sizeof line, "%-14s %7s  %-18s %s\n", "entrant", "Elo", "95 % interval",
                "score");
  out << line;
  for (std::size_t i = 0; i < n; ++i) {
    const EloRating& r = ratings[i];
    double scored = 0;
    int played = 0;
    for (std::size_t j = 0; j < n; ++j) {
      scored += points[i][j];
      played += table.games[i][j];
    }
    int lost = 0;
    int won = 0;
    for (std::size_t j = 0; j < n; ++j) {
      lost += table.wins[j][i];
      won += table.wins[i][j];
    }
    std::string elo = "?";
    std::string interval = "(no games)";
    if (r.rated && i == 0) {
      elo = "0";
      interval = "(anchor)";
    } else if (r.rated && r.bound == EloRating::Bound::Lower) {
      // The bound is its group's, which never lost to those below; the
      // entrant itself may have lost inside the group.
      elo = Format(">= %.0f", r.elo);
      interval = lost == 0 ? "(never lost)" : "(lower bound)";
    } else if (r.rated && r.bound == EloRating::Bound::Upper) {
      elo = Format("<= %.0f", r.elo);
      interval = won == 0 ? "(never won)" : "(upper bound)";
    } else if (r.rated) {
      elo = Format("%.0f", r.elo);
      interval = Format("%.0f .. %.0f", std::round(r.low), std::round(r.high));
    }
    std::snprintf(line, sizeof line, "%-14s %7s  %-18s %.1f / %d\n", table.entrants[i].name.c_str(),
                  elo.c_str(), interval.c_str(), scored, played);
    out << line;
  }
  out << "\norder: " << LadderOrder(table.entrants, ratings) << '\n';
  out << "\nwins-draws-losses of the row against the column\n";
  std::snprintf(line, sizeof line, "%-14s", "");
  out << line;
  for (std::size_t j = 0; j < n; ++j) {
    std::snprintf(line, sizeof line, " %13s", table.entrants[j].name.c_str());
    out << line;
  }
  out << '\n';
  for (std::size_t i = 0; i < n; ++i) {
    std::snprintf(line, sizeof line, "%-14s", table.entrants[i].name.c_str());
    out << line;
    for (std::size_t j = 0; j < n; ++j) {
      std::string cell = "-";
      if (i != j) {
        cell = std::to_string(table.wins[i][j]) + '-' + std::to_string(table.draws[i][j]) + '-' +
               std::to_string(table.wins[j][i]);
      }
      std::snprintf(line, sizeof line, " %13s", cell.c_str());
      out << line;
    }
    out << '\n';
  }
}

}  // namespace vexa::tools
