#include "cpu/cpu_player.h"

#include <algorithm>
#include <atomic>
#include <optional>

#include "cpu/reach_lists.h"

namespace vexa {

Player& CpuPlayer::PlayerOfStrength() {
  if (!player_ || player_strength_ != Strength()) {
    player_ = MakePlayer(Strength(), random_, master_limits_);
    player_strength_ = Strength();
  }
  return *player_;
}

Task<> CpuPlayer::CpuMove() {
  const Game::Watch watch = game_.WatchGame();
  Player& player = PlayerOfStrength();
  if (const std::optional<SearchLimits> search = player.NextSearch()) {
    co_await SearchedMove(watch, *search);
    co_return;
  }
  co_await game_.Shell().Pause(kThinkingPauseMs);
  // A new game or an abandon during the pause owns the board now.
  if (!watch.StillCurrent()) co_return;
  const Position& position = game_.CurrentPosition();
  ReachLists lists;
  ListReaches(Cpu, position.Board(), lists);
  const bool could_win = !lists.ReachList(Cpu).Empty();
  const std::atomic<bool> never{false};
  // Asked again: the player may have been replaced during the pause.
  const std::vector<Move> turn = PlayerOfStrength().ChooseTurn(position, Cpu, never);
  co_await PlaceTurn(turn, watch, could_win);
}

Task<> CpuPlayer::PlaceTurn(const std::vector<Move>& turn, Game::Watch watch,
                            bool judge_own_pieces) {
  for (const Move& move : turn)
    game_.ApplyMove(move);
  if (judge_own_pieces) {
    // (The judge's answer is bound to a name first: g++ 12 miscompiles a
    // co_await inside a condition.)
    const bool ended = co_await game_.CheckSquare(Cpu);
    if (ended) co_return;
  }
  game_.PassTurn(Player1);
  // The judge's pauses and result dialog above may have let a new game begin.
  if (!watch.StillCurrent()) co_return;
  // No new square of Player1 is possible; this ends the game when both
  // stocks are empty.
  co_await game_.CheckSquare(Player1);
}

void CpuPlayer::StopThinking() {
  runner_.Stop();
}

Task<> CpuPlayer::SearchedMove(Game::Watch watch, SearchLimits limits) {
  using namespace std::chrono;
  const steady_clock::time_point started = steady_clock::now();
  const std::uint64_t this_search = ++searches_;
  thinking_ = true;
  // Named before the wait: g++ 12 mishandles temporaries of a co_await
  // expression.
  SearchRunner::Awaiter search = runner_.Search(game_.CurrentPosition(), Cpu, limits);
  const std::optional<SearchResult> result = co_await search;
  // A new game that started meanwhile may already think about its own move.
  if (searches_ == this_search) thinking_ = false;
  // A stale search (a new game, an abandon) hands over nothing.
  if (!watch.StillCurrent() || !result) co_return;

  const auto spent = duration_cast<milliseconds>(steady_clock::now() - started).count();
  co_await game_.Shell().Pause(static_cast<int>(std::max<long long>(0, kThinkingPauseMs - spent)));
  if (!watch.StillCurrent()) co_return;
  // The turn must still be legal where it is placed; a search that somehow
  // answered for another position places nothing.
  Position check = game_.CurrentPosition();
  for (const Move& move : result->turn) {
    if (!check.IsLegal(move)) co_return;
    check.Play(move);
  }
  if (result->turn.empty()) co_return;  // no empty cell: no real game gets here
  co_await PlaceTurn(result->turn, watch, true);
}

}  // namespace vexa
