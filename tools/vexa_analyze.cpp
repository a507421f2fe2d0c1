// vexa-analyze: analyses boards read from standard input, one per line,
// without any window.
//
//   vexa-analyze squares SIDE   every corner set the judge accepts for SIDE

#include <iostream>
#include <string>
#include <vector>

#include "board_line.h"
#include "square_scan.h"

namespace vexa::tools {
namespace {

int Usage() {
  std::cerr << "usage: vexa-analyze squares SIDE   (boards on standard input)\n"
               "  SIDE is 1..4; a board is 121 characters 0..5, optionally followed by\n"
               "  blank-separated name=value fields\n";
  return 2;
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

int Run(const std::vector<std::string>& args) {
  if (args.size() == 2 && args[0] == "squares") {
    const auto side = ParseNumber(args[1], 1, 4);
    if (!side) {
      std::cerr << "vexa-analyze: SIDE must be 1..4, not '" << args[1] << "'\n";
      return 2;
    }
    return ForEachBoard([&](const BoardLine& board, std::string&) {
      std::cout << SquaresLine(board, static_cast<Side>(*side)) << '\n';
      return true;
    });
  }
  return Usage();
}

}  // namespace
}  // namespace vexa::tools

int main(int argc, char** argv) {
  return vexa::tools::Run(std::vector<std::string>(argv + 1, argv + argc));
}
