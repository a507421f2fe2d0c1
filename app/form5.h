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
};

}  // namespace vexa::app
