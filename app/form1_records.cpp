// Records of games: each game that ends is written to the data folder's
// games folder as it ends.

#include "form1.h"
#include "game_record_files.h"

namespace vexa::app {

namespace {

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

}  // namespace

GameRecord Form1::RecordOf(const Outcome& outcome) const {
  const bool has_result = outcome.how != EndReason::Abandoned && outcome.how != EndReason::PeerLeft;
  GameRecord record;
  auto add = [&record](const char* key, const QString& value) {
    // A value is one line: a name cannot break the format.
    QString line = value;
    line.replace(u'\n', u' ').replace(u'\r', u' ');
    record.headers.emplace_back(key, line.toStdString());
  };
  add("date", QDateTime::currentDateTime().toString(Qt::ISODate));
  add("mode", QString::fromLatin1(ModeName(Mode())));
  add("left", Frame1[0]->title());
  add("right", Frame1[1]->title());
  if (Mode() == GameMode::VsCpu) add("strength", QString::fromLatin1(StrengthName(Strength())));
  const std::vector<Move>& history = game.History();
  add("first", QString::number(!history.empty() && history.front().side != Player1 ? 2 : 1));
  add("result", has_result ? QString::fromStdString(game.ResultText(outcome.winner))
                           : QStringLiteral("abandoned"));
  add("how", QString::fromLatin1(HowName(outcome.how)));
  add("winner", QString::number(RecordSide(outcome.winner)));
  record.moves = RecordMoves(history);
  return record;
}

void Form1::GameEnded(const Outcome& outcome) {
  last_record_ = RecordOf(outcome);
  const QString folder = GamesFolder(places_.data_folder);
  // A record that cannot be written costs nothing of the game: it is still
  // there to be saved by hand.
  if (SaveRecordFile(NewRecordPath(folder, QDateTime::currentDateTime()), *last_record_)) {
    PruneRecordFiles(folder);
  }
}

}  // namespace vexa::app
