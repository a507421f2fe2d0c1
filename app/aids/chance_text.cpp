#include "app/aids/chance_text.h"

#include <algorithm>
#include <cmath>

namespace vexa::app {

namespace {

// An estimate never rounds to certainty: 99.6 % reads 99 %.
int WholePercent(double chance) {
  return std::clamp(static_cast<int>(std::lround(100 * chance)), 1, 99);
}

}  // namespace

QString ChanceText::Of(const WinChance& chance) {
  if (!chance.proof) return tr("%1 %").arg(WholePercent(chance.chance));
  const bool win = chance.proof->win;
  if (chance.proof->turns == 0) return win ? tr("勝ち") : tr("負け");
  return (win ? tr("%1手で必勝") : tr("%1手で必敗")).arg(chance.proof->WinnerTurns());
}

QString ChanceText::OnCell(const WinChance& chance) {
  if (!chance.proof) return QStringLiteral("%1%").arg(WholePercent(chance.chance));
  return chance.proof->win ? tr("必勝") : tr("必敗");
}

}  // namespace vexa::app
