#include "app/aids/hint_aid.h"

#include <algorithm>

#include "app/aids/chance_text.h"
#include "app/board/board_widgets.h"
#include "core/cell_name.h"
#include "cpu/master_search.h"
#include "cpu/turn_estimates.h"

namespace vexa::app {

void MarkTurn(int marks[], const std::vector<Move>& turn) {
  for (const Move& move : turn) {
    marks[move.cell] |=
        move.kind == MoveKind::Piece ? CellLabel::kHintPiece : CellLabel::kHintBlocker;
  }
}

void HintAid::Ask() {
  if (pending_) return;
  w_.tasks.Start(Show());
}

Task<> HintAid::Show() {
  // Master's choice for the side to move. A new request, a placement, an
  // undo or another game stops the search, and a search that was stopped
  // shows nothing.
  const Game::Watch watch = w_.game.WatchGame();
  const int request = ++request_;
  const Position asked = w_.game.CurrentPosition();
  const Side mover = w_.game.Turn();
  SearchLimits limits;
  limits.time = std::chrono::milliseconds(kSearchMs);
  limits.seed = static_cast<std::uint64_t>(w_.random.DrawCell());
  pending_ = true;
  w_.changed();
  SearchRunner::Awaiter search = w_.runner.Search(asked, mover, limits);
  const std::optional<SearchResult> result = co_await search;
  if (request != request_) co_return;  // a newer request owns the hint
  pending_ = false;
  // The hint is for the position it was asked in.
  const Position& now = w_.game.CurrentPosition();
  if (result && watch.StillCurrent() && w_.game.Turn() == mover && now.Board() == asked.Board() &&
      now.BlockerStock() == asked.BlockerStock()) {
    Drop();
    turn_ = result->turn;
    followed_at_ = w_.game.History().size();
    const std::vector<Candidate> candidates = BestCandidates(*result, 3);
    for (std::size_t n = 0; n < candidates.size(); ++n) {
      const Move& piece = candidates[n].turn.back();
      if (n > 0) others_.push_back(piece.cell);
      notes_.emplace_back(piece.cell, ChanceText::OnCell(candidates[n].chance));
    }
    chance_ = ChanceText::Of(candidates.front().chance);
  }
  w_.changed();
}

void HintAid::PositionChanged() {
  if (pending_) w_.runner.Stop();
  const std::vector<Move>& history = w_.game.History();
  if (!turn_.empty() && history.size() == followed_at_ + 1) {
    // Blockers in any order; the piece ends the turn, followed or not.
    const Move& played = history.back();
    const auto step = std::find(turn_.begin(), turn_.end(), played);
    if (played.kind == MoveKind::Blocker && step != turn_.end()) {
      turn_.erase(step);
      followed_at_ = history.size();
      // The other candidates are turns the player has left: only the
      // chosen piece keeps its note.
      others_.clear();
      notes_.resize(std::min<std::size_t>(1, notes_.size()));
      return;
    }
  }
  Drop();
}

bool HintAid::Cancel() {
  if (!pending_ && turn_.empty()) return false;
  // A search stopped shows nothing (Show drops its result).
  if (pending_) w_.runner.Stop();
  Drop();
  return true;
}

void HintAid::Drop() {
  turn_.clear();
  others_.clear();
  notes_.clear();
}

QString HintAid::StatusText() const {
  if (pending_) return tr("考えています…（Esc で中止）");
  if (turn_.empty()) return QString();
  // The turn by its cells' names and its chance first, for whoever reads
  // rather than looks.
  return tr("ヒント %1（勝率 %2）: "
            "四角の印にブロッカー、塗った丸に駒。緑の輪はほかの候補で、数字は打ったあとの勝率です")
      .arg(QString::fromStdString(TurnCellNames(turn_)), chance_);
}

void HintAid::AddMarks(int marks[]) const {
  MarkTurn(marks, turn_);
  for (const int cell : others_)
    marks[cell] |= CellLabel::kHint;
}

}  // namespace vexa::app
