#pragma once

// Drives one complete program instance the way a person would: clicks on
// its controls, answers its dialogs and message boxes, waits for what it
// shows, each wait bounded in time.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "app/dialogs/form5.h"
#include "app/drive/controls.h"
#include "app/window/form1.h"
#include "outreach_fakes.h"

namespace vexa::app::testing {

constexpr int kWaitMs = 10000;

// Runs pending events until the condition holds; false on time-out.
inline bool WaitFor(const std::function<bool()>& condition, int timeout_ms = kWaitMs) {
  return QTest::qWaitFor(condition, timeout_ms);
}

// The visible top-level window of that type with that object name, if any.
template <typename T>
T* VisibleWindow(const QString& object_name = QString()) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* t = qobject_cast<T*>(w);
    if (t && t->isVisible() && (object_name.isEmpty() || t->objectName() == object_name)) return t;
  }
  return nullptr;
}

template <typename T>
T* WaitForWindow(const QString& object_name = QString()) {
  T* found = nullptr;
  WaitFor([&] { return (found = VisibleWindow<T>(object_name)) != nullptr; });
  return found;
}

// What a message box said, and the answer given to it.
struct MessageSeen {
  QString text;
  QString title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QString answer_text;  // the caption of the button pressed
};

// Waits for a message box and presses `answer` on it.
inline MessageSeen Answer(QMessageBox::StandardButton answer) {
  MessageSeen seen;
  QMessageBox* box = WaitForWindow<QMessageBox>();
  if (box == nullptr) {
    ADD_FAILURE() << "no message box appeared";
    return seen;
  }
  seen = {box->text(), box->windowTitle(), box->icon(), box->standardButtons(), QString()};
  QAbstractButton* button = box->button(answer);
  if (button == nullptr) {
    ADD_FAILURE() << "the message box has no such button";
    return seen;
  }
  seen.answer_text = button->text();
  button->click();
  WaitFor([&] { return !box->isVisible(); });
  return seen;
}

// The status bar's line.
inline QString StatusLine(QWidget& window) {
  return Control<QLabel>(window, "StatusLine")->text();
}

// Opens each menu of the menu bar, hovers every item and closes it again,
// as a person looking through the menus does. Each hovered item, and each
// menu closed, sends the window a status tip (most of them empty).
inline void BrowseMenus(QMainWindow& window) {
  const bool active = window.isActiveWindow();
  for (QAction* top : window.menuBar()->actions()) {
    QMenu* menu = top->menu();
    if (menu == nullptr) continue;
    menu->popup(window.mapToGlobal(QPoint(0, 0)));
    // Submenus are passed over: hovered, they would open and stay open.
    for (QAction* item : menu->actions()) {
      if (!item->isSeparator() && item->menu() == nullptr) menu->setActiveAction(item);
    }
    QStatusTipEvent left(QString{});
    QApplication::sendEvent(&window, &left);
    menu->hide();
  }
  while (QWidget* popup = QApplication::activePopupWidget())
    popup->close();
  // As a person's window after a menu closes: its shortcuts work again.
  if (active) {
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) ADD_FAILURE() << "the window is not active again";
  }
}

// One program with its own program folder.
class Program {
 public:
  // The records file to start with; empty for a first run.
  explicit Program(const QByteArray& config = QByteArray(), bool start = true) {
    if (!config.isNull()) WriteConfig(config);
    if (start) Start();
  }

  void WriteConfig(const QByteArray& bytes) {
    QFile file(ConfigPath());
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
  }
  QByteArray ReadConfig() const {
    QFile file(ConfigPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  // The user's data folder, where the records of games are kept.
  QString DataPath() const { return data_.path(); }
  // Chooses the language the next start shows, as the menu would have.
  void StoreLanguage(Language language) {
    QSettings settings(SettingsPath(), QSettings::IniFormat);
    vexa::app::StoreLanguage(settings, language);
  }
  // The preferences (the language), never the user's own.
  QString SettingsPath() const { return QDir(folder_.path()).filePath(QStringLiteral("vexa.ini")); }
  QString ConfigPath() const { return QDir(folder_.path()).filePath(QStringLiteral("Config")); }

  void Start() {
    form1 =
        std::make_unique<Form1>(ProgramPlaces{folder_.path(), data_.path(), SettingsPath()}, 12345);
    form1->SetPauseOverride(0);
    // Neither the machine's Avahi daemon nor its router takes part.
    auto discovery = std::make_unique<FakeDiscovery>();
    auto mapper = std::make_unique<FakeMapper>();
    this->discovery = discovery.get();
    this->mapper = mapper.get();
    form1->online_play().outreach().UseParts(std::move(discovery), std::move(mapper));
    form1->Start(form1->Main());
  }
  FakeDiscovery* discovery = nullptr;
  FakeMapper* mapper = nullptr;
  bool WaitShown() {
    return WaitFor([&] { return form1->isVisible(); });
  }

  // A mouse button pressed on a board cell, as a person presses it.
  void ClickCell(int cell, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(Control<CellLabel>(*form1, "Label1", cell), button);
  }
  void NewGame() { Control<QAction>(*form1, "Mnu_NewGame")->trigger(); }
  // Player1's piece on the first empty playable cell, then the wait until
  // Player1 may move again or the game is over; false on time-out.
  bool PlayFirstEmptyCell() {
    int cell = 1;
    while (!IsPlayableCell(cell) || form1->game().Board()[cell] != Empty)
      ++cell;
    ClickCell(cell);
    return WaitFor([&] {
      const Side turn = form1->game().Turn();
      return turn == Player1 || turn == NoTurn;
    });
  }
  // "VS Human" by its button, then a new game from the menu; true once
  // Player1 may move.
  bool StartVsHuman() {
    QTest::mouseClick(Control<QRadioButton>(*form1, "Option1", 1), Qt::LeftButton);
    NewGame();
    return WaitFor([&] { return form1->game().Turn() == Player1; });
  }
  // Waits for the result dialog, returns its text and presses "OK".
  QString CloseResult() {
    Form5* form5 = nullptr;
    if (!WaitFor([&] { return (form5 = form1->findChild<Form5*>()) && form5->isVisible(); })) {
      ADD_FAILURE() << "no result dialog";
      return {};
    }
    const QString text = form5->Label1->text();
    form5->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    return text;
  }

  std::unique_ptr<Form1> form1;

 private:
  QTemporaryDir folder_;
  QTemporaryDir data_;
};

}  // namespace vexa::app::testing
