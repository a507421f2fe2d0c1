// The windows' side of games on this network, the router's ports and
// joining by a link, with stand-ins for the Avahi daemon and the router
// (the daemons themselves are tested in network namespaces).

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include "app/online/lan_games_dialog.h"
#include "app/window/twips.h"
#include "online_driver.h"

namespace vexa::app {
namespace {

using testing::Control;
using testing::DialogOf;
using testing::OnlinePair;
using testing::Program;
using testing::WaitFor;

void FakeDiscoveryEmits(testing::Program& program, const net::LanGame& game) {
  emit program.discovery->GameSeen(game);
}

QString LabelText(QWidget* dialog, const char* name) {
  auto* label = dialog->findChild<QLabel*>(QString::fromLatin1(name));
  return label ? label->text() : QStringLiteral("(none)");
}

TEST_F(OnlinePair, TheHostAnnouncesAndAsksTheRouterWhileHostingAndTheDialogTellsTheAnswer) {
  // No gateway answers: forward by hand, and a cancel ends it all. Until
  // then the link is the LAN address's, for this network only.
  host.form1->online_play().outreach().UseAddresses({QHostAddress(QStringLiteral("127.0.0.1")),
                                                     QHostAddress(QStringLiteral("203.0.113.7")),
                                                     QHostAddress(QStringLiteral("192.168.1.5"))});
  HostPressed();
  Form3* form3 = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (form3 = DialogOf<Form3>(host)) != nullptr; }));
  ASSERT_TRUE(host.discovery->announced);
  EXPECT_EQ(*host.discovery->announced, std::make_pair(port, QStringLiteral("Taro")));
  EXPECT_EQ(host.mapper->opened, port);
  EXPECT_EQ(LabelText(form3, "Label2"),
            QStringLiteral("ルーターにポートの転送を頼んでいます・・・"));
  EXPECT_EQ(LabelText(form3, "Label3"), QStringLiteral("このマシン: LAN 192.168.1.5"));
  // The dialog grows to the right; its own controls keep their places, and
  // the copy button stands in the row of "キャンセル", at the bottom.
  EXPECT_EQ(form3->Label1->geometry(), TwipRect(240, 240, 3420, 300));
  EXPECT_EQ(form3->Command1->geometry(), TwipRect(1200, 750, 1500, 390));
  auto* copy = form3->findChild<QPushButton*>(QStringLiteral("Command2"));
  EXPECT_EQ(copy->geometry().top(), form3->Command1->geometry().top());
  for (QWidget* w : form3->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    EXPECT_LE(w->geometry().bottom(), copy->geometry().bottom()) << w->objectName().toStdString();
    EXPECT_LE(w->geometry().right(), form3->width()) << w->objectName().toStdString();
  }
  net::PortMapping none;
  none.asked_port = port;
  emit host.mapper->Answered(none);
  ASSERT_TRUE(copy->isEnabled());
  copy->click();
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            QStringLiteral("vexa://192.168.1.5:%1").arg(port));
  EXPECT_EQ(LabelText(form3, "Label5"),
            QStringLiteral("このネットワークの中だけで使えるリンクです"));
  EXPECT_EQ(LabelText(form3, "Label2"),
            QStringLiteral("ルーターが応答しません。ポート %1 と %2 を手動で転送してください")
                .arg(port)
                .arg(port + 1));
  form3->Command1->click();  // キャンセル
  ASSERT_TRUE(WaitFor([&] { return DialogOf<Form3>(host) == nullptr; }));
  EXPECT_FALSE(host.discovery->announced);
  EXPECT_FALSE(host.mapper->opened);

  // Hosting again: the router gives another port than asked.
  HostPressed();
  ASSERT_TRUE(WaitFor([&] { return (form3 = DialogOf<Form3>(host)) != nullptr; }));
  emit host.mapper->Answered(net::PortMapping{true, QStringLiteral("203.0.113.9"), port, port + 2,
                                              QStringLiteral("UPnP")});
  EXPECT_EQ(
      LabelText(form3, "Label2"),
      QStringLiteral(
          "外部アドレス: 203.0.113.9:%1 (ルーターはポート %2 の代わりにこのポートを割り当てました)")
          .arg(port + 2)
          .arg(port));
  form3->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            QStringLiteral("vexa://203.0.113.9:%1").arg(port + 2));
  EXPECT_EQ(LabelText(form3, "Label5"), QString());  // reached from anywhere

  // A guest comes: the game is no longer offered on the network, but the
  // router's ports carry it until the connection ends.
  JoinPressed();
  ASSERT_TRUE(WaitFor([&] { return form3->Connected(); }));
  EXPECT_FALSE(host.discovery->announced);
  EXPECT_EQ(host.mapper->opened, port);
  EXPECT_EQ(LabelText(DialogOf<Form3>(guest), "Label2"), QStringLiteral("(none)"));
  EXPECT_FALSE(guest.discovery->announced);
  form3->Command1->click();  // OK
  ASSERT_TRUE(WaitFor([&] { return HostSettings() != nullptr; }));
  HostSettings()->Command1[1]->click();  // 終了
  ASSERT_TRUE(WaitFor([&] { return !host.mapper->opened; }));
}

TEST_F(OnlinePair, AGameChosenInTheListFillsThePanelAndADoubleClickJoinsIt) {
  HostPressed();
  ChooseOnline(guest, 1);
  auto* button = Control<QPushButton>(*guest.form1, QStringLiteral("Cmd_LanGames"));
  // Where the connection panel was empty: it covers none of its controls.
  for (QWidget* other :
       button->parentWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (other != button) {
      EXPECT_FALSE(other->geometry().intersects(button->geometry()))
          << other->objectName().toStdString();
    }
  }
  ASSERT_TRUE(button->isEnabled());
  button->click();
  LanGamesDialog* dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = DialogOf<LanGamesDialog>(guest)) != nullptr; }));
  EXPECT_TRUE(guest.discovery->browsing);

  // A game chosen, then "閉じる": nothing joins.
  FakeDiscoveryEmits(guest, {QStringLiteral("Taro"), QStringLiteral("Taro"), QStringLiteral("1.2"),
                             QStringLiteral("127.0.0.1"), port});
  dialog->List1->setCurrentRow(0);
  dialog->Command2->click();
  ASSERT_TRUE(WaitFor([&] { return guest.form1->PendingTasks() == 0; }));
  EXPECT_EQ(DialogOf<LanGamesDialog>(guest), nullptr);
  EXPECT_EQ(Control<net::Winsock>(*guest.form1, "Winsock1")->State(), net::Winsock::kClosed);
  EXPECT_EQ(DialogOf<Form3>(guest), nullptr);
  button->click();
  ASSERT_TRUE(WaitFor([&] { return (dialog = DialogOf<LanGamesDialog>(guest)) != nullptr; }));

  FakeDiscoveryEmits(guest, {QStringLiteral("Taro"), QStringLiteral("Taro"), QStringLiteral("1.2"),
                             QStringLiteral("fe80::1%lo"), port});
  // Seen again over IPv4: that address is kept.
  FakeDiscoveryEmits(guest, {QStringLiteral("Taro"), QStringLiteral("Taro"), QStringLiteral("1.2"),
                             QStringLiteral("127.0.0.1"), port});
  FakeDiscoveryEmits(guest, {QStringLiteral("Taro"), QStringLiteral("Taro"), QStringLiteral("1.2"),
                             QStringLiteral("fe80::2%lo"), port});
  ASSERT_EQ(dialog->List1->count(), 1);
  EXPECT_EQ(dialog->List1->item(0)->text(), QStringLiteral("Taro  127.0.0.1:%1  (1.2)").arg(port));
  // A flood lists 100; one that leaves makes room for the next.
  for (int i = 0; i < 120; ++i) {
    FakeDiscoveryEmits(guest, {QStringLiteral("Game %1").arg(i), QString(), QString(),
                               QStringLiteral("192.0.2.1"), 1000 + i});
  }
  EXPECT_EQ(dialog->List1->count(), LanGamesDialog::kGamesShown);
  EXPECT_EQ(dialog->Label1->text(), QStringLiteral("ゲーム 100 件 (これ以上は表示しません)"));
  emit guest.discovery->GameGone(QStringLiteral("Game 0"));
  EXPECT_EQ(dialog->List1->count(), 99);
  EXPECT_EQ(dialog->List1->item(1)->text(), QStringLiteral("(名前なし)  192.0.2.1:1001"));

  dialog->List1->setCurrentRow(1);
  EXPECT_EQ(Control<QLineEdit>(*guest.form1, "Text1", 0)->text(), QStringLiteral("192.0.2.1"));
  EXPECT_EQ(Control<QLineEdit>(*guest.form1, "Text1", 1)->text(), QStringLiteral("1001"));
  QListWidgetItem* taro = dialog->List1->item(0);
  // A double click as the system delivers it: a click, then the second press.
  const QPoint at = dialog->List1->visualItemRect(taro).center();
  QTest::mouseClick(dialog->List1->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(dialog->List1->viewport(), Qt::LeftButton, {}, at);
  ASSERT_TRUE(WaitFor([&] { return DialogOf<LanGamesDialog>(guest) == nullptr; }));
  EXPECT_FALSE(guest.discovery->browsing);
  Form3* host3 = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (host3 = DialogOf<Form3>(host)) && host3->Connected(); }));
}

TEST(LanGames, WithoutTheDaemonTheListSaysOnceThatItCannotSearch) {
  Program program("Taro\r\n 0 \r\n 0 \r\n 0 \r\n");
  ASSERT_TRUE(program.WaitShown());
  program.discovery->unavailable = true;
  QTest::mouseClick(Control<QRadioButton>(*program.form1, "Option1", 2), Qt::LeftButton);
  Control<QPushButton>(*program.form1, QStringLiteral("Cmd_LanGames"))->click();
  LanGamesDialog* dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = DialogOf<LanGamesDialog>(program)) != nullptr; }));
  const QString said = QStringLiteral(
      "このネットワークのゲームを探せません。相手のアドレスを入力して参加してください "
      "(Avahi が動いていません)");
  EXPECT_EQ(dialog->Label1->text(), said);
  emit program.discovery->Unavailable();
  EXPECT_EQ(dialog->Label1->text(), said);
  EXPECT_EQ(dialog->List1->count(), 0);
  dialog->Command2->click();  // 閉じる
  EXPECT_TRUE(WaitFor([&] { return DialogOf<LanGamesDialog>(program) == nullptr; }));
}

TEST(PortMappingOption, TurnedOffNoRouterIsAskedAndThePreferenceOutlivesTheProgram) {
  const QByteArray records = "Taro\r\n 0 \r\n 0 \r\n 0 \r\n";
  Program program(records);
  ASSERT_TRUE(program.WaitShown());
  auto* option = Control<QAction>(*program.form1, QStringLiteral("Mnu_PortMapping"));
  ASSERT_TRUE(option->isChecked());
  option->trigger();
  testing::PressHost(*program.form1, testing::FreePortPair());
  ASSERT_TRUE(WaitFor([&] { return DialogOf<Form3>(program) != nullptr; }));
  EXPECT_FALSE(program.mapper->opened);
  EXPECT_TRUE(program.discovery->announced);
  // Kept with the preferences; the records file keeps its four lines.
  EXPECT_EQ(QSettings(program.SettingsPath(), QSettings::IniFormat)
                .value(QStringLiteral("Network/PortMapping")),
            QVariant(false));
  EXPECT_EQ(program.ReadConfig(), records);
  DialogOf<Form3>(program)->Command1->click();
  program.Start();
  ASSERT_TRUE(program.WaitShown());
  EXPECT_FALSE(Control<QAction>(*program.form1, QStringLiteral("Mnu_PortMapping"))->isChecked());
}

TEST_F(OnlinePair, AJoinAskedByALinkChoosesVsOnlineAndJoins) {
  HostPressed();
  guest.form1->JoinWhenReady(QStringLiteral("127.0.0.1"), port);
  EXPECT_TRUE(Control<QRadioButton>(*guest.form1, "Option1", 2)->isChecked());
  EXPECT_EQ(Control<QLineEdit>(*guest.form1, "Text1", 1)->text(), QString::number(port));
  Form3* host3 = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (host3 = DialogOf<Form3>(host)) && host3->Connected(); }));
}

}  // namespace
}  // namespace vexa::app
