// A whole program, off screen, with the real Avahi client and the real
// router mapper, for the tests that run daemons in network namespaces. It
// prints what it sees on standard output, one line per change, for the
// test script to wait on:
//
//   vexa_outreach_probe host PORT NAME [--no-mapping] [--play] [--stop-file FILE]
//     hosts; prints "ROUTER <ms since the button> <line>" for the router's
//     answer, "LINK <link>"; with --play, plays the game a guest starts
//     by clicking its cells in turn and prints "GAME_OVER"; cancels when
//     FILE appears; prints "HOSTING_ENDED" when hosting is over, then exits.
//     With --quit-file FILE it quits while still hosting once FILE appears.
//   vexa_outreach_probe lobby-join SERVER ACCOUNT PASSWORD CA_FILE HOST_NICK
//     sets the lobby up as ロビーの設定 would, opens the lobby, prints
//     "SEEN" when HOST_NICK's game is listed, double-clicks it, prints
//     "CONNECTED <the connection dialog's status>", plays the game the host
//     starts by clicking its cells in turn and prints "GAME_OVER".
//   vexa_outreach_probe lobby-picture SERVER ACCOUNT PASSWORD CA_FILE ja|en GAMES OUT_PNG
//     opens the lobby in that language, waits for GAMES open games, says a
//     line in the room's chat, and saves a picture of the lobby window.
//   vexa_outreach_probe browse SECONDS
//     opens "LAN のゲーム" and prints "LIST <count>", "STATUS <text>" and
//     "SEEN <games the daemon has told of>" on each change, then
//     "ITEM <text>" for each entry, for SECONDS.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <memory>

#include "app/dialogs/form3.h"
#include "app/dialogs/form4.h"
#include "app/drive/controls.h"
#include "app/drive/online_loopback.h"
#include "app/online/lan_games_dialog.h"
#include "app/online/lobby_settings_dialog.h"
#include "app/online/lobby_window.h"
#include "app/window/form1.h"
#include "app/window/language.h"
#include "app/window/program_setup.h"
#include "core/board.h"
#include "lobby/password_file.h"

namespace {

using namespace vexa::app;
using namespace vexa::app::testing;

void Say(const QString& line) {
  // One line each, whatever a peer's name holds.
  std::printf("%s\n", line.toUtf8().constData());
  std::fflush(stdout);
}

class Program {
 public:
  Program(const QString& name, bool mapping) {
    QFile config(QDir(folder_.path()).filePath(QStringLiteral("Config")));
    config.open(QIODevice::WriteOnly);
    config.write(name.toUtf8() + "\r\n 0 \r\n 0 \r\n 0 \r\n");
    config.close();
    const QString settings = QDir(folder_.path()).filePath(QStringLiteral("vexa.ini"));
    QSettings(settings, QSettings::IniFormat)
        .setValue(QStringLiteral("Network/PortMapping"), mapping);
    form1 = std::make_unique<Form1>(ProgramPlaces{folder_.path(), data_.path(), settings}, 7);
    form1->SetPauseOverride(0);
    form1->Start(form1->Main());
    if (!QTest::qWaitFor([this] { return form1->isVisible(); }, 10000)) Say("NO_WINDOW");
  }
  std::unique_ptr<Form1> form1;
  QString SettingsPath() const { return QDir(folder_.path()).filePath(QStringLiteral("vexa.ini")); }

 private:
  QTemporaryDir folder_;
  QTemporaryDir data_;
};

// Clicks cells in turn until one is taken or the game ends.
void ClickNextCell(Form1& form1, int& next_cell) {
  for (int tries = 0; tries < vexa::kCellCount; ++tries) {
    next_cell = (next_cell + 1) % vexa::kCellCount;
    if (form1.game().Board()[next_cell] == vexa::Empty) break;
  }
  form1.Label1_MouseDown(next_cell, kLeftButton);
}

int Host(const QStringList& args) {
  const int port = args.value(0).toInt();
  const bool mapping = !args.contains(QStringLiteral("--no-mapping"));
  const bool play = args.contains(QStringLiteral("--play"));
  const qsizetype stop_at = args.indexOf(QStringLiteral("--stop-file"));
  const QString stop_file = stop_at >= 0 ? args.value(stop_at + 1) : QString();
  const qsizetype quit_at = args.indexOf(QStringLiteral("--quit-file"));
  const QString quit_file = quit_at >= 0 ? args.value(quit_at + 1) : QString();
  Program program(args.value(1), mapping);
  Form1& form1 = *program.form1;
  QElapsedTimer since;
  since.start();
  PressHost(form1, port);
  bool hosting_ended = false;
  QObject::connect(&form1.online_play().outreach(), &HostOutreach::LinesChanged,
                   [&] { hosting_ended = !form1.online_play().outreach().Hosting(); });
  if (mapping) {
    const QString asking = form1.online_play().outreach().RouterLine();
    if (!QTest::qWaitFor([&] { return form1.online_play().outreach().RouterLine() != asking; },
                         15000)) {
      Say(QStringLiteral("ROUTER none within 15 s"));
      return 1;
    }
    Say(QStringLiteral("ROUTER %1 %2")
            .arg(since.elapsed())
            .arg(form1.online_play().outreach().RouterLine()));
    // What the waiting dialog shows, as the player sees it.
    Form3* form3 = VisibleDialog<Form3>(form1);
    auto* label2 = form3 ? form3->findChild<QLabel*>(QStringLiteral("Label2")) : nullptr;
    Say(QStringLiteral("DIALOG %1").arg(label2 ? label2->text() : QStringLiteral("(none)")));
    Say(QStringLiteral("LINK %1").arg(form1.online_play().outreach().Link()));
  }
  Say(QStringLiteral("HOSTING"));
  QElapsedTimer deadline;
  deadline.start();
  bool started = false;
  int next_cell = 0;
  while (!hosting_ended && deadline.elapsed() < 180000) {
    QTest::qWait(20);
    if (!quit_file.isEmpty() && QFile::exists(quit_file)) {
      Say(QStringLiteral("QUIT"));
      return 0;  // the program ends while hosting
    }
    if (!stop_file.isEmpty() && QFile::exists(stop_file)) {
      if (Form3* form3 = VisibleDialog<Form3>(form1)) form3->Command1->click();  // キャンセル
    }
    if (!play) continue;
    if (Form3* form3 = VisibleDialog<Form3>(form1); form3 && form3->Connected()) {
      form3->Command1->click();  // OK
    }
    if (Form4* form4 = VisibleDialog<Form4>(form1); form4 && form4->Command1[0]->isEnabled()) {
      form4->Command1[0]->click();  // ゲームスタート
      started = true;
    }
    if (!started) continue;
    if (!form1.game().GameRunning()) {
      Say(QStringLiteral("GAME_OVER"));
      started = false;
      continue;
    }
    // A click that is not this side's move changes nothing.
    ClickNextCell(form1, next_cell);
  }
  Say(hosting_ended ? QStringLiteral("HOSTING_ENDED") : QStringLiteral("TIMEOUT"));
  return hosting_ended ? 0 : 1;
}

// The lobby's settings as ロビーの設定 would keep them (the password in the
// file: the probe runs without a desktop's secret store).
bool SetLobbyUp(const Program& program, const QStringList& args) {
  QSettings settings(program.SettingsPath(), QSettings::IniFormat);
  settings.setValue(QStringLiteral("lobby/server"), args.value(0));
  settings.setValue(QStringLiteral("lobby/account"), args.value(1));
  settings.setValue(QStringLiteral("lobby/caFile"), args.value(3));
  settings.sync();
  QString error;
  if (!vexa::lobby::WritePasswordFile(LobbyPasswordPath(settings), args.value(2), error)) {
    Say(QStringLiteral("NO_PASSWORD ") + error);
    return false;
  }
  return true;
}

int LobbyPicture(const QStringList& args) {
  SetLanguageOverride(LanguageNamed(args.value(4)));
  Program program(args.value(1), false);
  Form1& form1 = *program.form1;
  if (!SetLobbyUp(program, args)) return 1;
  Control<QAction>(form1, QStringLiteral("Mnu_Lobby"))->trigger();
  LobbyWindow* lobby = nullptr;
  const int games = args.value(5).toInt();
  if (!QTest::qWaitFor(
          [&] {
            lobby = VisibleDialog<LobbyWindow>(form1);
            return lobby && lobby->Tree1->topLevelItemCount() >= games;
          },
          30000)) {
    Say(QStringLiteral("NOT_SEEN ") + (lobby ? lobby->Label1->text() : QString()));
    return 1;
  }
  lobby->Text1->setText(args.value(4) == u"en" ? QStringLiteral("Anyone for a quick game?")
                                               : QStringLiteral("だれか一局どうですか？"));
  emit lobby->Text1->returnPressed();
  if (!QTest::qWaitFor([&] { return lobby->List2->count() > 0; }, 10000)) {
    Say(QStringLiteral("NO_CHAT"));
    return 1;
  }
  lobby->Tree1->setCurrentItem(lobby->Tree1->topLevelItem(0));
  lobby->resize(720, 480);
  QTest::qWait(200);  // the wait column's first refresh and the layout settle
  if (!lobby->grab().save(args.value(6))) {
    Say(QStringLiteral("NOT_SAVED"));
    return 1;
  }
  Say(QStringLiteral("SAVED"));
  return 0;
}

int LobbyJoin(const QStringList& args) {
  Program program(args.value(1), false);
  Form1& form1 = *program.form1;
  if (!SetLobbyUp(program, args)) return 1;
  Control<QAction>(form1, QStringLiteral("Mnu_Lobby"))->trigger();
  LobbyWindow* lobby = nullptr;
  QTreeWidgetItem* game = nullptr;
  const bool seen = QTest::qWaitFor(
      [&] {
        lobby = VisibleDialog<LobbyWindow>(form1);
        if (!lobby) return false;
        const auto found = lobby->Tree1->findItems(args.value(4), Qt::MatchExactly, 0);
        game = found.isEmpty() ? nullptr : found.first();
        return game != nullptr;
      },
      30000);
  if (!seen) {
    Say(QStringLiteral("NOT_SEEN ") + (lobby ? lobby->Label1->text() : QString()));
    return 1;
  }
  Say(QStringLiteral("SEEN"));
  lobby->Tree1->setCurrentItem(game);
  emit lobby->Tree1->itemDoubleClicked(game, 0);
  Form3* form3 = nullptr;
  // What the connection dialog said once connected: a quick host may start
  // its game, which closes the dialog, between two looks at it, so the text
  // is caught as it is set.
  QString said;
  struct CatchConnected : QObject {
    QString& said;
    explicit CatchConnected(QString& out) : said(out) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
      auto* dialog = dynamic_cast<Form3*>(watched);
      if (event->type() == QEvent::Hide && dialog && dialog->Connected()) {
        said = dialog->Label1->text();
      }
      return false;
    }
  } catcher(said);
  qApp->installEventFilter(&catcher);
  // The direct attempt takes 3 s, the relay's set-up up to 10 s more; a
  // sanitized build on busy cores is several times slower.
  if (!QTest::qWaitFor(
          [&] {
            if (!said.isEmpty()) return true;
            if (!(form3 = VisibleDialog<Form3>(form1))) return false;
            if (form3->Connected()) said = form3->Label1->text();
            return !said.isEmpty();
          },
          60000)) {
    Say(QStringLiteral("NOT_CONNECTED ") + (form3 ? form3->Label1->text() : lobby->Label1->text()));
    return 1;
  }
  qApp->removeEventFilter(&catcher);
  Say(QStringLiteral("CONNECTED ") + said);
  if ((form3 = VisibleDialog<Form3>(form1))) form3->Command1->click();  // OK
  QElapsedTimer deadline;
  deadline.start();
  bool started = false;
  int next_cell = 0;
  while (deadline.elapsed() < 120000) {
    QTest::qWait(20);
    if (!started) {
      started = form1.game().GameRunning();
      continue;
    }
    if (!form1.game().GameRunning()) {
      Say(QStringLiteral("GAME_OVER"));
      return 0;
    }
    ClickNextCell(form1, next_cell);
  }
  Say(QStringLiteral("TIMEOUT"));
  return 1;
}

int Browse(const QStringList& args) {
  Program program(QStringLiteral("Browser"), false);
  QTest::mouseClick(Control<QRadioButton>(*program.form1, "Option1", 2), Qt::LeftButton);
  Control<QPushButton>(*program.form1, QStringLiteral("Cmd_LanGames"))->click();
  LanGamesDialog* dialog = nullptr;
  if (!QTest::qWaitFor(
          [&] { return (dialog = VisibleDialog<LanGamesDialog>(*program.form1)) != nullptr; },
          5000)) {
    return 1;
  }
  // Every game the daemon told the program of, listed or not: the test waits
  // on this count instead of a time.
  QSet<QString> seen;
  QObject::connect(&program.form1->online_play().outreach().Discovery(),
                   &vexa::net::GameDiscovery::GameSeen,
                   [&](const vexa::net::LanGame& game) { seen.insert(game.service); });
  QStringList shown;
  QElapsedTimer since;
  since.start();
  while (since.elapsed() < args.value(0).toInt() * 1000) {
    QStringList now{QStringLiteral("STATUS ") + dialog->Label1->text(),
                    QStringLiteral("SEEN %1").arg(seen.size())};
    for (int i = 0; i < dialog->List1->count(); ++i)
      now << QStringLiteral("ITEM ") + dialog->List1->item(i)->text();
    if (now != shown) {
      Say(QStringLiteral("LIST %1").arg(dialog->List1->count()));
      for (const QString& line : now)
        Say(line);
      shown = now;
    }
    QTest::qWait(50);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Its texts are checked in Japanese, the program's own, whatever the
  // caller's locale: the desktop's first language for the texts is Japanese.
  qputenv("LANGUAGE", "ja");
  QApplication application(argc, argv);
  PrepareApplication(application);
  const QStringList args = QApplication::arguments().mid(1);
  if (args.value(0) == u"host") return Host(args.mid(1));
  if (args.value(0) == u"browse") return Browse(args.mid(1));
  if (args.value(0) == u"lobby-join") return LobbyJoin(args.mid(1));
  if (args.value(0) == u"lobby-picture") return LobbyPicture(args.mid(1));
  std::fputs("usage: vexa_outreach_probe host PORT NAME [...] | browse SECONDS\n", stderr);
  return 2;
}
