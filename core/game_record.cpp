#include "core/game_record.h"

#include <sstream>

#include "core/position.h"

namespace vexa {

namespace {

constexpr const char* kHowNames[] = {"square", "stock", "time", "lose", "left", "abandoned"};
constexpr EndReason kHows[] = {EndReason::Square,   EndReason::StockOut, EndReason::Time,
                               EndReason::PeerLose, EndReason::PeerLeft, EndReason::Abandoned};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  std::string word;
  while (in >> word)
    words.push_back(word);
  return words;
}

std::optional<int> CellNumber(const std::string& word) {
  if (word.empty() || word.size() > 3) return std::nullopt;
  int value = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// Replays the moves by the rules, telling what is wrong with a placement
// they do not allow.
class Replayer {
 public:
  explicit Replayer(Side first) : position_(1, 2, first) { Keep(); }

  // An empty string when the move is legal (it is then played), else what
  // is wrong with it.
  std::string Play(const Move& move) {
    if (const std::optional<Illegal> why = position_.Refusal(move)) {
      return DescribeIllegal(*why, move);
    }
    position_.Play(move);
    Keep();
    return {};
  }

  const std::optional<Outcome>& Result() const { return position_.Result(); }

  std::vector<RecordPosition> positions;

 private:
  void Keep() {
    RecordPosition kept;
    kept.board = position_.Board();
    for (const Side side : {1, 2}) {
      kept.pieces[side - 1] = position_.Pieces(side);
      kept.blockers[side - 1] = position_.Blockers(side);
    }
    positions.push_back(kept);
  }

  Position position_;
};

}  // namespace

std::optional<std::string> GameRecord::Header(const std::string& key) const {
  for (const auto& [k, v] : headers) {
    if (k == key) return v;
  }
  return std::nullopt;
}

const char* HowName(EndReason how) {
  for (std::size_t i = 0; i < std::size(kHows); ++i) {
    if (kHows[i] == how) return kHowNames[i];
  }
  return "abandoned";
}

std::optional<EndReason> ParseHow(const std::string& name) {
  for (std::size_t i = 0; i < std::size(kHows); ++i) {
    if (name == kHowNames[i]) return kHows[i];
  }
  return std::nullopt;
}

std::vector<Move> RecordMoves(const std::vector<Move>& history) {
  std::vector<Move> moves;
  moves.reserve(history.size());
  for (const Move& move : history)
    moves.push_back({RecordSide(move.side), move.cell, move.kind});
  return moves;
}

const char* ModeName(GameMode mode) {
  switch (mode) {
    case GameMode::VsCpu:
      return "VS CPU";
    case GameMode::VsHuman:
      return "VS Human";
    case GameMode::VsOnline:
      break;
  }
  return "VS Online";
}

std::optional<GameMode> ParseMode(const std::string& name) {
  for (const GameMode mode : {GameMode::VsCpu, GameMode::VsHuman, GameMode::VsOnline}) {
    if (name == ModeName(mode)) return mode;
  }
  return std::nullopt;
}

std::optional<CpuStrength> ParseStrength(const std::string& name) {
  for (int index = 0; index <= static_cast<int>(CpuStrength::Master); ++index) {
    const auto strength = static_cast<CpuStrength>(index);
    if (name == StrengthName(strength)) return strength;
  }
  return std::nullopt;
}

GameRecord RecordOfGame(const PlayedGame& game) {
  const bool has_result =
      game.outcome.how != EndReason::Abandoned && game.outcome.how != EndReason::PeerLeft;
  const std::vector<Move>& history = *game.history;
  GameRecord record;
  auto add = [&record](const char* key, std::string value) {
    // A value is one line: a name cannot break the format.
    for (char& c : value) {
      if (c == '\n' || c == '\r') c = ' ';
    }
    record.headers.emplace_back(key, std::move(value));
  };
  add("date", game.date);
  add("mode", ModeName(game.mode));
  add("left", game.left);
  add("right", game.right);
  if (game.mode == GameMode::VsCpu) add("strength", StrengthName(game.strength));
  add("first", !history.empty() && history.front().side != Player1 ? "2" : "1");
  add("result", has_result ? game.result_text : "abandoned");
  add("how", HowName(game.outcome.how));
  add("winner", std::to_string(RecordSide(game.outcome.winner)));
  record.moves = RecordMoves(history);
  return record;
}

std::string WriteRecord(const GameRecord& record) {
  std::string out = "# vexa game record\n";
  for (const auto& [key, value] : record.headers)
    out += key + ' ' + value + '\n';
  out += "moves\n";
  for (const Move& move : record.moves) {
    out += std::to_string(move.side) + (move.kind == MoveKind::Piece ? " P " : " B ") +
           std::to_string(move.cell) + '\n';
  }
  return out;
}

RecordReading ReadRecord(const std::string& text) {
  RecordReading reading;
  const auto fail = [&reading](int line, std::string what) {
    reading.error_line = line;
    reading.error = std::move(what);
    reading.positions.clear();
    reading.board_outcome.reset();
    return reading;
  };

  GameRecord record;
  const std::vector<std::string> lines = Lines(text);
  std::size_t at = 0;
  int moves_line = 0;
  for (; at < lines.size(); ++at) {
    const std::string& line = lines[at];
    const int number = static_cast<int>(at) + 1;
    if (line.empty() || line[0] == '#') continue;
    if (line == "moves") {
      moves_line = number;
      ++at;
      break;
    }
    const std::size_t blank = line.find(' ');
    if (blank == 0 || blank == std::string::npos || blank + 1 == line.size()) {
      return fail(number, "a header line is \"key value\"");
    }
    record.headers.emplace_back(line.substr(0, blank), line.substr(blank + 1));
  }
  if (moves_line == 0) return fail(static_cast<int>(lines.size()), "no line \"moves\"");

  for (const char* key : {"date", "mode", "first", "result", "how"}) {
    if (!record.Header(key)) return fail(moves_line, std::string("no header \"") + key + "\"");
  }
  const std::string mode = record.Header("mode").value_or("");
  if (!ParseMode(mode)) {
    return fail(moves_line, "mode \"" + mode + "\" is none of VS CPU, VS Human, VS Online");
  }
  const std::string first = record.Header("first").value_or("");
  if (first != "1" && first != "2") return fail(moves_line, "first is 1 or 2");
  const std::optional<EndReason> how = ParseHow(*record.Header("how"));
  if (!how) return fail(moves_line, "how \"" + *record.Header("how") + "\" is unknown");

  Replayer replay(first == "1" ? 1 : 2);
  for (; at < lines.size(); ++at) {
    const std::string& line = lines[at];
    const int number = static_cast<int>(at) + 1;
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string> words = Words(line);
    const std::optional<int> cell = words.size() == 3 ? CellNumber(words[2]) : std::nullopt;
    if (words.size() != 3 || (words[0] != "1" && words[0] != "2") ||
        (words[1] != "P" && words[1] != "B") || !cell) {
      return fail(number, "a placement is \"SIDE KIND CELL\": 1 or 2, P or B, 0..120");
    }
    if (*cell >= kCellCount) return fail(number, "cell " + words[2] + " is outside the board");
    const Move move{static_cast<Side>(words[0][0] - '0'), *cell,
                    words[1] == "P" ? MoveKind::Piece : MoveKind::Blocker};
    const std::string illegal = replay.Play(move);
    if (!illegal.empty()) return fail(number, illegal);
    record.moves.push_back(move);
  }

  // The ending the file names must be the one the board shows.
  const bool board_ended = replay.Result().has_value();
  const bool names_board_ending = *how == EndReason::Square || *how == EndReason::StockOut;
  if (board_ended != names_board_ending || (board_ended && replay.Result()->how != *how)) {
    return fail(static_cast<int>(lines.size()),
                "the placements do not end the game as \"how " + *record.Header("how") + "\" says");
  }
  reading.positions = std::move(replay.positions);
  reading.board_outcome = replay.Result();
  reading.record = std::move(record);
  return reading;
}

}  // namespace vexa
