#include "app/aids/replay_aid.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QMainWindow>
#include <QPointer>
#include <QTreeView>
#include <algorithm>

#include "app/dialogs/message_box.h"
#include "app/records/game_record_files.h"
#include "app/window/twips.h"
#include "core/cell_name.h"

namespace vexa::app {

namespace {

// The file dialogs' detail view with its name, size, type and date columns
// each as wide as its longest text, the name taking what is left.
void ShowColumnsWhole(QFileDialog* dialog) {
  dialog->setViewMode(QFileDialog::Detail);
  dialog->resize(std::max(dialog->width(), Px(9600)), std::max(dialog->height(), Px(6000)));
  auto* list = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
  if (!list) return;
  QHeaderView* header = list->header();
  header->setStretchLastSection(false);
  header->setSectionResizeMode(QHeaderView::ResizeToContents);
  header->setSectionResizeMode(0, QHeaderView::Stretch);
}

// "vexa-20261209-1143.txt" for a game of that date (the record's own, or
// now when it has none that reads).
QString SavedRecordName(const GameRecord& record) {
  QDateTime date = QDateTime::fromString(QString::fromStdString(record.Header("date").value_or("")),
                                         Qt::ISODate);
  if (!date.isValid()) date = QDateTime::currentDateTime();
  return date.toString(QStringLiteral("'vexa-'yyyyMMdd-HHmm'.txt'"));
}

// Shows a file dialog of the records with its columns whole; the file
// chosen, or nothing when it was cancelled or went away.
Task<std::optional<QString>> ChosenFile(QPointer<QFileDialog> dialog) {
  ShowColumnsWhole(dialog);
  const int answer = co_await RunModal(dialog);
  if (!dialog) co_return std::nullopt;
  const QStringList files = dialog->selectedFiles();
  dialog->deleteLater();
  if (answer != QDialog::Accepted || files.isEmpty()) co_return std::nullopt;
  co_return files.front();
}

}  // namespace

ReplayAid::ReplayAid(Window window)
    : w_(std::move(window)),
      analysis_({w_.window, w_.client, w_.runner, w_.tasks, [this](int step) { ShowStep(step); },
                 [this] { w_.changed(); }}) {}

Task<> ReplayAid::SaveRecordAs() {
  GameRecord record;
  if (replay_) {
    record = replay_->record;
  } else if (w_.game.GameRunning() && !w_.game.History().empty()) {
    // The game so far; read back, it is a game that was given up there.
    record = w_.record_of({0, EndReason::Abandoned, std::nullopt});
  } else if (last_record_) {
    record = *last_record_;
  } else {
    co_return;
  }
  QPointer<QFileDialog> dialog = new QFileDialog(w_.window, tr("棋譜を保存"));
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setNameFilter(tr("棋譜 (*.txt)"));
  dialog->setDefaultSuffix(QStringLiteral("txt"));
  // Beside the games kept on their own, under a name of the game's date that
  // the pruning of old games leaves alone.
  const QString folder = GamesFolder(w_.data_folder);
  QDir().mkpath(folder);
  dialog->setDirectory(folder);
  dialog->selectFile(SavedRecordName(record));
  const std::optional<QString> file = co_await ChosenFile(dialog);
  if (!file) co_return;
  if (!SaveRecordFile(*file, record)) {
    co_await ShowMessageBox(w_.window, tr("棋譜を保存できませんでした。\n") + *file,
                            QMessageBox::Critical, QMessageBox::Ok);
    co_return;
  }
  w_.notice(tr("棋譜を保存しました: %1").arg(QDir::toNativeSeparators(*file)));
}

Task<> ReplayAid::OpenRecord() {
  if (w_.game.GameRunning()) co_return;
  QPointer<QFileDialog> dialog = new QFileDialog(w_.window, tr("棋譜を開く"));
  dialog->setFileMode(QFileDialog::ExistingFile);
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setNameFilter(tr("棋譜 (*.txt);;すべてのファイル (*)"));
  dialog->setDirectory(GamesFolder(w_.data_folder));
  const std::optional<QString> file = co_await ChosenFile(dialog);
  if (file) co_await OpenRecordFile(*file);
}

Task<> ReplayAid::OpenRecordFile(QString path) {
  const std::optional<std::string> text = ReadRecordFile(path);
  RecordReading reading = text ? ReadRecord(*text) : RecordReading{};
  if (!text) reading.error = "the file cannot be read";
  if (!reading.record) {
    // Nothing of the game on the board is touched.
    const QString where =
        reading.error_line > 0 ? tr("%1 行目: ").arg(reading.error_line) : QString();
    co_await ShowMessageBox(w_.window,
                            tr("棋譜を読み込めませんでした。\n") + path + u'\n' + where +
                                QString::fromStdString(reading.error),
                            QMessageBox::Critical, QMessageBox::Ok);
    co_return;
  }
  // A game may have started while the dialog was open.
  if (w_.game.GameRunning()) co_return;
  Enter(std::move(reading));
}

void ReplayAid::Enter(RecordReading reading) {
  analysis_.Clear();
  const OptionPanel::Choices players =
      replay_ ? replay_->players_choices : w_.options.CurrentChoices();
  replay_ = Replay{std::move(*reading.record), std::move(reading.positions), reading.board_outcome,
                   0, players};
  // The panel shows the recorded game's mode and strength.
  const GameRecord& record = replay_->record;
  w_.options.ShowChoices(
      {ParseMode(record.Header("mode").value_or("")).value_or(players.mode),
       ParseStrength(record.Header("strength").value_or("")).value_or(players.strength)});
  w_.set_option_controls(PanelCode::GameRunning, false);
  w_.board.LightLamp(0);
  w_.board.SetCaptions(QString::fromStdString(record.Header("left").value_or("1")),
                       QString::fromStdString(record.Header("right").value_or("2")));
  ShowStep(static_cast<int>(record.moves.size()));
}

void ReplayAid::ShowStep(int step) {
  if (!replay_) return;
  step = std::clamp(step, 0, static_cast<int>(replay_->record.moves.size()));
  replay_->step = step;
  w_.notice(QString());
  const RecordPosition& position = replay_->positions[static_cast<std::size_t>(step)];
  w_.board.ShowBoard(position.board);
  w_.board.ShowStocks(position.pieces, position.blockers);
  const bool at_end = step == static_cast<int>(replay_->record.moves.size());
  if (at_end && replay_->board_outcome && replay_->board_outcome->square) {
    w_.board.DrawOutline(*replay_->board_outcome->square, replay_->board_outcome->winner);
  } else {
    w_.board.HideOutline();
  }
  analysis_.StepShown(step);
  w_.changed();
}

void ReplayAid::Leave() {
  analysis_.Clear();
  if (!replay_) return;
  w_.options.ShowChoices(replay_->players_choices);
  // The record's names go with it.
  w_.board.ShowOwnCaptions(replay_->players_choices.mode);
  replay_.reset();
  w_.notice(QString());
}

void ReplayAid::Analyse() {
  if (analysis_.Running()) return;
  if (!replay_) {
    if (w_.game.GameRunning() || !last_record_) return;
    RecordReading reading = ReadRecord(WriteRecord(*last_record_));
    if (!reading.record) return;
    Enter(std::move(reading));
  }
  analysis_.Start(replay_->record.moves, replay_->record.Header("first") == "2" ? 2 : 1);
}

std::vector<Move> ReplayAid::MovesShown() const {
  if (!replay_) return {};
  return {replay_->record.moves.begin(), replay_->record.moves.begin() + replay_->step};
}

const AnalysedTurn* ReplayAid::AnalysedStep() const {
  return replay_ ? analysis_.TurnAt(replay_->step) : nullptr;
}

QString ReplayAid::StatusText() const {
  if (!replay_) return QString();
  // An analysed step: its mark in place of what the record says.
  const QString analysed = analysis_.StatusText(replay_->step);
  QString step = tr("手 %1 / %2").arg(replay_->step).arg(replay_->record.moves.size());
  // The placement that led to the board on show, by its cell's name.
  if (replay_->step > 0) {
    const Move& last = replay_->record.moves[static_cast<std::size_t>(replay_->step - 1)];
    step += u' ' + QString::fromStdString(TurnCellNames({last}));
  }
  return step + u'　' + (analysed.isEmpty() ? RecordLine() : analysed);
}

QString ReplayAid::RecordLine() const {
  const GameRecord& record = replay_->record;
  const auto header = [&record](const char* key) {
    return QString::fromStdString(record.Header(key).value_or(""));
  };
  QStringList parts;
  const QDateTime date = QDateTime::fromString(header("date"), Qt::ISODate);
  parts << (date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : header("date"));
  const QString strength = header("strength");
  parts << (strength.isEmpty() ? header("mode") : header("mode") + u' ' + strength);
  const QString how = header("how");
  if (header("result") == QLatin1String("abandoned")) {
    parts << (how == QLatin1String("left") ? tr("相手の離脱で終了") : tr("中断"));
  } else {
    parts << (how == QLatin1String("time") ? tr("%1（時間切れ）").arg(header("result"))
                                           : header("result"));
  }
  return parts.join(QStringLiteral("　"));
}

}  // namespace vexa::app
