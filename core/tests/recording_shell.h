#pragma once

// A GameShell for tests: it records every call as one line of text, so a
// test can check what the rules told the window and in which order, and it
// completes every wait at once unless the test holds the gate.

#include <coroutine>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "core/game_shell.h"
#include "core/number_text.h"

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

class RecordingShell : public GameShell {
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
  // Every placement reported, in order; kept apart from the calls.
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

  void MovePlayed(const Move& move) override { moves.push_back(move); }
  void PaintCell(int cell, Color color) override {
    calls.push_back("Paint " + std::to_string(cell) + " " + std::to_string(color));
  }
  void HidePieceMarker(int index) override {
    calls.push_back("HidePiece " + std::to_string(index));
  }
  void HideBlockerMarker(int index) override {
    calls.push_back("HideBlocker " + std::to_string(index));
  }
  void ShowAllMarkers() override { calls.push_back("ShowAllMarkers"); }
  void SetTurnMarkers(bool left_on, bool right_on) override {
    calls.push_back(std::string("TurnMarkers ") + (left_on ? "1" : "0") + (right_on ? "1" : "0"));
  }
  void SetSideCaptions(const std::string& left, const std::string& right) override {
    calls.push_back("Captions " + left + "|" + right);
  }
  void DrawOutline(const OutlineEnds& ends, Color color) override {
    std::string line = "Outline " + std::to_string(color);
    for (int e = 0; e < 4; ++e) {
      line += " " + std::to_string(ends.from[e].x) + "," + std::to_string(ends.from[e].y) + "-" +
              std::to_string(ends.to[e].x) + "," + std::to_string(ends.to[e].y);
    }
    calls.push_back(line);
  }
  void HideOutline() override { calls.push_back("HideOutline"); }
  void HideClockDisplay() override { calls.push_back("HideClock"); }
  void SetCoordinateReadout(const std::string& text) override {
    calls.push_back("Readout " + text);
  }
  void SetOptionControls(PanelCode panel_code, bool editable) override {
    calls.push_back("Options " + std::to_string(static_cast<int>(panel_code)) +
                    (editable ? " 1" : " 0"));
  }
  void EnableOptionPanel() override { calls.push_back("EnablePanel"); }
  void SaveRecords() override { calls.push_back("SaveRecords"); }
  void ShowRecords() override { calls.push_back("ShowRecords"); }

  Task<> Pause(int milliseconds) override {
    calls.push_back("Pause " + std::to_string(milliseconds));
    if (hold_pauses) co_await pause_gate.Wait();
  }
  Task<> LetEventsRun() override { co_return; }
  void GameEnded(const Outcome& outcome) override { endings.push_back(outcome); }
  void SetResultText(const std::string& text) override { calls.push_back("Result " + text); }
  Task<> ShowResultDialog() override {
    calls.push_back("ShowResult");
    if (hold_result) co_await result_gate.Wait();
  }
  Task<> ShowSettingsDialog() override {
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
