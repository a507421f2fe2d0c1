#include "tools/ladder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vexa::tools {
namespace {

// The row of `name` in the printed table's first part.
std::string RowOf(const std::string& table, const std::string& name) {
  std::istringstream lines(table);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind(name + ' ', 0) == 0) return line;
  }
  return {};
}

// A run's progress lines read back: draws count as games and as half a
// point each, and the ratings are fitted from those points.
TEST(Ladder, ResultsWithDrawsCountInGamesScoresAndRatings) {
  std::istringstream lines(
      "ladder: Easy 0 Normal 1 draws 3\n"
      "some other line\n"
      "ladder: Easy 0 Hard 4 draws 0\n");
  const std::optional<LadderTable> table = ReadLadder(LadderOptions{}, lines);
  ASSERT_TRUE(table);
  std::ostringstream out;
  PrintLadder(*table, out);
  // Easy: 1.5 points of 4 against Normal, none of 4 against Hard.
  EXPECT_NE(RowOf(out.str(), "Easy").find("1.5 / 8"), std::string::npos) << out.str();
  // Normal: 2.5 of 4, 400 log10(2.5 / 1.5) = 89 above Easy.
  const std::string normal = RowOf(out.str(), "Normal");
  EXPECT_NE(normal.find("2.5 / 4"), std::string::npos) << out.str();
  EXPECT_NE(normal.find("     89  "), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("0-3-1"), std::string::npos) << out.str();

  std::istringstream unknown("ladder: Easy 1 Nobody 0 draws 0\n");
  EXPECT_FALSE(ReadLadder(LadderOptions{}, unknown));
}

// A run of few games read back from its progress lines: the Master that
// lost to its twin but to nobody below gets a bound, not "(never lost)",
// and the order line does not rank what four games cannot.
TEST(Ladder, SaysOnlyWhatItsFewGamesShow) {
  std::istringstream lines(
      "ladder: Easy 1 Normal 3 draws 0\n"
      "ladder: Easy 0 Hard 4 draws 0\n"
      "ladder: Easy 0 VeryHard 4 draws 0\n"
      "ladder: Easy 0 Master-25000 1 draws 0\n"
      "ladder: Easy 0 Master-100000 1 draws 0\n"
      "ladder: Normal 1 Hard 3 draws 0\n"
      "ladder: Normal 0 VeryHard 4 draws 0\n"
      "ladder: Normal 0 Master-25000 1 draws 0\n"
      "ladder: Normal 0 Master-100000 1 draws 0\n"
      "ladder: Hard 2 VeryHard 2 draws 0\n"
      "ladder: Hard 0 Master-25000 1 draws 0\n"
      "ladder: Hard 0 Master-100000 1 draws 0\n"
      "ladder: VeryHard 0 Master-25000 1 draws 0\n"
      "ladder: VeryHard 0 Master-100000 1 draws 0\n"
      "ladder: Master-25000 1 Master-100000 0 draws 0\n");
  const std::optional<LadderTable> table = ReadLadder(LadderOptions{}, lines);
  ASSERT_TRUE(table);
  std::ostringstream out;
  PrintLadder(*table, out);
  const std::string text = out.str();
  EXPECT_NE(RowOf(text, "Master-25000").find("(never lost)"), std::string::npos) << text;
  EXPECT_NE(RowOf(text, "Master-100000").find("(lower bound)"), std::string::npos) << text;
  EXPECT_EQ(RowOf(text, "Master-100000").find("never lost"), std::string::npos) << text;
  EXPECT_NE(text.find("Hard ~ VeryHard"), std::string::npos) << text;
  EXPECT_EQ(text.find("VeryHard < Hard"), std::string::npos) << text;
}

}  // namespace
}  // namespace vexa::tools
