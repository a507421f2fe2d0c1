#include "app/window/form1.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLayout>
#include <utility>

#include "app/dialogs/form2.h"
#include "app/dialogs/message_box.h"
#include "app/dialogs/name_dialogs.h"
#include "app/window/caption_fit.h"
#include "app/window/program_setup.h"
#include "app/window/twips.h"
#include "cpu/reach_list_text.h"
#include "net/qt_await.h"
#include "net/qt_search_runner.h"

namespace vexa::app {

namespace {
constexpr int kClientWidth = 9915;
constexpr int kClientHeight = 7275;
const QString kQuitTitle = QStringLiteral("Vexa with Online Ver1.2");

}  // namespace

Form1::Form1(ProgramPlaces places, std::uint64_t seed)
    : settings_(OpenSettings(places.settings_file)),
      random_cells_(seed),
      search_runner_(net::QtSearchRunnerOptions(this)),
      places_(std::move(places)) {
  // The texts are built in the chosen language.
  ApplyLanguage(LanguageOverride().value_or(StoredLanguage(*settings_)));
  game_.SetCpuOpponent(&cpu_);
  SearchLimits master = cpu_.MasterLimits();
  master.seed = seed;
  cpu_.SetMasterLimits(master);
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(kQuitTitle);
  setWindowIcon(ProgramIcon());  // the dialogs and message boxes take it too
  setFont(ProgramFont());
  client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  client->setFixedSize(Px(kClientWidth), Px(kClientHeight));
  setCentralWidget(client);
  board_ = std::make_unique<BoardView>(
      client, [this](int cell, int button) { Label1_MouseDown(cell, button); });
  options_ = std::make_unique<OptionPanel>(
      client,
      OptionPanel::Handlers{.mode_clicked = [this](int mode) { Option1_Click(mode); },
                            .host_or_join = [this](int index) { online_.HostOrJoin(index); },
                            // Online games start from the host's settings dialog: a
                            // local start would clear this board alone and put the
                            // two boards out of step.
                            .online_toggled =
                                [this](bool online) {
                                  Mnu_NewGame->setEnabled(!online);
                                  if (aids_)
                                    aids_->Update();  // the start line names the online buttons
                                },
                            .lan_games = [this] { online_.ShowLanGames(); }});
  BuildOtherControls();
  BuildMenus();
  aids_ = std::make_unique<PlayerAids>(PlayerAids::Window{
      .window = this,
      .client = client,
      .game = game_,
      .board = *board_,
      .options = *options_,
      .runner = search_runner_,
      .random = random_cells_,
      .tasks = tasks_,
      .data_folder = places_.data_folder,
      .place = [this](int cell, int button) { Label1_MouseDown(cell, button); },
      .set_option_controls = [this](PanelCode code,
                                    bool editable) { options_->SetOptionControls(code, editable); },
      .record_of = [this](const Outcome& outcome) { return shell_.RecordOf(outcome); }});
  shell_.Attach({.window = this,
                 .game = &game_,
                 .board = board_.get(),
                 .options = options_.get(),
                 .aids = aids_.get(),
                 .data_folder = places_.data_folder,
                 .records_changed =
                     [this] {
                       SaveRecords();
                       ShowRecords();
                     },
                 .choose_settings = [this] { return online_.dialogs().ChooseSettings(); },
                 .wait_for_host = [this] { return online_.dialogs().WaitForHost(); }});
  online_.Attach({.options = options_.get(),
                  .board = board_.get(),
                  .aids = aids_.get(),
                  .shell = &shell_,
                  .chat_list = List3,
                  .chat_input = Text2,
                  .choose_online = [this] {
                    options_->SelectMode(GameMode::VsOnline);
                    Option1_Click(static_cast<int>(GameMode::VsOnline));
                  }});
  aids_->Build(Mnu_End);
  SetMenuCaptions();
  BuildLanguageMenu();
  board_->RaiseOutline();
  FitCaptions(this);
  // A fixed border: the window takes the size of its client area and menus.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

Form1::~Form1() = default;

// --- Start-up and records ------------------------------------------------

Task<> Form1::Main() {
  program_folder_ = places_.program_folder;
  if (!program_folder_.endsWith(u'/')) program_folder_ += u'/';
  records_location_ = LocateRecords(program_folder_, places_.data_folder);
  co_await LoadRecords();
  options_->SetPlayerName(QString::fromStdString(game_.records.PlayerName));
  ShowRecords();
  options_->SetOptionControls(PanelCode::VsCpu, true);
  options_->SelectStrength(CpuStrength::VeryHard);
  show();
  started_ = true;
  if (pending_join_) online_.JoinNow(pending_join_->first, pending_join_->second);
  pending_join_.reset();
  if (pending_record_) co_await OpenRecordFile(*std::exchange(pending_record_, std::nullopt));
}

Task<> Form1::LoadRecords() {
  const QString& path = records_location_.read_path;
  if (!QFileInfo(path).isFile()) {
    auto* form6 = new Form6(this, tasks_, [this](const QString& name) {
      game_.records.PlayerName = name.toStdString();
      SaveRecords();
    });
    co_await ShowDialog(form6);
    co_return;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || !ReadRecords(file.readAll(), game_.records)) {
    co_await ShowMessageBox(this, tr("設定ファイルの読み込みしに失敗しました"),
                            QMessageBox::Critical, QMessageBox::Ok);
  }
}

void Form1::SaveRecords() {
  if (SaveRecordsFile(records_location_.write_path, game_.records)) {
    records_location_.read_path = records_location_.write_path;
    save_failure_reported_ = false;
    return;
  }
  // Said once until a save works again; the records stay in memory.
  if (save_failure_reported_) return;
  save_failure_reported_ = true;
  Start(ReportSaveFailure(records_location_.write_path));
}

Task<> Form1::ReportSaveFailure(QString path) {
  co_await ShowMessageBox(this,
                          tr("通算成績を保存できませんでした。\n") + path +
                              tr("\n成績はこのプログラムを終了するまで保たれます。"),
                          QMessageBox::Critical, QMessageBox::Ok);
}

void Form1::ShowRecords() {
  const QStringList captions = RecordCaptions(game_.records, QLocale());
  for (int i = 0; i < 5; ++i)
    Label7[i]->setText(captions[i]);
}

void Form1::SetPlayerName(const QString& name) {
  game_.records.PlayerName = name.toStdString();
  SaveRecords();
  options_->SetPlayerName(name);
}

void Form1::JoinWhenReady(const QString& host, int port) {
  if (!started_) {
    pending_join_.emplace(host, port);
    return;
  }
  online_.JoinNow(host, port);
}

// --- Handlers of the window -----------------------------------------------

void Form1::Label1_MouseDown(int index, int button) {
  // A record on show is only looked at.
  if (aids_->InReplay()) return;
  client->setFocus();
  Start(game_.PlaceLocal(index, button == kLeftButton ? MoveKind::Piece : MoveKind::Blocker));
}

void Form1::Option1_Click(int index) {
  options_->SetOptionControls(static_cast<PanelCode>(index), true);
  // No game on the board: the panels no longer speak of the last one's
  // opponent (a "CPU" or a peer's name in "VS Online").
  if (!game_.GameRunning() && !InReplay()) board_->ShowOwnCaptions(options_->Mode());
}

void Form1::Mnu_NewGame_Click() {
  aids_->LeaveReplay();
  Start(game_.StartGame(StartedFrom::Menu));
}

void Form1::Mnu_GameEnd_Click() {
  aids_->LeaveReplay();
  Start(game_.AbandonGame());
}

void Form1::Command2_Click() {
  const ReachListDisplay shown = ListAllReaches(game_.Board(), reach_lists_);
  for (int side = 0; side < 2; ++side) {
    List1[side]->clear();
    List2[side]->clear();
    for (const std::string& item : shown.reach[side]) {
      List1[side]->addItem(QString::fromStdString(item));
    }
    for (const std::string& item : shown.pre_reach[side]) {
      List2[side]->addItem(QString::fromStdString(item));
    }
  }
}

void Form1::Mnu_End_Click() {
  close();
}

void Form1::Mnu_Format_Click() {
  Start(RecordsReset());
}

Task<> Form1::RecordsReset() {
  // Each answer is bound to a name before it is tested: g++ 12 miscompiles
  // a co_await inside a condition that also holds temporaries.
  const auto first = co_await ShowMessageBox(
      this, tr("通算成績を初期化します。よろしいですか？"), QMessageBox::Question,
      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  if (first != QMessageBox::Yes) co_return;
  const auto second =
      co_await ShowMessageBox(this, tr("本当によろしいですか？"), QMessageBox::Question,
                              QMessageBox::Yes | QMessageBox::No);
  if (second != QMessageBox::Yes) co_return;
  game_.records.GamesPlayed = 0;
  game_.records.Wins = 0;
  game_.records.Losses = 0;
  game_.records.Draws = 0;
  ShowRecords();
  SaveRecords();
}

void Form1::Mnu_ChangeName_Click() {
  Start(ShowDialog(new Form8(this, tasks_, QString::fromStdString(game_.records.PlayerName),
                             [this](const QString& name) { SetPlayerName(name); })));
}

void Form1::Mnu_About_Click() {
  Start(ShowDialog(new Form2(this)));
}

void Form1::closeEvent(QCloseEvent* event) {
  if (quit_confirmed_) {
    event->accept();
    return;
  }
  event->ignore();
  Start(AskToQuit());
}

Task<> Form1::AskToQuit() {
  const auto answer = co_await ShowMessageBox(this, tr("終了しますか？"), QMessageBox::Question,
                                              QMessageBox::Yes | QMessageBox::No, kQuitTitle);
  if (answer != QMessageBox::Yes) co_return;
  co_await online_.session().CloseConnection();
  // The game ends with the program: a search for it stops, its move is dropped.
  game_.InterruptGame();
  quit_confirmed_ = true;
  close();
}

void Form1::keyPressEvent(QKeyEvent* event) {
  // Keyboard play, while a person is to move.
  if (!aids_->KeyPressed(event)) QMainWindow::keyPressEvent(event);
}

}  // namespace vexa::app
