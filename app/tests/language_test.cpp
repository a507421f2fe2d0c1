// The language choice: the menu switches every open window at once, the
// choice outlives the program, the command line overrides it for one run,
// and Qt's own buttons follow.

#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <map>

#include "app/dialogs/form4.h"
#include "program_driver.h"

namespace vexa::app {
namespace {

using testing::Answer;
using testing::Control;
using testing::Program;
using testing::WaitFor;

constexpr char kConfig[] = "Taro\r\n 12 \r\n 7 \r\n 1 \r\n";

// Where every control of the client area is and how large its font is.
std::map<QString, QString> Layout(Form1& f) {
  std::map<QString, QString> layout;
  for (QWidget* w : Control<QWidget>(f, "client")->findChildren<QWidget*>()) {
    const QRect g = w->geometry();
    layout[w->objectName()] = QStringLiteral("%1,%2 %3x%4 %5pt")
                                  .arg(g.x())
                                  .arg(g.y())
                                  .arg(g.width())
                                  .arg(g.height())
                                  .arg(w->font().pointSizeF());
  }
  return layout;
}

// The controls whose place or font differs, as "name: before -> after".
QStringList Differences(const std::map<QString, QString>& before,
                        const std::map<QString, QString>& after) {
  QStringList found;
  for (const auto& [name, was] : before) {
    const auto now = after.find(name);
    const QString is = now == after.end() ? QStringLiteral("gone") : now->second;
    if (is != was) found << QStringLiteral("%1: %2 -> %3").arg(name, was, is);
  }
  return found;
}

void ExpectEnglish(Form1& f) {
  EXPECT_EQ(Control<QPushButton>(f, "Command1", 0)->text(), QStringLiteral("Host game"));
  EXPECT_EQ(Control<QLabel>(f, "Label6", 2)->text(), QStringLiteral("Player name"));
  EXPECT_EQ(Control<QGroupBox>(f, "Frame4")->title(), QStringLiteral("Records"));
  EXPECT_EQ(f.menuBar()->findChild<QMenu*>(QStringLiteral("Mnu_Game"))->title(),
            QStringLiteral("&Game"));
  EXPECT_EQ(Control<QAction>(f, "Mnu_NewGame")->text(), QStringLiteral("&New Game"));
  EXPECT_EQ(Control<QAction>(f, "Mnu_Undo")->text(), QStringLiteral("&Undo"));
  EXPECT_EQ(Control<QLabel>(f, "StartHint")->text(), QStringLiteral("Start with Game > New Game"));
  EXPECT_EQ(Control<QLabel>(f, "Label7", 0)->text(), QStringLiteral("12 games"));
  EXPECT_EQ(Control<QLabel>(f, "Label7", 2)->text(), QStringLiteral("1 loss"));
  EXPECT_EQ(Control<TurnLamp>(f, "TurnMarker", 0)->Lines(), QStringList{QStringLiteral("TURN")});
  EXPECT_EQ(Control<QAction>(f, "Mnu_Format")->text(), QStringLiteral("&Reset Records"));
  EXPECT_EQ(Control<QAction>(f, "Mnu_About")->text(), QStringLiteral("&About"));
  EXPECT_EQ(Control<QLabel>(f, "Label7", 4)->text(), QStringLiteral("Win rate 58.3 %"));
  // Captions English already stay as they are.
  EXPECT_EQ(Control<QRadioButton>(f, "Option1", 0)->text(), QStringLiteral("VS CPU"));
  EXPECT_TRUE(Control<QAction>(f, "Mnu_English")->isChecked());
  EXPECT_FALSE(Control<QAction>(f, "Mnu_Japanese")->isChecked());
}

TEST(Language, TheMenuSwitchesTheOpenWindowAtOnceAndTheChoiceOutlivesTheProgram) {
  Program p(kConfig);
  ASSERT_TRUE(p.WaitShown());
  Form1* f = p.form1.get();
  EXPECT_EQ(Control<QPushButton>(*f, "Command1", 0)->text(), QStringLiteral("ゲームを主催"));
  EXPECT_EQ(Control<QLabel>(*f, "Label7", 0)->text(), QStringLiteral("12 戦"));
  EXPECT_TRUE(Control<QAction>(*f, "Mnu_Japanese")->isChecked());
  const auto japanese_layout = Layout(*f);

  Control<QAction>(*f, "Mnu_English")->trigger();
  ASSERT_TRUE(WaitFor([&] {
    return Control<QPushButton>(*f, "Command1", 0)->text() == QStringLiteral("Host game");
  }));
  ExpectEnglish(*f);
  EXPECT_EQ(QSettings(p.SettingsPath(), QSettings::IniFormat).value("language").toString(),
            QStringLiteral("en"));

  // Message boxes: the program's text and Qt's own buttons.
  Control<QAction>(*f, "Mnu_Rules")->trigger();
  const QString rules = Answer(QMessageBox::Ok).text;
  EXPECT_TRUE(rules.startsWith(QStringLiteral("An 11 x 11 board")));
  // It tells the aids too: each by its keys.
  for (const char* said : {"Ctrl+H", "Esc", "Ctrl+Z", "← →", "?!", "Show Coordinates", "vexa://"})
    EXPECT_TRUE(rules.contains(QString::fromUtf8(said))) << said;
  f->close();
  const auto quit = Answer(QMessageBox::No);
  EXPECT_EQ(quit.text, QStringLiteral("Quit the game?"));
  EXPECT_EQ(quit.answer_text, QStringLiteral("&No"));

  // The next start is English from the first moment.
  p.form1.reset();
  p.Start();
  f = p.form1.get();
  ASSERT_TRUE(p.WaitShown());
  ExpectEnglish(*f);

  // Back to Japanese: every caption, control and font as at first, however
  // much room the English captions took.
  Control<QAction>(*f, "Mnu_Japanese")->trigger();
  ASSERT_TRUE(WaitFor([&] {
    return Control<QPushButton>(*f, "Command1", 0)->text() == QStringLiteral("ゲームを主催");
  }));
  EXPECT_EQ(Control<QAction>(*f, "Mnu_NewGame")->text(), QStringLiteral("新規ゲーム(&N)"));
  EXPECT_EQ(Control<QLabel>(*f, "Label7", 4)->text(), QStringLiteral("勝率 58.3 %"));
  EXPECT_TRUE(Control<QAction>(*f, "Mnu_Japanese")->isChecked());
  const QStringList moved = Differences(japanese_layout, Layout(*f));
  EXPECT_TRUE(moved.isEmpty()) << moved.join(u'\n').toStdString();
  f->close();
  const auto quit_ja = Answer(QMessageBox::No);
  EXPECT_EQ(quit_ja.text, QStringLiteral("終了しますか？"));
  EXPECT_NE(quit_ja.answer_text, QStringLiteral("&No"));  // Qt's Japanese
  EXPECT_EQ(QSettings(p.SettingsPath(), QSettings::IniFormat).value("language").toString(),
            QStringLiteral("ja"));
}

TEST(Language, TheCommandLineOverridesTheStoredChoiceForOneRun) {
  Program p(kConfig, false);
  p.StoreLanguage(Language::Japanese);
  SetLanguageOverride(Language::English);
  p.Start();
  SetLanguageOverride(std::nullopt);
  ASSERT_TRUE(p.WaitShown());
  ExpectEnglish(*p.form1);
  // Only the menu changes what is stored.
  EXPECT_EQ(QSettings(p.SettingsPath(), QSettings::IniFormat).value("language").toString(),
            QStringLiteral("ja"));
}

// Nothing chosen: Japanese for a Japanese desktop, English for any other
// (a C locale included); a choice stored wins over either.
TEST(Language, TheDesktopsLanguageHoldsUntilOneIsChosen) {
  EXPECT_EQ(DesktopLanguage({QStringLiteral("ja-JP"), QStringLiteral("en")}), Language::Japanese);
  EXPECT_EQ(DesktopLanguage({QStringLiteral("ja")}), Language::Japanese);
  EXPECT_EQ(DesktopLanguage({QStringLiteral("en-US"), QStringLiteral("ja")}), Language::English);
  EXPECT_EQ(DesktopLanguage({QStringLiteral("C")}), Language::English);
  EXPECT_EQ(DesktopLanguage({QStringLiteral("de-DE")}), Language::English);
  EXPECT_EQ(DesktopLanguage(QStringList{}), Language::English);

  Program p(kConfig, false);
  QSettings settings(p.SettingsPath(), QSettings::IniFormat);
  EXPECT_EQ(StoredLanguage(settings, Language::English), Language::English);
  EXPECT_EQ(StoredLanguage(settings, Language::Japanese), Language::Japanese);
  p.StoreLanguage(Language::Japanese);
  settings.sync();
  EXPECT_EQ(StoredLanguage(settings, Language::English), Language::Japanese);
}

TEST(Language, TheSettingsDialogKeptBetweenGamesFollowsTheChoice) {
  ApplyLanguage(Language::Japanese);
  Form4 dialog(nullptr);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ゲーム設定"));
  ApplyLanguage(Language::English);
  ASSERT_TRUE(WaitFor([&] { return dialog.windowTitle() == QStringLiteral("Game Settings"); }));
  EXPECT_EQ(dialog.Command1[0]->text(), QStringLiteral("Start game"));
  EXPECT_EQ(dialog.Label3[0]->text(), QStringLiteral("Time limit"));
  EXPECT_EQ(dialog.Frame1->title(), QStringLiteral("Game mode"));
  ApplyLanguage(Language::Japanese);
  ASSERT_TRUE(WaitFor([&] { return dialog.windowTitle() == QStringLiteral("ゲーム設定"); }));
  EXPECT_EQ(dialog.Command1[0]->text(), QStringLiteral("ゲームスタート"));
}

}  // namespace
}  // namespace vexa::app
