// vexa-analyze: analyses boards read from standard input, one per line, and
// plays the computer player against itself, without any window.
//
//   vexa-analyze squares SIDE                 every corner set the judge accepts
//   vexa-analyze reaches SIDE                 the side's reach and pre-reach cells
//   vexa-analyze cpu STRENGTH [--seed N] [SEARCH]
//                                             the CPU's move on each board
//   vexa-analyze selfplay A B --games N [--seed S] [--records DIR] [SEARCH]
//                                             whole games of strength A against B
//   vexa-analyze record FILE [--grid] [--cells numbers|names]
//                                             the boards of a game record
//   vexa-analyze analyse FILE [--playouts N] [--threads N] [--seed S] [--marks A,B,C]
//                         [--cells numbers|names]  ("analyze" too)
//                                             a record turn by turn, with marks
//   vexa-analyze ladder [--games N] [--master-games N] [--seed S] [--threads N]
//                                             the strengths' round robin and Elo
//   vexa-analyze ladder --results FILE        its table again from its progress lines
//   vexa-analyze calibrate fit|check --games N [--seed S] [--playouts N] [--threads N]
//                                             how far the analysis's chances hold
//   vexa-analyze --version | --help | COMMAND --help
//   SEARCH: --budget-ms N, --playouts N, --threads N for Master

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/board_text.h"
#include "core/cell_name.h"
#include "core/game.h"
#include "core/game_record.h"
#include "core/square_scan.h"
#include "cpu/cell_source.h"
#include "tools/analyse_command.h"
#include "tools/board_line.h"
#include "tools/calibration.h"
#include "tools/cpu_commands.h"
#include "tools/ladder.h"
#include "tools/self_play.h"

namespace vexa::tools {
namespace {

constexpr const char* kUsage =
    "usage: vexa-analyze squares SIDE\n"
    "       vexa-analyze reaches SIDE\n"
    "       vexa-analyze cpu STRENGTH [--seed N] [SEARCH]\n"
    "       vexa-analyze selfplay A B --games N [--seed S] [--records DIR] [SEARCH]\n"
    "       vexa-analyze record FILE [--grid] [--cells numbers|names]\n"
    "       vexa-analyze analyse FILE [--playouts N] [--threads N] [--seed S]\n"
    "                            [--marks A,B,C] [--cells numbers|names]\n"
    "       vexa-analyze ladder [--games N] [--master-games N] [--seed S]\n"
    "                           [--threads N] [--results FILE]\n"
    "       vexa-analyze calibrate fit|check --games N [--seed S] [--playouts N]\n"
    "                              [--threads N]\n"
    "       vexa-analyze --version | --help | COMMAND --help\n"
    "  COMMAND --help tells what that command prints, column by column.\n"
    "  SIDE is 1..4; STRENGTH, A and B are Easy, Normal, Hard, VeryHard or Master.\n"
    "  SEARCH, for Master: --budget-ms N (default 1000 when --playouts is not\n"
    "  given), --playouts N, --threads N (default: one per core).\n"
    "  squares, reaches and cpu read boards on standard input: a board is 121\n"
    "  characters 0..5, cell row x 11 + column, optionally followed by\n"
    "  blank-separated name=value fields (cpu reads blockers=K and pieces=K, the\n"
    "  CPU's stocks). A cell holds 0 empty, 1 a piece of Player1 (the left side),\n"
    "  2 of the second player at this machine, 3 of the computer player, 4 of\n"
    "  the online peer, 5 a blocker; the corners 0, 10, 110 and 120 are never\n"
    "  played and stay 0. cpu moves for side 3 against side 1.\n"
    "  squares prints, for each pair of pieces i < L that the judge accepts a\n"
    "  square from, its corners i,L,C2,C1 around the outline (a square with\n"
    "  sides longer than 1 comes from two pairs); an empty line for none.\n"
    "  reaches prints the reach cells, ';', the pre-reach cells.\n"
    "  record prints the board after each placement in these values (the left\n"
    "  side 1, the right side 3, 2 or 4 for VS CPU, VS Human or VS Online), then\n"
    "  \"result WINNER HOW\"; --grid adds each board as 11 rows of 11: '.' empty,\n"
    "  '1' the left side, '2' the right side, '#' a blocker, ' ' a corner, each\n"
    "  after its label \"after 2 P 60\".\n";

// What each command prints, for "vexa-analyze COMMAND --help".
struct CommandHelp {
  const char* command;
  const char* text;
};
constexpr CommandHelp kCommandHelp[] = {
    {"squares",
     "usage: vexa-analyze squares SIDE < BOARDS\n"
     "  For each board line on standard input, one line: every square of SIDE's\n"
     "  pieces the judge accepts, as its corners \"i,L,C2,C1\" (cell numbers, row x 11\n"
     "  + column) around the outline, blank-separated; an empty line for none.\n"},
    {"reaches",
     "usage: vexa-analyze reaches SIDE < BOARDS\n"
     "  For each board line, one line: SIDE's reach cells (one piece more makes a\n"
     "  square), ';', then its pre-reach cells (two pieces more), as cell numbers.\n"},
    {"cpu",
     "usage: vexa-analyze cpu STRENGTH [--seed N] [SEARCH] < BOARDS\n"
     "  For each board line, one line: the computer player's turn for side 3\n"
     "  against side 1 at that strength, its blockers and then its piece, as cell\n"
     "  numbers. Boards may carry blockers=K and pieces=K, the CPU's stocks.\n"
     "  SEARCH, for Master: --budget-ms N (default 1000), --playouts N, --threads N.\n"},
    {"selfplay",
     "usage: vexa-analyze selfplay A B --games N [--seed S] [--records DIR] [SEARCH]\n"
     "  Plays N games of strength A against B, A moving first in the even games,\n"
     "  and prints one line: \"A WINS_A B WINS_B draws DRAWS\". Without --seed\n"
     "  the seed used is told on standard error. --records DIR writes each game's\n"
     "  record as DIR/game-00000001.txt ...; its replay line names the strengths.\n"},
    {"record",
     "usage: vexa-analyze record FILE [--grid] [--cells numbers|names]\n"
     "  Prints the board after each placement of the record, one line of 121\n"
     "  values (0 empty, 1 the left side, 3, 2 or 4 the right side for VS CPU,\n"
     "  VS Human or VS Online, 5 a blocker), then \"result WINNER HOW\".\n"
     "  --grid follows each board with a label, \"after 2 P 60\" (the placement's\n"
     "  number, P a piece or B a blocker, its cell), and a picture of 11 rows:\n"
     "  '.' empty, '1' the left side, '2' the right side, '#' a blocker, ' ' a\n"
     "  corner. --cells names writes the label's cell as the window names it, D3.\n"},
    {"analyse",
     "usage: vexa-analyze analyse FILE [--playouts N] [--threads N] [--seed S]\n"
     "                            [--marks A,B,C] [--cells numbers|names]\n"
     "  Searches every position of the record once with Master's tree search\n"
     "  (\"analyze\" is read the same). One line per turn, in columns:\n"
     "    turn    the turn's number from 1\n"
     "    side    the record's side that played it, 1 or 2\n"
     "    played  its placements: B CELL for each blocker, then P CELL\n"
     "    before  the mover's chance to win with the best turn found\n"
     "    best    that best turn; - when every turn loses\n"
     "    after   the mover's chance after the turn played (the next turn's\n"
     "            before, seen from the other side)\n"
     "    drop    before minus after, in points (0 when the turn did better)\n"
     "    mark    ?! inaccuracy, ? mistake, ?? blunder, or nothing\n"
     "  A chance is a percentage fitted to real games' results, never 0 or 100;\n"
     "  a result the search proved reads \"win in N\" / \"loss in N\" (N of the\n"
     "  winner's own turns) and \"won\" / \"lost\" once the game is over.\n"
     "  Then per side: its marks, its turns and its average drop.\n"
     "  --marks A,B,C: the least drops in points for ?!, ? and ?? (default\n"
     "  10,20,35). A missed winning cell, or a winning cell of the opponent\n"
     "  left open that could have been closed, is ?? whatever the numbers.\n"
     "  --cells names: cells as the window names them (column letter A-K, row\n"
     "  number 1-11: D3), instead of cell numbers (row x 11 + column).\n"
     "  Without --seed the seed used is told on standard error.\n"},
    {"ladder",
     "usage: vexa-analyze ladder [--games N] [--master-games N] [--seed S] [--threads N]\n"
     "       vexa-analyze ladder --results FILE\n"
     "  Plays every strength against every other, N games a pair, and prints:\n"
     "    entrant        the strength\n"
     "    Elo            its rating, Easy's fixed at 0; \">= X\" a lower bound for\n"
     "                   one that never lost to those below it, \"<= X\" an upper\n"
     "                   one. 100 Elo more is about 64 % of games won\n"
     "    95 % interval  where the rating lies with 95 % confidence; \"(never\n"
     "                   lost)\" or \"(lower bound)\" beside a bound\n"
     "    score          points (a win 1, a draw 1/2) / games played\n"
     "  then the order, weakest first: \"<\" where the intervals part, \"~\" where\n"
     "  the games are too few to order the two; then a table of\n"
     "  wins-draws-losses of each row against each column.\n"
     "  Progress lines (\"ladder: A W B W' draws D\") go to standard error;\n"
     "  --results FILE prints the table again from a file of those lines.\n"},
    {"calibrate",
     "usage: vexa-analyze calibrate fit|check --games N [--seed S] [--playouts N]\n"
     "                              [--threads N]\n"
     "  Plays N games between mixed strengths (Normal, Hard and VeryHard, each\n"
     "  against each in turn, the first move alternating; not Easy, which never\n"
     "  takes its own winning cell) and searches every position\n"
     "  as the analysis does (--playouts, default the analysis's budget). fit\n"
     "  prints the curve fitted to those games' results (slope and offset of\n"
     "  the chance against the log-odds of the search's value); check prints how\n"
     "  the program's own curve does on them. Both then print the positions, how\n"
     "  many the search proved (and how many of those proofs were wrong), the\n"
     "  Brier score (the mean squared gap between chance and result; 0.25 for\n"
     "  saying 50 % always) and ten bins of the chance given: their turns, the\n"
     "  mean chance given and the share of those turns' games the mover won.\n"},
};

int Usage() {
  std::cerr << kUsage;
  return 2;
}

// A command that lacks its record file says so before the usage.
int MissingFile(const std::string& command) {
  std::cerr << "vexa-analyze: " << command << ": the record FILE is missing\n";
  return Usage();
}

std::string SquaresLine(const BoardLine& board, Side side) {
  std::string out;
  for (const SquareCorners& s : ScanSquares(board.cells, side)) {
    if (!out.empty()) out += ' ';
    out += std::to_string(s.i) + ',' + std::to_string(s.L) + ',' + std::to_string(s.C2) + ',' +
           std::to_string(s.C1);
  }
  return out;
}

// Applies `analyse` to every board line; a bad line is reported on standard
// error with its number, the rest is still processed. Exit code 1 if any
// line was bad.
template <typename Analyse>
int ForEachBoard(Analyse analyse) {
  std::string line;
  int number = 0;
  int failures = 0;
  while (std::getline(std::cin, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string error;
    const auto board = ParseBoardLine(line, error);
    if (!board) {
      std::cerr << "vexa-analyze: line " << number << ": " << error << '\n';
      ++failures;
      continue;
    }
    if (!analyse(*board, error)) {
      std::cerr << "vexa-analyze: line " << number << ": " << error << '\n';
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}

// The arguments of one subcommand: the words in order, and the values of
// the "--name value" options among them.
struct Arguments {
  std::vector<std::string> words;
  std::map<std::string, std::string> options;
};

std::optional<Arguments> SplitArguments(const std::vector<std::string>& args,
                                        const std::vector<std::string>& known_options) {
  Arguments out;
  for (std::size_t n = 0; n < args.size(); ++n) {
    if (args[n].rfind("--", 0) != 0) {
      out.words.push_back(args[n]);
      continue;
    }
    const std::string name = args[n].substr(2);
    bool known = false;
    for (const auto& option : known_options)
      known = known || option == name;
    if (!known || n + 1 == args.size()) {
      std::cerr << "vexa-analyze: unknown option or missing value: " << args[n] << '\n';
      return std::nullopt;
    }
    out.options[name] = args[++n];
  }
  return out;
}

std::optional<Side> SideArgument(const std::string& text) {
  const auto side = ParseNumber(text, 1, 4);
  if (!side) {
    std::cerr << "vexa-analyze: SIDE must be 1..4, not '" << text << "'\n";
    return std::nullopt;
  }
  return static_cast<Side>(*side);
}

std::optional<CpuStrength> StrengthArgument(const std::string& text) {
  const auto strength = ParseStrength(text);
  if (!strength) {
    std::cerr << "vexa-analyze: a strength is Easy, Normal, Hard, VeryHard or Master, not '" << text
              << "'\n";
  }
  return strength;
}

// The --seed option, or a seed that differs from run to run.
std::optional<std::uint64_t> SeedOption(const Arguments& args) {
  const auto option = args.options.find("seed");
  if (option == args.options.end()) return SeedFromClock();
  const auto seed = ParseNumber(option->second, 0, std::numeric_limits<long>::max());
  if (!seed) {
    std::cerr << "vexa-analyze: --seed must be a whole number 0 or above, not '" << option->second
              << "'\n";
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(*seed);
}

std::string NowIso8601() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

// The result of a game no person played, by the strength that won: "You
// Lose" or "Player1 Win" would speak to a player who was not there. Equal
// strengths are told apart by their sides.
std::string SelfPlayResult(Side winner, CpuStrength a, CpuStrength b) {
  if (winner == 0) return "Draw";
  const bool left = winner == Player1;
  std::string name = StrengthName(left ? b : a);
  if (a == b) name += left ? " (left)" : " (right)";
  return name + " wins";
}

// One game of self-play as a record: B is Player1's side on the left, A the
// CPU's on the right, each panel captioned with its strength (a caption of
// the side panels' narrow width, which "Player1 (Normal)" was not).
GameRecord SelfPlayRecord(const SelfPlay& play, CpuStrength a, CpuStrength b) {
  const Outcome& outcome = play.LastOutcome();
  return RecordOfGame({.date = NowIso8601(),
                       .mode = GameMode::VsCpu,
                       .left = StrengthName(b),
                       .right = StrengthName(a),
                       .strength = a,
                       .history = &play.LastHistory(),
                       .outcome = outcome,
                       .result_text = SelfPlayResult(outcome.winner, a, b)});
}

// A record's board (record sides: 1 left, 2 right, 5 blockers) as 11 rows
// of 11 characters, for reading by eye.
std::string GridPicture(const BoardCells& board) {
  std::string out;
  for (int cell = 0; cell < kCellCount; ++cell) {
    const std::int16_t value = board[cell];
    out += !IsPlayableCell(cell) ? ' '
           : value == Empty      ? '.'
           : value == Blocker    ? '#'
                                 : static_cast<char>('0' + value);
    if (Column(cell) == kBoardSize - 1) out += '\n';
  }
  return out;
}

// The boards of a record after each placement, in the game's cell values
// (with `grid`, each followed by its placement, "after 2 P 60", and its
// picture), then "result WINNER HOW".
int RunRecord(const std::string& path, bool grid, bool cell_names) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  if (!file) {
    std::cerr << "vexa-analyze: " << path << ": cannot be read\n";
    return 1;
  }
  const RecordReading reading = ReadRecord(text.str());
  if (!reading.record) {
    std::cerr << "vexa-analyze: " << path << ':' << reading.error_line << ": " << reading.error
              << '\n';
    return 1;
  }
  const std::string mode = reading.record->Header("mode").value_or("");
  const Side other = mode == "VS CPU" ? Cpu : mode == "VS Human" ? Player2 : Remote;
  for (std::size_t step = 1; step < reading.positions.size(); ++step) {
    BoardCells board = reading.positions[step].board;
    std::replace(board.begin(), board.end(), std::int16_t{2}, std::int16_t{other});
    std::cout << BoardText(board) << '\n';
    if (grid) {
      const Move& move = reading.record->moves[step - 1];
      std::cout << "after " << step << ' ' << (move.kind == MoveKind::Blocker ? "B " : "P ")
                << (cell_names ? CellName(move.cell) : std::to_string(move.cell)) << '\n'
                << GridPicture(reading.positions[step].board);
    }
  }
  // The board tells a square's or the stocks' winner; other endings the file.
  std::string winner = reading.record->Header("winner").value_or("0");
  if (reading.board_outcome) winner = std::to_string(reading.board_outcome->winner);
  if (winner != "1" && winner != "2") winner = "0";
  std::cout << "result " << winner << ' ' << *reading.record->Header("how") << '\n';
  return 0;
}

// Master's limits from --budget-ms, --playouts and --threads; without either
// budget, the second of the thinking pause. The seed is set by the caller.
std::optional<SearchLimits> SearchOptions(const Arguments& args) {
  SearchLimits limits;
  struct {
    const char* name;
    long low, high;
  } const options[] = {
      {"budget-ms", 1, 86'400'000}, {"playouts", 1, 1'000'000'000}, {"threads", 1, 256}};
  long values[3] = {0, 0, 0};
  for (int n = 0; n < 3; ++n) {
    const auto option = args.options.find(options[n].name);
    if (option == args.options.end()) continue;
    const auto value = ParseNumber(option->second, options[n].low, options[n].high);
    if (!value) {
      std::cerr << "vexa-analyze: --" << options[n].name << " must be " << options[n].low << ".."
                << options[n].high << ", not '" << option->second << "'\n";
      return std::nullopt;
    }
    values[n] = *value;
  }
  if (values[1] > 0) {
    limits.playouts = values[1];
    limits.time.reset();
  }
  if (values[0] > 0) limits.time = std::chrono::milliseconds(values[0]);
  limits.threads = static_cast<int>(values[2]);
  return limits;
}

int RunSelfPlay(const Arguments& args) {
  const auto a = StrengthArgument(args.words[0]);
  const auto b = StrengthArgument(args.words[1]);
  if (!a || !b) return 2;
  const auto games_option = args.options.find("games");
  if (games_option == args.options.end()) {
    std::cerr << "vexa-analyze: selfplay needs --games N\n";
    return 2;
  }
  const auto games = ParseNumber(games_option->second, 1, 100'000'000);
  if (!games) {
    std::cerr << "vexa-analyze: --games must be 1..100000000, not '" << games_option->second
              << "'\n";
    return 2;
  }
  const auto seed = SeedOption(args);
  const auto search = SearchOptions(args);
  if (!seed || !search) return 2;
  if (args.options.count("seed") == 0) std::cerr << "selfplay: seed " << *seed << '\n';

  const auto records = args.options.find("records");
  if (records != args.options.end()) {
    std::error_code error;
    std::filesystem::create_directories(records->second, error);
    if (error) {
      std::cerr << "vexa-analyze: " << records->second << ": " << error.message() << '\n';
      return 2;
    }
  }

  SelfPlay play(*a, *b, *seed, *search);
  long wins_a = 0;
  long wins_b = 0;
  long draws = 0;
  // Long runs report each tenth on standard error; with Master, a run of
  // ten games can be long.
  const bool searching = *a == CpuStrength::Master || *b == CpuStrength::Master;
  const long report_every = *games >= 1000 || (searching && *games >= 10) ? *games / 10 : 0;
  for (long game = 0; game < *games; ++game) {
    // A moves first in the even games, B in the odd ones.
    switch (play.PlayGame(game % 2 == 0)) {
      case SelfPlayResult::WinA:
        ++wins_a;
        break;
      case SelfPlayResult::WinB:
        ++wins_b;
        break;
      case SelfPlayResult::Draw:
        ++draws;
        break;
    }
    if (records != args.options.end()) {
      char name[32];
      std::snprintf(name, sizeof name, "game-%08ld.txt", game + 1);
      std::ofstream out(std::filesystem::path(records->second) / name, std::ios::binary);
      out << WriteRecord(SelfPlayRecord(play, *a, *b));
      if (!out) {
        std::cerr << "vexa-analyze: cannot write " << name << " in " << records->second << '\n';
        return 1;
      }
    }
    if (report_every > 0 && (game + 1) % report_every == 0) {
      std::cerr << "selfplay: " << game + 1 << '/' << *games << " games\n";
    }
  }
  std::cout << StrengthName(*a) << ' ' << wins_a << ' ' << StrengthName(*b) << ' ' << wins_b
            << " draws " << draws << '\n';
  return 0;
}

// --cells: true for "names" (D3), false for "numbers", the default that
// scripts and the records file read.
std::optional<bool> CellNamesOption(const Arguments& args) {
  const auto option = args.options.find("cells");
  if (option == args.options.end() || option->second == "numbers") return false;
  if (option->second == "names") return true;
  std::cerr << "vexa-analyze: --cells is numbers or names, not '" << option->second << "'\n";
  return std::nullopt;
}

// "A,B,C": the least drops in points for "?!", "?" and "??", rising.
std::optional<MarkThresholds> MarksOption(const Arguments& args) {
  const auto option = args.options.find("marks");
  if (option == args.options.end()) return MarkThresholds{};
  std::vector<long> values;
  std::stringstream text(option->second);
  std::string part;
  while (std::getline(text, part, ',')) {
    const auto value = ParseNumber(part, 0, 100);
    if (!value) break;
    values.push_back(*value);
  }
  if (values.size() != 3 || values[0] > values[1] || values[1] > values[2] ||
      option->second.back() == ',') {
    std::cerr << "vexa-analyze: --marks is three rising points 0..100 such as 5,10,20, not '"
              << option->second << "'\n";
    return std::nullopt;
  }
  return MarkThresholds{values[0] / 100.0, values[1] / 100.0, values[2] / 100.0};
}

int RunAnalyseCommand(const Arguments& args) {
  const auto seed = SeedOption(args);
  auto search = SearchOptions(args);
  const auto marks = MarksOption(args);
  const auto names = CellNamesOption(args);
  if (!seed || !search || !marks || !names) return 2;
  if (!args.options.count("playouts")) {
    search->playouts = kAnalysisPlayouts;
    search->time.reset();
  }
  if (args.options.count("seed") == 0) std::cerr << "analyse: seed " << *seed << '\n';
  search->seed = *seed;
  return RunAnalyse(args.words[0], *search, *marks, std::cout, std::cerr, *names);
}

int RunLadderCommand(const Arguments& args) {
  LadderOptions options;
  for (const auto& [name, target] : {std::pair<const char*, long*>{"games", &options.games},
                                     {"master-games", &options.master_games}}) {
    const auto option = args.options.find(name);
    if (option == args.options.end()) continue;
    const auto value = ParseNumber(option->second, 1, 1'000'000);
    if (!value) {
      std::cerr << "vexa-analyze: --" << name << " must be 1..1000000, not '" << option->second
                << "'\n";
      return 2;
    }
    *target = *value;
  }
  if (!args.options.count("master-games")) options.master_games = options.games;
  const auto results = args.options.find("results");
  if (results != args.options.end()) {
    std::ifstream file(results->second);
    const auto table = file ? ReadLadder(options, file) : std::nullopt;
    if (!table) {
      std::cerr << "vexa-analyze: " << results->second << ": no ladder's lines\n";
      return 1;
    }
    PrintLadder(*table, std::cout);
    return 0;
  }
  const auto seed = SeedOption(args);
  const auto search = SearchOptions(args);
  if (!seed || !search) return 2;
  if (args.options.count("seed") == 0) std::cerr << "ladder: seed " << *seed << '\n';
  options.seed = *seed;
  options.threads = search->threads;
  PrintLadder(PlayLadder(options, std::cerr), std::cout);
  return 0;
}

// Games between mixed strengths, every position searched at the analysis's
// budget: with "check" the Brier score and reliability of the program's
// chances on them, with "fit" the curve fitted to them and its figures.
int RunCalibrateCommand(const Arguments& args) {
  const auto games = args.options.find("games");
  const auto count =
      games == args.options.end() ? std::nullopt : ParseNumber(games->second, 1, 100000);
  if (!count) {
    std::cerr << "vexa-analyze: calibrate needs --games N (1..100000)\n";
    return 2;
  }
  const auto seed = SeedOption(args);
  auto search = SearchOptions(args);
  if (!seed || !search) return 2;
  if (!args.options.count("playouts")) {
    search->playouts = kAnalysisPlayouts;
    search->time.reset();
  }
  if (args.options.count("seed") == 0) std::cerr << "calibrate: seed " << *seed << '\n';
  search->seed = *seed;
  const std::vector<CalibrationSample> samples =
      CollectSamples(static_cast<int>(*count), *seed, *search, std::cerr);
  const bool fit = args.words[0] == "fit";
  PrintCalibration(samples, fit ? FitCalibration(samples) : FittedCalibration(), std::cout);
  return 0;
}

int Run(const std::vector<std::string>& all) {
  if (all.empty()) return Usage();
  // Asked for, the usage goes to standard output with success, as every
  // program of the package answers --help; only a wrong line gets it on
  // standard error.
  // "analyze" is the same command as "analyse".
  const std::string command = all[0] == "analyze" ? "analyse" : all[0];
  for (const std::string& word : all) {
    if (word == "--help" || word == "-h") {
      // After a command, that command's help.
      for (const CommandHelp& help : kCommandHelp) {
        if (command == help.command) {
          std::cout << help.text;
          return 0;
        }
      }
      std::cout << kUsage;
      return 0;
    }
  }
  if (command == "--version" && all.size() == 1) {
    std::cout << "vexa-analyze " << VEXA_VERSION << '\n';
    return 0;
  }
  const std::vector<std::string> rest(all.begin() + 1, all.end());

  if (command == "squares" || command == "reaches") {
    if (rest.size() != 1) return Usage();
    const auto side = SideArgument(rest[0]);
    if (!side) return 2;
    return ForEachBoard([&](const BoardLine& board, std::string&) {
      std::cout << (command == "squares" ? SquaresLine(board, *side) : ReachesLine(board, *side))
                << '\n';
      return true;
    });
  }

  if (command == "cpu") {
    const auto args = SplitArguments(rest, {"seed", "budget-ms", "playouts", "threads"});
    if (!args) return 2;
    if (args->words.size() != 1) return Usage();
    const auto strength = StrengthArgument(args->words[0]);
    const auto seed = SeedOption(*args);
    auto search = SearchOptions(*args);
    if (!strength || !seed || !search) return 2;
    SeededCellSource random(*seed);  // one seeding for all boards
    search->seed = *seed;
    return ForEachBoard([&](const BoardLine& board, std::string& error) {
      const auto line = CpuMoveLine(board, *strength, random, *search, error);
      if (line) std::cout << *line << '\n';
      return line.has_value();
    });
  }

  if (command == "selfplay") {
    const auto args =
        SplitArguments(rest, {"games", "seed", "records", "budget-ms", "playouts", "threads"});
    if (!args) return 2;
    if (args->words.size() != 2) return Usage();
    return RunSelfPlay(*args);
  }

  if (command == "analyse") {
    const auto args = SplitArguments(rest, {"playouts", "threads", "seed", "marks", "cells"});
    if (!args) return 2;
    if (args->words.empty()) return MissingFile(command);
    if (args->words.size() != 1) return Usage();
    return RunAnalyseCommand(*args);
  }

  if (command == "ladder") {
    const auto args = SplitArguments(rest, {"games", "master-games", "seed", "threads", "results"});
    if (!args) return 2;
    if (!args->words.empty()) return Usage();
    return RunLadderCommand(*args);
  }

  if (command == "calibrate") {
    const auto args = SplitArguments(rest, {"games", "seed", "playouts", "threads"});
    if (!args) return 2;
    if (args->words.size() != 1 || (args->words[0] != "fit" && args->words[0] != "check")) {
      return Usage();
    }
    return RunCalibrateCommand(*args);
  }

  if (command == "record") {
    std::vector<std::string> words;
    bool grid = false;
    for (const std::string& word : rest) {
      if (word == "--grid") {
        grid = true;
      } else {
        words.push_back(word);
      }
    }
    const auto args = SplitArguments(words, {"cells"});
    if (!args) return 2;
    const auto names = CellNamesOption(*args);
    if (!names) return 2;
    if (args->words.empty()) return MissingFile(command);
    if (args->words.size() != 1) return Usage();
    return RunRecord(args->words[0], grid, *names);
  }

  std::cerr << "vexa-analyze: unknown command '" << command << "'\n";
  return Usage();
}

}  // namespace
}  // namespace vexa::tools

int main(int argc, char** argv) {
  return vexa::tools::Run(std::vector<std::string>(argv + 1, argv + argc));
}
