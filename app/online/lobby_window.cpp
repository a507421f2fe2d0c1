#include "app/online/lobby_window.h"

#include "lobby/local_address.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHostInfo>
#include <QVBoxLayout>

namespace vexa::app {

namespace {

constexpr int kHostRole = Qt::UserRole;
constexpr int kOpenedRole = Qt::UserRole + 1;

QString WaitText(qint64 seconds) {
  seconds = std::max<qint64>(seconds, 0);
  return seconds < 3600
             ? QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QChar(u'0'))
             : QStringLiteral("%1h").arg(seconds / 3600);
}

}  // namespace

LobbyWindow::LobbyWindow(QWidget* parent, LobbyGameHooks hooks)
    : QDialog(parent), hooks_(std::move(hooks)) {
  setObjectName(QStringLiteral("Lobby"));
  setWindowModality(Qt::NonModal);
  resize(720, 520);
  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setTextFormat(Qt::PlainText);
  List1 = new QListWidget(this);
  List1->setObjectName(QStringLiteral("List1"));
  Tree1 = new QTreeWidget(this);
  Tree1->setObjectName(QStringLiteral("Tree1"));
  Tree1->setRootIsDecorated(false);
  Tree1->setColumnCount(4);
  Tree1->setSortingEnabled(true);
  Tree1->sortByColumn(0, Qt::AscendingOrder);
  List2 = new QListWidget(this);
  List2->setObjectName(QStringLiteral("List2"));
  List2->setWordWrap(true);
  Text1 = new QLineEdit(this);
  Text1->setObjectName(QStringLiteral("Text1"));
  Text1->setMaxLength(400);
  Combo1 = new QComboBox(this);
  Combo1->setObjectName(QStringLiteral("Combo1"));
  Combo1->addItems({QString(), QString()});
  Spin1 = new QSpinBox(this);
  Spin1->setObjectName(QStringLiteral("Spin1"));
  Spin1->setRange(1, lobby::kMaxExciteSeconds);
  Spin1->setValue(5);
  Command1 = new QPushButton(this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setEnabled(false);

  auto* games_and_players = new QHBoxLayout;
  games_and_players->addWidget(Tree1, 3);
  games_and_players->addWidget(List1, 1);
  auto* host_row = new QHBoxLayout;
  host_row->addWidget(Combo1);
  host_row->addWidget(Spin1);
  host_row->addStretch();
  host_row->addWidget(Command1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addLayout(games_and_players, 3);
  layout->addLayout(host_row);
  layout->addWidget(List2, 2);
  layout->addWidget(Text1);
  Retranslate();

  connect(Combo1, &QComboBox::currentIndexChanged, this,
          [this](int index) { Spin1->setEnabled(index == 1); });
  Spin1->setEnabled(false);
  connect(Command1, &QPushButton::clicked, this, &LobbyWindow::HostClicked);
  connect(Tree1, &QTreeWidget::itemDoubleClicked, this, &LobbyWindow::JoinChosen);
  connect(Text1, &QLineEdit::returnPressed, this, [this] {
    client_.SendChat(Text1->text());
    Text1->clear();
  });
  connect(&client_, &lobby::LobbyClient::Entered, this, [this] {
    Label1->setText(tr("ロビーに入りました: %1").arg(client_.OwnNick()));
    Command1->setEnabled(true);
    ShowPlayers();
  });
  connect(&client_, &lobby::LobbyClient::Failed, this, [this](const QString& reason) {
    Label1->setText(tr("ロビーに入れません: %1").arg(reason));
    Command1->setEnabled(false);
    announcing_ = false;
  });
  connect(&client_, &lobby::LobbyClient::PlayersChanged, this, &LobbyWindow::ShowPlayers);
  connect(&client_, &lobby::LobbyClient::GameOpened, this, &LobbyWindow::GameOpened);
  connect(&client_, &lobby::LobbyClient::GameClosed, this, &LobbyWindow::GameClosed);
  connect(&client_, &lobby::LobbyClient::ChatHeard, this,
          [this](const QString& nick, const QString& text) {
            AddChatLine(nick + QStringLiteral(" >> ") + text);
          });
  connect(&client_, &lobby::LobbyClient::JoinRequested, this,
          [this](const QString& guest, const lobby::JoinRequest& request) {
            // Only while the game is open; the address goes to this guest alone.
            if (!announcing_) return;
            if (invited_jids_.size() < 16) invited_jids_.insert(guest, request.jid);
            if (own_address_.isEmpty()) return;
            lobby::Invitation invitation;
            invitation.address = own_address_;
            invitation.port = hooks_.game_port();
            client_.Invite(guest, invitation);
          });
  connect(&client_, &lobby::LobbyClient::Invited, this,
          [this](const QString& host, const lobby::Invitation& invitation) {
            if (host != asked_host_) return;
            asked_host_.clear();
            invited_by_ = host;
            invitation_ = invitation;
            hooks_.set_way(tr("直接接続"));
            hooks_.join(invitation.address, invitation.port);
            QTimer::singleShot(kDirectMs, this, &LobbyWindow::DirectTimedOut);
          });
  connect(&client_, &lobby::LobbyClient::RelayRequested, this, &LobbyWindow::RelayRequested);
  waits_.setInterval(1000);
  connect(&waits_, &QTimer::timeout, this, &LobbyWindow::RefreshWaits);
  waits_.start();
  // Closing the window leaves the room, which withdraws an announcement.
  connect(this, &QDialog::finished, this, [this] {
    client_.Stop();
    announcing_ = false;
    Tree1->clear();
    Label1->clear();
  });
}

void LobbyWindow::Retranslate() {
  setWindowTitle(tr("オンラインロビー"));
  Tree1->setHeaderLabels({tr("主催者"), tr("モード"), tr("バージョン"), tr("待ち時間")});
  Combo1->setItemText(0, tr("ノーマル"));
  Combo1->setItemText(1, tr("エキサイト (秒)"));
  Command1->setText(tr("ゲームを主催"));
  Text1->setPlaceholderText(tr("チャット"));
}

void LobbyWindow::Enter(const lobby::LobbyAccount& account, const QString& password_file) {
  announcing_ = false;
  Tree1->clear();
  List1->clear();
  Command1->setEnabled(false);
  Label1->setText(tr("ロビーに入っています・・・ (%1)").arg(account.server));
  client_.Stop();
  // A visit entered again drops the answer of the one before.
  passwords_ = std::make_unique<lobby::PasswordStore>(password_file);
  if (account.anonymous) {
    client_.Start(account);
  } else {
    connect(passwords_.get(), &lobby::PasswordStore::Loaded, this,
            [this, account](const std::optional<QString>& password, const QString& reason) {
              if (!password) {
                Label1->setText(tr("ロビーに入れません: %1").arg(reason));
                return;
              }
              lobby::LobbyAccount with_password = account;
              with_password.password = *password;
              client_.Start(with_password);
            });
    passwords_->Load(account.server, account.account);
  }
  own_address_.clear();
  QHostInfo::lookupHost(account.server, this, [this](const QHostInfo& info) {
    if (!info.addresses().isEmpty()) {
      own_address_ = lobby::LocalAddressToward(info.addresses().constFirst()).toString();
    }
  });
}

void LobbyWindow::HostClicked() {
  host_requested_ = true;
  hooks_.host();
}

void LobbyWindow::HostingStarted() {
  // Announced only when the hosting came from this window.
  if (!host_requested_ || !client_.InRoom()) return;
  host_requested_ = false;
  lobby::GameAnnouncement game;
  if (Combo1->currentIndex() == 1) game.excite_seconds = Spin1->value();
  game.version = QStringLiteral(VEXA_VERSION);
  game.opened_at = QDateTime::currentSecsSinceEpoch();
  client_.Announce(game);
  announcing_ = true;
  // A guest that comes is one of the lobby's, directly unless relayed.
  hooks_.set_way(tr("直接接続"));
  Label1->setText(tr("ゲームを主催しています。対戦相手を待っています・・・"));
}

void LobbyWindow::HostingOver() {
  host_requested_ = false;
  invited_jids_.clear();
  if (!announcing_) return;
  announcing_ = false;
  client_.Announce(std::nullopt);
  if (client_.InRoom()) Label1->setText(tr("ロビーに入りました: %1").arg(client_.OwnNick()));
}

void LobbyWindow::ShowPlayers() {
  List1->clear();
  for (const QString& nick : client_.Players())
    List1->addItem(nick);
}

void LobbyWindow::GameOpened(const QString& host, const lobby::GameAnnouncement& game) {
  QTreeWidgetItem* item = nullptr;
  for (int i = 0; i < Tree1->topLevelItemCount(); ++i) {
    if (Tree1->topLevelItem(i)->data(0, kHostRole).toString() == host) {
      item = Tree1->topLevelItem(i);
    }
  }
  if (!item) {
    if (Tree1->topLevelItemCount() >= kGamesShown) return;
    item = new QTreeWidgetItem(Tree1);
    item->setData(0, kHostRole, host);
  }
  item->setText(0, host);
  item->setText(
      1, game.excite_seconds ? tr("エキサイト %1秒").arg(*game.excite_seconds) : tr("ノーマル"));
  item->setText(2, game.version);
  item->setData(0, kOpenedRole, game.opened_at);
  item->setText(3, WaitText(QDateTime::currentSecsSinceEpoch() - game.opened_at));
}

void LobbyWindow::GameClosed(const QString& host) {
  for (int i = 0; i < Tree1->topLevelItemCount(); ++i) {
    if (Tree1->topLevelItem(i)->data(0, kHostRole).toString() == host) {
      delete Tree1->takeTopLevelItem(i);
      return;
    }
  }
}

void LobbyWindow::RefreshWaits() {
  const qint64 now = QDateTime::currentSecsSinceEpoch();
  for (int i = 0; i < Tree1->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = Tree1->topLevelItem(i);
    item->setText(3, WaitText(now - item->data(0, kOpenedRole).toLongLong()));
  }
}

void LobbyWindow::JoinChosen() {
  const QTreeWidgetItem* item = Tree1->currentItem();
  if (!item || !client_.InRoom()) return;
  asked_host_ = item->data(0, kHostRole).toString();
  client_.RequestJoin(asked_host_);
  Label1->setText(tr("%1 さんに参加を申し込みました・・・").arg(asked_host_));
}

void LobbyWindow::DirectTimedOut() {
  if (invited_by_.isEmpty() || !hooks_.still_waiting()) {
    invited_by_.clear();
    return;
  }
  Label1->setText(tr("直接つながりません。中継サーバー経由で接続しています・・・"));
  StartRelay(false);
  relay_->StartAsGuest(invited_by_, invitation_.jid);
  invited_by_.clear();
}

void LobbyWindow::RelayRequested(const QString& guest, const QString& sid) {
  // Only a guest this host invited, while its game is open.
  if (!announcing_ || !invited_jids_.contains(guest) || relay_) return;
  StartRelay(true);
  relay_->StartAsHost(guest, invited_jids_.value(guest), sid);
}

void LobbyWindow::StartRelay(bool as_host) {
  if (relay_) relay_.release()->deleteLater();
  relay_ = std::make_unique<lobby::RelayLink>(client_);
  connect(relay_.get(), &lobby::RelayLink::Ready, this,
          [this, as_host](QTcpSocket* game, QTcpSocket* chat) {
            if (!as_host) hooks_.set_way(tr("中継サーバー経由"));
            hooks_.take_relayed(game, chat, as_host);
            // A host's streams wait for the guest's name as a direct caller
            // does, and may be dropped: the next invited guest may ask for
            // the relay meanwhile.
            if (as_host) relay_.release()->deleteLater();
          });
  connect(relay_.get(), &lobby::RelayLink::Failed, this, [this](const QString& reason) {
    Label1->setText(tr("中継サーバーで接続できません: %1").arg(reason));
    hooks_.relay_failed(reason);
  });
}

void LobbyWindow::AddChatLine(const QString& line) {
  List2->addItem(line);
  while (List2->count() > kChatLinesKept)
    delete List2->takeItem(0);
  QMetaObject::invokeMethod(List2, &QListWidget::scrollToBottom, Qt::QueuedConnection);
}

}  // namespace vexa::app
