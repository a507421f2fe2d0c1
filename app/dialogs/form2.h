#pragma once

// The About box.

#include <QDialog>

namespace vexa::app {

class Form2 : public QDialog {
  Q_OBJECT
 public:
  explicit Form2(QWidget* parent);
};

}  // namespace vexa::app
