#pragma once

// The two dialogs that take the player's name: the first-run dialog and the
// change of name. Both accept only names the records file can hold and an
// online peer receives whole.

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

#include "core/task.h"

namespace vexa::app {

// Shows why a name cannot be stored or sent, if it cannot; true when it can.
Task<bool> CheckStorableName(QWidget* parent, const QString& name);

// First run: asks for the player's name. An empty name is refused with a
// message; `accept_name` stores the name (and writes the records file).
class Form6 : public QDialog {
  Q_OBJECT
 public:
  Form6(QWidget* parent, TaskGroup& tasks, std::function<void(const QString&)> accept_name);
  QLineEdit* Text1;
  QPushButton* Command1;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  Task<> Command1_Click();
  TaskGroup& tasks_;
  std::function<void(const QString&)> accept_name_;
};

// "プレイヤーネームの変更": any storable name, the empty one included.
class Form8 : public QDialog {
  Q_OBJECT
 public:
  Form8(QWidget* parent, TaskGroup& tasks, const QString& current_name,
        std::function<void(const QString&)> accept_name);
  QLineEdit* Text1;
  QPushButton* Command1[2];

 private:
  Task<> Ok_Click();
  TaskGroup& tasks_;
  std::function<void(const QString&)> accept_name_;
};

}  // namespace vexa::app
