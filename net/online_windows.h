#pragma once

// What the online code needs of the windows beyond what the rules already
// ask of them: the settings dialog, the dialogs around the connection, the
// clock display and the chat lists. The main window's online dialogs, the
// headless player and the tests' fakes implement it.

#include <QString>
#include <optional>

#include "core/task.h"

namespace vexa::net {

// Why the peer's side of a connection ended.
enum class PeerGone {
  Left,        // it said "EndG", or its connection closed or failed
  BrokeRules,  // it sent a placement the rules do not allow: this side closed
};

// One of the next game's settings, as the settings dialog holds them.
enum class Setting {
  FirstMover,  // "0" the local player, "1" the peer
  GameOption,  // "0" "Normal", "1" "Excite"
  TimeLimit,   // the time-limit field's text
};

// What a game starts with, as the settings stand when it starts.
struct ChosenSettings {
  bool excite = false;
  QString time_limit;
};

// How the choosing of the settings ends.
enum class SettingsEnd {
  GameStarts,      // put away until after the game
  ConnectionGone,  // closed without a word to the peer
  NewConnection,   // forgotten: a new connection chooses afresh
};

// What happens on a connection that the windows show or take part in: a few
// events, each of which one object (the window's dialogs, the bot, a test's
// fake) turns into what it shows. Only what every side must answer is pure;
// the rest may be ignored.
class OnlineWindows {
 public:
  virtual ~OnlineWindows() = default;

  // --- The next game's settings (in the window, its settings dialog,
  // created and loaded when first needed).
  // The peer changed one. Applying it runs the control's own change
  // handler, which echoes it to the peer as a click would.
  virtual void PeerChangedSetting(Setting which, const QString& value) = 0;
  virtual ChosenSettings Settings() = 0;
  // The settings are being chosen (the dialog shown modally) until the
  // choosing ends.
  virtual Task<> ChooseSettings() = 0;
  virtual void SettingsEnded(SettingsEnd how) = 0;

  // --- The connection.
  // Whatever else is on show gives way to the settings: before they open
  // on the joining side, and after the peer has left.
  virtual void ClearWayForSettings() {}
  // An online game begins between these players, side 1 first.
  virtual void GameBegins(const QString& /*left*/, const QString& /*right*/) {}
  // One chat line from the peer.
  virtual void PeerSaid(const QString& /*line*/) {}
  // The move clock shows the seconds left, or nothing once it stops.
  virtual void ClockShows(std::optional<int> /*seconds*/) {}
  // A period ran out: the clock took one of this side's blockers.
  virtual void ClockTookBlocker() {}
  // The connection has ended: the chat takes no more lines.
  virtual void ConnectionEnded() {}
  // The peer has gone: the player hears why the game and the connection
  // are over.
  virtual Task<> TellPeerGone(PeerGone why) = 0;
};

// The game and chat connections as the online code uses them.
class GameLink {
 public:
  virtual ~GameLink() = default;
  virtual int GameState() const = 0;
  virtual int ChatState() const = 0;
  virtual void SendGame(const QString& message) = 0;
  virtual void SendChat(const QString& line) = 0;
  virtual void CloseGame() = 0;
  virtual void CloseChat() = 0;
};

}  // namespace vexa::net
