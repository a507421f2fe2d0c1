#include "lobby/password_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace vexa::lobby {

namespace {

constexpr QFileDevice::Permissions kShared = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                             QFileDevice::ReadOther | QFileDevice::WriteOther;

}  // namespace

std::optional<QString> ReadPasswordFile(const QString& path, QString& error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("cannot read the password file ") + path;
    return std::nullopt;
  }
  if (file.permissions() & kShared) {
    error = QStringLiteral("the password file ") + path +
            QStringLiteral(" may be read by others; make it the owner's alone (chmod 600)");
    return std::nullopt;
  }
  // The first line; a password has no line break.
  const QString password = QString::fromUtf8(file.read(1024)).section(u'\n', 0, 0);
  if (password.isEmpty()) {
    error = QStringLiteral("the password file ") + path + QStringLiteral(" is empty");
    return std::nullopt;
  }
  return password;
}

bool WritePasswordFile(const QString& path, const QString& password, QString& error) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QSaveFile file(path);
  // The temporary file is the owner's alone before a byte is written.
  if (!file.open(QIODevice::WriteOnly) ||
      !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
      file.write(password.toUtf8() + '\n') < 0 || !file.commit()) {
    error = QStringLiteral("cannot write the password file ") + path;
    return false;
  }
  return true;
}

}  // namespace vexa::lobby
