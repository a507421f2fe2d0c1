#pragma once

// A GameShell for tests: it records every event as one line of text, so a
// test can check what the game told and in which order, and it completes
// every wait at once unless the test holds the gate.

#include <coroutine>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "core/game_shell.h"

namespace vexa::testing {

// Suspended waits that a test releases by hand.
class Gate {
 public:
  auto Wait() {
    struct Awaiter {
      Gate& gate;
      bool await_ready() const noexcept { return false; }
      void await_suspend(std::coroutine_handle<> h) { gate.waiting_.push_back(h); }
      void await_resume() const noexcept {}
    };
    return Awaiter{*this};
  }
  bool HasWaiting() const { return !waiting_.empty(); }
  void Open() {
    auto waiting = std::exchange(waiting_, {});
    for (auto h : waiting)
      h.resume();
  }

 private:
  std::vector<std::coroutine_handle<>> waiting_;
};

// Records the game's events and the online steps, one line of text each.
// A test that wants the online steps recorded makes it the game's link too.
class RecordingShell : public GameShell, public OnlineLink {
 public:
  GameMode mode = GameMode::VsHuman;
  CpuStrength strength = CpuStrength::VeryHard;
  bool cpu_first = false;
  bool player1_first = true;
  std::string local_name = "Taro";

  // When set, the judge's and the CPU's pauses wait for the gate.
  bool hold_pauses = false;
  Gate pause_gate;
  // When set, the result dialog stays open until the gate opens.
  bool hold_result = false;
  Gate result_gate;

  std::vector<std::string> calls;
  // Every placement reported, in order; also a call "Move SIDE P|B CELL".
  std::vector<Move> moves;
  // Every ending reported, in order; kept apart from the calls.
  std::vector<Outcome> endings;

  // The calls recorded so far that start with `prefix`, then forgets all.
  std::vector<std::string> Take(const std::string& prefix = "") {
    std::vector<std::string> out;
    for (auto& c : calls) {
      if (c.rfind(prefix, 0) == 0) out.push_back(c);
    }
    calls.clear();
    return out;
  }

  GameMode Mode() const override { return mode; }
  CpuStrength Strength() const override { return strength; }
  bool CpuMovesFirst() const override { return cpu_first; }
  bool Player1MovesFirst() const override { return player1_first; }
  std::string LocalPlayerName() const override { return local_name; }

  void GameStarted(GameMode m) override {
    calls.push_back("Started " + std::to_string(static_cast<int>(m)));
  }
  void BoardReset() override { calls.push_back("BoardReset"); }
  void MovePlayed(const Move& move) override {
    moves.push_back(move);
    calls.push_back("Move " + std::to_string(move.side) +
                    (move.kind == MoveKind::Piece ? " P " : " B ") + std::to_string(move.cell));
  }
  void BlockerForfeited(Side) override { calls.push_back("Stocks"); }
  void MoveHandedTo(Side side) override { calls.push_back("Turn " + std::to_string(side)); }
  void SquareFound(const SquareCorners& s, Side side) override {
    calls.push_back("Square " + std::to_string(s.i) + "," + std::to_string(s.L) + "," +
                    std::to_string(s.C2) + "," + std::to_string(s.C1) + " of " +
                    std::to_string(side));
  }
  void GameEnded(const Outcome& outcome) override { endings.push_back(outcome); }
  void RecordsChanged() override { calls.push_back("Records"); }
  void CellClicked(int cell) override { calls.push_back("Clicked " + std::to_string(cell)); }
  void SetOptionControls(PanelCode panel_code, bool editable) override {
    calls.push_back("Options " + std::to_string(static_cast<int>(panel_code)) +
                    (editable ? " 1" : " 0"));
  }
  void EnableOptionPanel() override { calls.push_back("EnablePanel"); }

  Task<> Pause(int milliseconds) override {
    calls.push_back("Pause " + std::to_string(milliseconds));
    if (hold_pauses) co_await pause_gate.Wait();
  }
  Task<> ShowResult(const std::string& text) override {
    calls.push_back("Result " + text);
    if (hold_result) co_await result_gate.Wait();
  }
  Task<> ChooseSettings() override {
    calls.push_back("ShowSettings");
    co_return;
  }

  void SendPiece(int cell) override { calls.push_back("SendPiece " + std::to_string(cell)); }
  void SendBlocker(int cell) override { calls.push_back("SendBlocker " + std::to_string(cell)); }
  void AskForSettings() override { calls.push_back("AskForSettings"); }
  Task<> CloseConnection() override {
    calls.push_back("CloseConnection");
    co_return;
  }
  void StartMoveClock() override { calls.push_back("StartClock"); }
  void StopMoveClock() override { calls.push_back("StopClock"); }
};

// Runs a task that completes without outside help and returns its result.
template <typename T>
T RunToEnd(Task<T> task) {
  task.Resume();
  if (!task.Done()) std::abort();
  return task.Result();
}

inline void RunToEnd(Task<> task) {
  task.Resume();
  if (!task.Done()) std::abort();
}

}  // namespace vexa::testing
