#pragma once

// Where the lobby password is kept: the desktop's secret store (the
// freedesktop Secret Service, through libsecret: GNOME's keyring, KeePassXC,
// KWallet's bridge) where one runs, so that no file holds it in clear; else
// the file readable by its owner alone (password_file.h). libsecret's calls
// wait on D-Bus and perhaps on the player unlocking the keyring, so each
// runs on a thread of its own and its answer arrives queued.

#include <QObject>
#include <QString>
#include <optional>

namespace vexa::lobby {

enum class PasswordPlace { SecretService, File };

class PasswordStore : public QObject {
  Q_OBJECT
 public:
  // `file`: the fallback's path. An entry is named by the lobby's server
  // and the account.
  explicit PasswordStore(QString file, QObject* parent = nullptr);

  // Keeps `password`: in the secret store, the fallback file then removed;
  // else in the file. Saved or SaveFailed follows.
  void Save(const QString& server, const QString& account, const QString& password);
  // The secret store's entry, else the file's password. Loaded follows.
  void Load(const QString& server, const QString& account);

 signals:
  void Saved(vexa::lobby::PasswordPlace place);
  void SaveFailed(const QString& reason);
  // Nothing, with the reason, when neither place holds one.
  void Loaded(const std::optional<QString>& password, const QString& reason);

 private:
  QString file_;
};

}  // namespace vexa::lobby
