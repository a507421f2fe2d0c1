#pragma once

// vexa-bot's player: one program's online side without windows. It hosts
// or joins as the main window does, speaks the same bytes through the same
// online session, answers the settings like the window's dialog, plays side
// 1 with the computer player and reports each game as one line.

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

#include "bot/bot_options.h"
#include "core/game.h"
#include "core/game_shell.h"
#include "core/task.h"
#include "cpu/cell_source.h"
#include "cpu/player.h"
#include "cpu/search_runner.h"
#include "net/game_connection.h"
#include "net/game_message.h"
#include "net/online_session.h"
#include "net/online_windows.h"

namespace vexa::bot {

// The exit statuses.
constexpr int kAllGamesPlayed = 0;
constexpr int kCouldNotConnect = 1;
constexpr int kConnectionEndedEarly = 3;

// How long a guest keeps trying to reach a host that is not listening yet,
// and how long it waits for the host's word after its last game.
constexpr int kJoinRetryMs = 10000;
constexpr int kLastWordMs = 10000;

class HeadlessPlayer : public QObject,
                       public GameShell,
                       public OnlineLink,
                       public net::OnlineWindows {
  Q_OBJECT
 public:
  HeadlessPlayer(BotOptions options, std::uint64_t seed);
  ~HeadlessPlayer() override;

  // Listens or starts joining. False when it cannot even begin (a port in
  // use or out of range); the reason goes to Progress.
  bool Begin();
  // Plays over two streams through the lobby's relay: for a host, after
  // Begin(), they wait beside its listening ports and must tell the name
  // first as a direct caller must; for a guest, instead of Begin().
  bool TakeRelayed(QTcpSocket* game, QTcpSocket* chat);
  const Game& CurrentGame() const { return game_; }
  net::GameConnection& Connection() { return connection_; }

 signals:
  // One per game, in order: the line of game_line.h.
  void GameReported(const QString& line);
  // What happens, for a person reading along.
  void Progress(const QString& text);
  // Once, at the end: an exit status above.
  void Finished(int status);
  // The game connection is up (a guest accepted, or the host reached).
  void Connected();
  // The settings dialog a guest shows was hidden at game start or closed.
  void SettingsDismissed();
  // A message of the peer arrived.
  void MessageHeard();

 public:
  // --- GameShell.
  GameMode Mode() const override { return GameMode::VsOnline; }
  CpuStrength Strength() const override { return options_.strength; }
  bool CpuMovesFirst() const override { return false; }
  bool Player1MovesFirst() const override { return true; }
  std::string LocalPlayerName() const override { return options_.name.toStdString(); }
  // A game runs from its start to its result.
  void GameStarted(GameMode mode) override;
  // This side moves when the move is handed to it.
  void MoveHandedTo(Side side) override;
  // Each game's result is one reported line.
  void GameEnded(const Outcome& outcome) override;
  Task<> Pause(int milliseconds) override;
  // The host reads its result for a while before the next game.
  Task<> ShowResult(const std::string& text) override;
  // The host after a game, and the guest on "Show" (both interfaces).
  Task<> ChooseSettings() override;

  // --- OnlineLink: the session's, except that after its last game the host
  // leaves instead of asking for another.
  void SendPiece(int cell) override { session_.SendPiece(cell); }
  void SendBlocker(int cell) override { session_.SendBlocker(cell); }
  void AskForSettings() override;
  Task<> CloseConnection() override { co_await session_.CloseConnection(); }
  void StartMoveClock() override { session_.StartMoveClock(); }
  void StopMoveClock() override { session_.StopMoveClock(); }

  // --- net::OnlineWindows: the settings dialog as three values. The clock
  // and the chat are not shown; chat lines are read and dropped.
  void PeerChangedSetting(net::Setting which, const QString& value) override;
  net::ChosenSettings Settings() override;
  void SettingsEnded(net::SettingsEnd how) override;
  Task<> TellPeerGone(net::PeerGone why) override;

 private:
  bool Join();
  void GameSocketFailed();
  void GameConnectionUp();
  // The settings dialog's loading, once per connection.
  void LoadSettings();
  // The host: the settings of the next game, their echoes, the start.
  Task<> HostFirstGame();
  Task<> HostNextGame();
  // Waits (bounded) until the peer has answered each setting sent since
  // the last call.
  Task<> AwaitSettingAnswers();
  Task<> PlayTurn(int turn_number);
  Task<> Leave(int status);
  Task<> GuestLastWord();
  void Finish(int status);
  int ScaledPause(int milliseconds) const;
  bool AllGamesPlayed() const { return games_finished_ >= options_.games; }

  // The turn for side 1 (against the peer's side 4), after the pause; a
  // searching player searches during it.
  Task<std::optional<std::vector<Move>>> ChooseTurn();

  BotOptions options_;
  SeededCellSource random_;
  // Master's searches take the seeds after the run's seed.
  std::unique_ptr<Player> player_;
  SearchRunner runner_;
  net::GameConnection connection_{this};
  Game game_{*this};
  net::OnlineSession session_{game_, *this, connection_.Link(), tasks_};

  // The settings dialog.
  bool settings_loaded_ = false;
  bool settings_shown_ = false;
  int first_mover_ = -1;  // 0 this side, 1 the peer, -1 none selected yet
  int game_option_ = 0;
  QString time_limit_ = QStringLiteral("5");
  // The setting keywords sent and not yet answered by the peer.
  QList<net::Keyword> unanswered_;

  bool connected_once_ = false;
  bool game_running_ = false;
  // Counts the turns handed to this side; see MoveHandedTo.
  int turn_number_ = 0;
  bool leaving_ = false;
  bool finished_ = false;
  int games_finished_ = 0;
  qint64 join_deadline_ms_ = 0;
  // Last, so that the waits it owns end before what they refer to.
  TaskGroup tasks_;
};

}  // namespace vexa::bot
