#pragma once

// Shown to the joining side while it waits for the host's next step.

#include <QDialog>

namespace vexa::app {

class Form7 : public QDialog {
  Q_OBJECT
 public:
  explicit Form7(QWidget* parent);

 protected:
  void showEvent(QShowEvent* event) override;
};

}  // namespace vexa::app
