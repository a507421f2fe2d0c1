#pragma once

// The result dialog: the outcome of a game in one line.

#include <QDialog>
#include <QLabel>

namespace vexa::app {

class Form5 : public QDialog {
  Q_OBJECT
 public:
  explicit Form5(QWidget* parent);
  QLabel* Label1;
  // The result of a dialog hidden by the host's next step, not closed.
  static constexpr int kHidden = 2;

 protected:
  void showEvent(QShowEvent* event) override;
};

}  // namespace vexa::app
