#pragma once

// How the window writes a chance: a percentage for an estimate, words for
// a result the search proved ("3手で必勝"), never 0 % or 100 % otherwise.

#include <QCoreApplication>
#include <QString>

#include "cpu/win_chance.h"

namespace vexa::app {

class ChanceText {
  Q_DECLARE_TR_FUNCTIONS(vexa::app::ChanceText)

 public:
  // "63 %", "2手で必勝", "1手で必敗" (the winner's own turns to go), and
  // "勝ち" / "負け" once the game is over.
  static QString Of(const WinChance& chance);
  // The short form for a note on a cell: "63%", "必勝", "必敗".
  static QString OnCell(const WinChance& chance);
};

}  // namespace vexa::app
