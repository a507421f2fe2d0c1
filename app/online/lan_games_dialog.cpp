#include "app/online/lan_games_dialog.h"

#include "app/dialogs/dialog_parts.h"
#include "app/window/twips.h"

namespace vexa::app {

namespace {

constexpr int kServiceRole = Qt::UserRole;
constexpr int kAddressRole = Qt::UserRole + 1;
constexpr int kPortRole = Qt::UserRole + 2;

QListWidgetItem* ItemOf(QListWidget* list, const QString& service) {
  for (int i = 0; i < list->count(); ++i) {
    if (list->item(i)->data(kServiceRole).toString() == service) return list->item(i);
  }
  return nullptr;
}

}  // namespace

LanGamesDialog::LanGamesDialog(QWidget* parent, net::GameDiscovery& discovery)
    : QDialog(parent), discovery_(&discovery) {
  setObjectName(QStringLiteral("LanGames"));
  setWindowTitle(tr("LAN のゲーム"));
  SetClientSize(this, 6600, 4200);
  Label1 = MakeLabel(this, QStringLiteral("Label1"), tr("ゲームを探しています・・・"), 120, 120,
                     6360, 300);
  Label1->setTextFormat(Qt::PlainText);
  List1 = ListBox(this, QStringLiteral("List1"), 120, 480, 6360, 2880);
  Command1 = MakeButton(this, QStringLiteral("Command1"), tr("参加"), 3480, 3540, 1400, 390);
  Command2 = MakeButton(this, QStringLiteral("Command2"), tr("閉じる"), 5040, 3540, 1440, 390);
  Command1->setEnabled(false);

  connect(List1, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
    Command1->setEnabled(item != nullptr);
    if (item != nullptr) emit Chosen(ChosenHost(), ChosenPort());
  });
  connect(List1, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
  connect(Command1, &QPushButton::clicked, this, [this] { accept(); });
  connect(Command2, &QPushButton::clicked, this, [this] { reject(); });
  connect(&discovery, &net::GameDiscovery::GameSeen, this, &LanGamesDialog::GameSeen);
  connect(&discovery, &net::GameDiscovery::GameGone, this, &LanGamesDialog::GameGone);
  connect(&discovery, &net::GameDiscovery::Unavailable, this, [this] {
    if (unavailable_) return;
    unavailable_ = true;
    List1->clear();
    // Why, in the player's words, and what to do instead; the daemon's name
    // is for whoever can start it.
    Label1->setText(
        tr("このネットワークのゲームを探せません。相手のアドレスを入力して参加してください "
           "(Avahi が動いていません)"));
    // Two lines over the top of the empty list.
    Label1->setWordWrap(true);
    Label1->setGeometry(TwipRect(120, 120, 6360, 600));
    List1->setGeometry(TwipRect(120, 780, 6360, 2580));
  });
  // Closed, the dialog no longer needs the daemon's answers.
  connect(this, &QDialog::finished, this, [this] {
    if (discovery_) discovery_->StopBrowsing();
  });
  discovery.StartBrowsing();
}

LanGamesDialog::~LanGamesDialog() {
  if (discovery_) discovery_->StopBrowsing();
}

QString LanGamesDialog::ChosenHost() const {
  const QListWidgetItem* item = List1->currentItem();
  return item ? item->data(kAddressRole).toString() : QString();
}

int LanGamesDialog::ChosenPort() const {
  const QListWidgetItem* item = List1->currentItem();
  return item ? item->data(kPortRole).toInt() : 0;
}

void LanGamesDialog::GameSeen(const net::LanGame& game) {
  QListWidgetItem* item = ItemOf(List1, game.service);
  if (item == nullptr) {
    if (List1->count() >= kGamesShown) return;
    item = new QListWidgetItem(List1);
    item->setData(kServiceRole, game.service);
  } else if (!item->data(kAddressRole).toString().contains(u':') || game.address.contains(u':')) {
    // Seen again: an IPv4 address is kept over an IPv6 one, the simpler to
    // read and to reach.
    return;
  }
  item->setData(kAddressRole, game.address);
  item->setData(kPortRole, game.port);
  const QString player = game.player.isEmpty() ? tr("(名前なし)") : game.player;
  QString text = player + QStringLiteral("  ") + game.address + u':' + QString::number(game.port);
  if (!game.version.isEmpty()) text += QStringLiteral("  (") + game.version + u')';
  item->setText(text);
  ShowCount();
}

void LanGamesDialog::GameGone(const QString& service) {
  delete ItemOf(List1, service);
  ShowCount();
}

void LanGamesDialog::ShowCount() {
  if (unavailable_) return;
  Label1->setText(List1->count() >= kGamesShown
                      ? tr("ゲーム %1 件 (これ以上は表示しません)").arg(kGamesShown)
                  : List1->count() == 0 ? tr("ゲームを探しています・・・")
                                        : tr("ゲーム %1 件").arg(List1->count()));
}

}  // namespace vexa::app
