#include "app/aids/analysis_aid.h"

#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <cmath>

#include "app/aids/chance_text.h"
#include "app/window/twips.h"
#include "app/aids/win_graph.h"
#include "core/cell_name.h"
#include "cpu/turn_estimates.h"

namespace vexa::app {

AnalysisAid::AnalysisAid(Window window) : w_(std::move(window)) {}

void AnalysisAid::Build() {
  AnalysisProgress = new QProgressBar(w_.window);
  AnalysisProgress->setObjectName(QStringLiteral("AnalysisProgress"));
  AnalysisProgress->setFixedWidth(Px(1800));
  AnalysisCancel = new QPushButton(w_.window);
  AnalysisCancel->setObjectName(QStringLiteral("AnalysisCancel"));
  w_.window->statusBar()->addPermanentWidget(AnalysisProgress);
  w_.window->statusBar()->addPermanentWidget(AnalysisCancel);
  AnalysisProgress->hide();
  AnalysisCancel->hide();
  QObject::connect(AnalysisCancel, &QPushButton::clicked, w_.window, [this] { Clear(); });

  // Under the board, over the chat, which a replay does not use.
  AnalysisGraph = new WinGraph(w_.client);
  AnalysisGraph->setObjectName(QStringLiteral("AnalysisGraph"));
  AnalysisGraph->setGeometry(TwipRect(15, 5520, 7395, 1725));
  AnalysisGraph->hide();
  QObject::connect(AnalysisGraph, &WinGraph::PointClicked, w_.window, [this](int index) {
    if (analysis_ && analysis_->Complete()) {
      w_.show_step(analysis_->Turns()[static_cast<std::size_t>(index)].end_step);
    }
  });
  Retranslate();
}

void AnalysisAid::Retranslate() {
  AnalysisCancel->setText(tr("解析を中止"));
  // Laid out by the status bar only while shown: wide enough before that.
  AnalysisCancel->setFixedWidth(AnalysisCancel->sizeHint().width());
  AnalysisGraph->SetHelp(tr("点をクリックすると、その手を表示します"));
  AnalysisGraph->SetTitle(tr("左側（赤）の勝率"));
  if (analysis_ && analysis_->Complete()) {
    // The turns' tooltips in the new language, the turn on show kept.
    const int current = AnalysisGraph->Current();
    ShowGraph();
    AnalysisGraph->SetCurrent(current);
  }
}

void AnalysisAid::Start(const std::vector<Move>& moves, Side first) {
  Clear();
  analysis_.emplace(moves, first);
  running_ = true;
  AnalysisProgress->setRange(0, analysis_->TurnCount());
  AnalysisProgress->setValue(0);
  AnalysisProgress->show();
  AnalysisCancel->show();
  w_.changed();
  w_.tasks.Start(Run(++request_));
}

Task<> AnalysisAid::Run(int request) {
  while (const std::optional<GameAnalysis::Request> next = analysis_->Next()) {
    SearchLimits limits;
    limits.time.reset();
    limits.playouts = kAnalysisPlayouts;
    // As `vexa-analyze analyse --seed 0` numbers its searches.
    limits.seed = static_cast<std::uint64_t>(next->number);
    SearchRunner::Awaiter search = w_.runner.Search(next->position, next->mover, limits);
    const std::optional<SearchResult> result = co_await search;
    if (request != request_) co_return;  // cleared, or another analysis began
    if (!result) {
      // Another search (a new game's computer player) took the runner:
      // it is not this analysis's to stop.
      running_ = false;
      Clear();
      co_return;
    }
    analysis_->Take(*result);
    AnalysisProgress->setValue(analysis_->TurnsWeighed());
  }
  running_ = false;
  AnalysisProgress->hide();
  AnalysisCancel->hide();
  ShowGraph();
  w_.changed();
}

void AnalysisAid::Clear() {
  ++request_;
  if (running_ && w_.runner.Busy()) w_.runner.Stop();
  running_ = false;
  analysis_.reset();
  AnalysisProgress->hide();
  AnalysisCancel->hide();
  AnalysisGraph->hide();
  w_.changed();
}

void AnalysisAid::ShowGraph() {
  std::vector<WinGraph::Point> points;
  for (const AnalysedTurn& turn : analysis_->Turns()) {
    points.push_back({turn.side == 1 ? turn.after.chance : 1.0 - turn.after.chance, turn.mark,
                      tr("手 %1: %2")
                              .arg(turn.end_step)
                              .arg(QString::fromStdString(TurnCellNames(turn.played))) +
                          u'\n' + TurnSummary(turn),
                      turn.side});
  }
  AnalysisGraph->SetPoints(std::move(points));
  AnalysisGraph->show();
  AnalysisGraph->raise();
}

const AnalysedTurn* AnalysisAid::TurnAt(int step) const {
  if (!analysis_ || !analysis_->Complete() || step <= 0) return nullptr;
  // The turn the latest placement belongs to, finished or not.
  for (const AnalysedTurn& turn : analysis_->Turns()) {
    if (step <= turn.end_step) return &turn;
  }
  return nullptr;
}

void AnalysisAid::StepShown(int step) {
  const AnalysedTurn* turn = TurnAt(step);
  AnalysisGraph->SetCurrent(turn ? turn->number - 1 : -1);
}

QString AnalysisAid::StatusText(int step) const {
  const AnalysedTurn* turn = TurnAt(step);
  return turn ? TurnSummary(*turn) : QString();
}

QString AnalysisAid::TurnSummary(const AnalysedTurn& turn) const {
  const QString mark = QString::fromLatin1(MarkText(turn.mark));
  // Whose chances: the mover's, named by its colour.
  const QString mover = turn.side == 1 ? tr("赤") : tr("青");
  const QString best = turn.best.empty() ? QStringLiteral("-")
                                         : QString::fromStdString(TurnCellNames(turn.best));
  const QString text =
      tr("%1の勝率 %2 → %3, 最善 %4")
          .arg(mover, ChanceText::Of(turn.before), ChanceText::Of(turn.after), best);
  return mark.isEmpty() ? text : mark + u' ' + text;
}

}  // namespace vexa::app
