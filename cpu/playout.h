#pragma once

// Plays a game out from a search's leaf to its end, for the mean result the
// tree search learns from. Each turn is drawn at random, alike for both
// sides: most turns are those of the rules of thumb ("Hard" or "VeryHard",
// drawn for each turn), which play the tactics of the game (closing
// winning cells, making two at once) well; the rest are drawn by the
// cells' weights (a softmax), so that no fixed set of habits is all the
// search ever meets.

#include <cstdint>
#include <optional>
#include <vector>

#include "cpu/cell_source.h"
#include "cpu/choose_turn.h"
#include "cpu/search_board.h"

namespace vexa {

// The share of the playouts' turns that the rules of thumb choose.
constexpr double kRulesOfThumbShare = 0.8;

class Playouts {
 public:
  explicit Playouts(std::uint64_t seed) : random_(seed), cells_(random_) {}
  Playouts(const Playouts&) = delete;
  Playouts& operator=(const Playouts&) = delete;

  // The result for the board's side 0: 1 a win, 0.5 a draw, 0 a loss.
  double Play(SearchBoard board);
  // The turn the rules of thumb at `strength` choose for the side to move,
  // their random cells drawn from the playouts' generator; nothing when
  // no turn of theirs is possible (no piece left, or no cell for one).
  std::optional<std::vector<Move>> RulesOfThumbTurn(const SearchBoard& board,
                                                    const Position& position, CpuStrength strength);
  SearchRandom& Random() { return random_; }

 private:
  // The rules of thumb draw their random cells from the playouts' own
  // generator.
  class Cells : public CellSource {
   public:
    explicit Cells(SearchRandom& random) : random_(random) {}
    int DrawCell() override { return static_cast<int>((random_.Next() >> 32) * 120 >> 32) + 1; }

   private:
    SearchRandom& random_;
  };

  SearchRandom random_;
  Cells cells_;
  TurnChooser chooser_;
};

}  // namespace vexa
