#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/game.h"
#include "core/game_record.h"
#include "recording_shell.h"

namespace vexa {
namespace {

using testing::RecordingShell;
using testing::RunToEnd;

// The record of a "VS Human" game that Player1 wins with the square
// 12-13-24-23, Player2 placing a blocker on its way.
GameRecord PlayedRecord() {
  RecordingShell shell;
  Game game(shell);
  RunToEnd(game.StartGame(StartedFrom::Menu));
  for (int cell : {12, 50, 13})
    RunToEnd(game.PlaceLocal(cell, MoveKind::Piece));
  RunToEnd(game.PlaceLocal(60, MoveKind::Blocker));
  for (int cell : {51, 23, 52, 24})
    RunToEnd(game.PlaceLocal(cell, MoveKind::Piece));
  GameRecord record;
  record.headers = {{"date", "2026-12-08T05:44:07"},
                    {"mode", "VS Human"},
                    {"left", "Player1"},
                    {"right", "Player2"},
                    {"first", "1"},
                    {"result", "Player1 Win"},
                    {"how", "square"},
                    {"winner", "1"}};
  record.moves = game.History();
  return record;
}

TEST(GameRecord, AWrittenRecordReadsBackAndReplaysToTheSameEnding) {
  const GameRecord record = PlayedRecord();
  const std::string text = WriteRecord(record);
  EXPECT_THAT(text, ::testing::HasSubstr("\nmoves\n1 P 12\n2 P 50\n1 P 13\n2 B 60\n2 P 51\n"));

  const RecordReading reading = ReadRecord(text);
  ASSERT_TRUE(reading.record) << reading.error_line << ": " << reading.error;
  EXPECT_EQ(reading.record->moves, record.moves);
  EXPECT_EQ(reading.record->headers, record.headers);
  ASSERT_EQ(reading.positions.size(), record.moves.size() + 1);
  const RecordPosition& last = reading.positions.back();
  EXPECT_EQ(last.board[24], 1);
  EXPECT_EQ(last.board[60], Blocker);
  EXPECT_EQ(last.blockers[1], kBlockersPerSide - 1);
  EXPECT_EQ(last.pieces[0], kPiecesPerSide - 4);
  EXPECT_EQ(reading.board_outcome, (Outcome{1, EndReason::Square, SquareCorners{12, 13, 24, 23}}));

  // Saved again by a Windows editor, with CR LF line ends: the same record.
  std::string crlf;
  for (const char c : text)
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const RecordReading from_windows = ReadRecord(crlf);
  ASSERT_TRUE(from_windows.record) << from_windows.error_line << ": " << from_windows.error;
  EXPECT_EQ(from_windows.record->headers, record.headers);
  EXPECT_EQ(from_windows.record->moves, record.moves);
}

// Each fault names its line; nothing of it is returned as a record.
TEST(GameRecord, ABrokenRecordIsRefusedAtTheLineAtFault) {
  const std::string good = WriteRecord(PlayedRecord());
  const auto replaced = [&good](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  struct Case {
    std::string text;
    int line;
    std::string says;
  };
  // Line 1 is the comment, 2..9 the headers, 10 "moves", 11.. the moves.
  const Case cases[] = {
      {replaced("left Player1\n", "left\n"), 4, "key value"},
      {replaced("mode VS Human", "mode VS Cat"), 10, "mode"},
      {replaced("how square", "how maybe"), 10, "how"},
      {replaced("\nmoves\n", "\n"), 17, "moves"},
      {replaced("2 P 50\n", "2 P 121\n"), 12, "outside the board"},
      {replaced("2 P 50\n", "2 P 110\n"), 12, "not a playable cell"},
      {replaced("2 P 50\n", "2 P 12\n"), 12, "taken"},
      {replaced("2 P 50\n", "1 P 50\n"), 12, "out of turn"},
      {replaced("2 P 50\n", "2 Q 50\n"), 12, "SIDE KIND CELL"},
      {good + "2 P 90\n", 19, "after the end"},
      {replaced("how square", "how time"), 18, "do not end the game"},
      {replaced("how square", "how stock"), 18, "do not end the game"},
      {replaced("2 P 50\n", "2 B 70\n2 B 71\n2 B 72\n2 B 73\n2 B 74\n2 B 75\n2 B 76\n"), 18,
       "no blocker left"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.says);
    const RecordReading reading = ReadRecord(c.text);
    EXPECT_FALSE(reading.record);
    EXPECT_EQ(reading.error_line, c.line);
    EXPECT_THAT(reading.error, ::testing::HasSubstr(c.says));
    EXPECT_TRUE(reading.positions.empty());
  }
}

}  // namespace
}  // namespace vexa
