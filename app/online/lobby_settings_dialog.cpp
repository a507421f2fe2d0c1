#include "app/online/lobby_settings_dialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QMessageBox>

#include "lobby/password_store.h"

namespace vexa::app {

namespace {

const QString kServerKey = QStringLiteral("lobby/server");
const QString kAccountKey = QStringLiteral("lobby/account");
const QString kRoomKey = QStringLiteral("lobby/room");
const QString kCaFileKey = QStringLiteral("lobby/caFile");
const QString kAnonymousKey = QStringLiteral("lobby/anonymous");

}  // namespace

QString LobbyPasswordPath(const QSettings& settings) {
  return QFileInfo(settings.fileName()).absolutePath() + QStringLiteral("/lobby-password");
}

lobby::LobbyAccount StoredLobbyAccount(const QSettings& settings) {
  lobby::LobbyAccount account;
  account.server = settings.value(kServerKey).toString();
  account.account = settings.value(kAccountKey).toString();
  account.room = settings.value(kRoomKey).toString();
  account.ca_file = settings.value(kCaFileKey).toString();
  account.anonymous = settings.value(kAnonymousKey).toBool();
  return account;
}

LobbySettingsDialog::LobbySettingsDialog(QWidget* parent, QSettings& settings)
    : QDialog(parent), settings_(settings) {
  setObjectName(QStringLiteral("LobbySettings"));
  setWindowTitle(tr("ロビーの設定"));
  const lobby::LobbyAccount account = StoredLobbyAccount(settings);
  const auto field = [this](const char* name, const QString& text) {
    auto* edit = new QLineEdit(text, this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(255);
    return edit;
  };
  Text1 = field("Text1", account.server);
  Text2 = field("Text2", account.account);
  // The kept password is never shown again: an empty field keeps it.
  Text3 = field("Text3", QString());
  Text3->setEchoMode(QLineEdit::Password);
  Text3->setPlaceholderText(tr("変えるときだけ入力"));
  Text4 = field("Text4", account.room);
  Text5 = field("Text5", account.ca_file);
  Text4->setPlaceholderText(tr("lobby@conference.サーバー"));
  Text5->setPlaceholderText(tr("システムの証明書"));
  Check1 = new QCheckBox(tr("匿名でログイン (サーバーが許す場合。アカウントは部屋での名前)"), this);
  Check1->setObjectName(QStringLiteral("Check1"));
  Check1->setChecked(account.anonymous);
  Text3->setEnabled(!account.anonymous);
  connect(Check1, &QCheckBox::toggled, this, [this](bool on) { Text3->setEnabled(!on); });
  auto* form = new QFormLayout(this);
  form->addRow(tr("サーバー"), Text1);
  form->addRow(tr("アカウント"), Text2);
  form->addRow(QString(), Check1);
  form->addRow(tr("パスワード"), Text3);
  form->addRow(tr("部屋"), Text4);
  form->addRow(tr("CA ファイル"), Text5);
  auto* buttons = new QDialogButtonBox(this);
  Command1 = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command2 = buttons->addButton(tr("キャンセル"), QDialogButtonBox::RejectRole);
  Command2->setObjectName(QStringLiteral("Command2"));
  form->addRow(buttons);
  connect(Command1, &QPushButton::clicked, this, &LobbySettingsDialog::Save);
  connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
}

void LobbySettingsDialog::Save() {
  settings_.setValue(kServerKey, Text1->text().trimmed());
  settings_.setValue(kAccountKey, Text2->text().trimmed());
  settings_.setValue(kRoomKey, Text4->text().trimmed());
  settings_.setValue(kCaFileKey, Text5->text().trimmed());
  settings_.setValue(kAnonymousKey, Check1->isChecked());
  settings_.sync();
  if (Text3->text().isEmpty() || Check1->isChecked()) {
    accept();
    return;
  }
  // Closed once the password is kept, so that the lobby entered next finds it.
  Command1->setEnabled(false);
  Command2->setEnabled(false);
  auto* store = new lobby::PasswordStore(LobbyPasswordPath(settings_), this);
  connect(store, &lobby::PasswordStore::Saved, this, [this] { accept(); });
  connect(store, &lobby::PasswordStore::SaveFailed, this, [this](const QString& error) {
    // Told, without waiting: the dialog closes as it was asked to.
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(), error, QMessageBox::Ok,
                                parentWidget());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    accept();
  });
  store->Save(Text1->text().trimmed(), Text2->text().trimmed(), Text3->text());
}

}  // namespace vexa::app
