#pragma once

// The record of one game as a text file: comment lines beginning with '#',
// header lines "key value", a line "moves", then one placement per line
// "SIDE KIND CELL" (SIDE 1 for the left panel's side and 2 for the right
// panel's, KIND P for a piece and B for a blocker, CELL 0..120). Reading a
// record replays its moves by the rules, so a record that parses is a game
// that could have been played.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/board.h"
#include "core/modes.h"
#include "core/move.h"

namespace vexa {

struct GameRecord {
  // In the order they are written; the keys this program writes are date,
  // mode, left, right, strength (VS CPU), first, result, how and winner.
  std::vector<std::pair<std::string, std::string>> headers;
  // Side 1 is the left panel's side, side 2 the right panel's.
  std::vector<Move> moves;

  // The value of a header, or nothing.
  std::optional<std::string> Header(const std::string& key) const;
};

// How a record names an ending ("square", "stock", "time", "lose", "left",
// "abandoned").
const char* HowName(EndReason how);
std::optional<EndReason> ParseHow(const std::string& name);

std::string WriteRecord(const GameRecord& record);

// A mode as a record names it: "VS CPU", "VS Human" or "VS Online".
const char* ModeName(GameMode mode);
std::optional<GameMode> ParseMode(const std::string& name);
// A strength as a record and the option buttons name it ("Easy" ... "Master").
std::optional<CpuStrength> ParseStrength(const std::string& name);

// What a record says of a game that was played: its header lines and its
// placements, made here for every program that writes records.
struct PlayedGame {
  std::string date;  // ISO 8601
  GameMode mode = GameMode::VsCpu;
  std::string left;  // the panels' captions
  std::string right;
  CpuStrength strength = CpuStrength::Easy;  // written in "VS CPU" only
  const std::vector<Move>* history = nullptr;
  Outcome outcome;
  std::string result_text;  // the result dialog's text; unused without a result
};
GameRecord RecordOfGame(const PlayedGame& game);

// A game's side in a record: 1 for Player1, 2 for the other side, 0 for
// none (a draw's winner).
constexpr Side RecordSide(Side side) {
  return side == Player1 ? 1 : side == 0 ? 0 : 2;
}
// A game's placements with their sides as a record writes them.
std::vector<Move> RecordMoves(const std::vector<Move>& history);

// One position of a replayed record: the board after a number of placements,
// in record sides (pieces 1 and 2, blockers 5), with both sides' stocks.
struct RecordPosition {
  BoardCells board{};
  int pieces[2] = {kPiecesPerSide, kPiecesPerSide};
  int blockers[2] = {kBlockersPerSide, kBlockersPerSide};
};

struct RecordReading {
  std::optional<GameRecord> record;
  // When the text is no valid record: the first line at fault (from 1) and
  // what is wrong with it.
  int error_line = 0;
  std::string error;
  // The positions after 0, 1, ... placements, and how the moves ended the
  // game on the board (a square or the stocks), if they did.
  std::vector<RecordPosition> positions;
  std::optional<Outcome> board_outcome;
};

// Reads and checks a record: headers "date", "mode", "first", "result" and
// "how" present, a "moves" line, every placement legal in turn (the side to
// move, a playable empty cell, a stock left, nothing after a square or both
// stocks used up).
RecordReading ReadRecord(const std::string& text);

}  // namespace vexa
