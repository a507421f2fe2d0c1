// Records of games: each game that ends is written to the data folder's
// games folder as it ends.

#include "app/window/form1.h"
#include "app/records/game_record_files.h"

namespace vexa::app {

GameRecord Form1::RecordOf(const Outcome& outcome) const {
  return RecordOfGame({.date = QDateTime::currentDateTime().toString(Qt::ISODate).toStdString(),
                       .mode = Mode(),
                       .left = board_->Caption(0).toStdString(),
                       .right = board_->Caption(1).toStdString(),
                       .strength = Strength(),
                       .history = &game.History(),
                       .outcome = outcome,
                       .result_text = game.ResultText(outcome.winner)});
}

void Form1::GameEnded(const Outcome& outcome) {
  // The result dialog names only the winner; the status bar beside it says
  // that the clock decided.
  if (outcome.how == EndReason::Time) aids_->Notice(tr("時間切れで負けました"));
  if (outcome.how == EndReason::PeerLose) aids_->Notice(tr("相手の時間切れで勝ちました"));
  const GameRecord record = RecordOf(outcome);
  aids_->GameRecorded(record);
  const QString folder = GamesFolder(places_.data_folder);
  // A record that cannot be written costs nothing of the game: it is still
  // there to be saved by hand.
  if (SaveRecordFile(NewRecordPath(folder, QDateTime::currentDateTime()), record)) {
    PruneRecordFiles(folder);
  }
}

}  // namespace vexa::app
