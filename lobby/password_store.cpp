// GLib's headers name a member "signals", which Qt defines as a word of
// its own: libsecret comes before any Qt header.
#include <libsecret/secret.h>

#include "lobby/password_store.h"

#include <QFile>
#include <QThread>
#include <functional>
#include <memory>

#include "lobby/password_file.h"

namespace vexa::lobby {

namespace {

const SecretSchema* LobbySchema() {
  static const SecretSchema schema = {"org.vexa.LobbyPassword",
                                      SECRET_SCHEMA_NONE,
                                      {{"server", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                       {"account", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                       {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                                      0,
                                      nullptr,
                                      nullptr,
                                      nullptr,
                                      nullptr,
                                      nullptr,
                                      nullptr,
                                      nullptr};
  return &schema;
}

// Runs `work` on a thread of its own, then `done` in `receiver`'s thread;
// `done` is dropped with the receiver.
template <typename Result>
void OffThread(QObject* receiver, std::function<Result()> work,
               std::function<void(const Result&)> done) {
  auto result = std::make_shared<Result>();
  QThread* thread = QThread::create([work = std::move(work), result] { *result = work(); });
  QObject::connect(thread, &QThread::finished, receiver,
                   [result, done = std::move(done)] { done(*result); });
  QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
  thread->start();
}

}  // namespace

PasswordStore::PasswordStore(QString file, QObject* parent)
    : QObject(parent), file_(std::move(file)) {}

void PasswordStore::Save(const QString& server, const QString& account, const QString& password) {
  struct Outcome {
    bool kept = false;
    QString error;
  };
  const QByteArray s = server.toUtf8(), a = account.toUtf8(), p = password.toUtf8();
  const QByteArray label = "Vexa lobby password (" + a + " on " + s + ")";
  OffThread<Outcome>(
      this,
      [s, a, p, label] {
        Outcome outcome;
        GError* error = nullptr;
        outcome.kept = secret_password_store_sync(
            LobbySchema(), SECRET_COLLECTION_DEFAULT, label.constData(), p.constData(), nullptr,
            &error, "server", s.constData(), "account", a.constData(), nullptr);
        if (error) {
          outcome.error = QString::fromUtf8(error->message);
          g_error_free(error);
        }
        return outcome;
      },
      [this, password](const Outcome& outcome) {
        if (outcome.kept) {
          // A copy left in the file would undo the point of the store.
          QFile::remove(file_);
          emit Saved(PasswordPlace::SecretService);
          return;
        }
        QString error;
        if (WritePasswordFile(file_, password, error)) {
          emit Saved(PasswordPlace::File);
        } else {
          emit SaveFailed(error);
        }
      });
}

void PasswordStore::Load(const QString& server, const QString& account) {
  const QByteArray s = server.toUtf8(), a = account.toUtf8();
  OffThread<std::optional<QString>>(
      this,
      [s, a]() -> std::optional<QString> {
        GError* error = nullptr;
        gchar* found =
            secret_password_lookup_sync(LobbySchema(), nullptr, &error, "server", s.constData(),
                                        "account", a.constData(), nullptr);
        if (error) g_error_free(error);  // no store running: the file's turn
        if (!found) return std::nullopt;
        const QString password = QString::fromUtf8(found);
        secret_password_free(found);
        return password;
      },
      [this](const std::optional<QString>& stored) {
        if (stored) {
          emit Loaded(stored, QString());
          return;
        }
        QString error;
        const std::optional<QString> password = ReadPasswordFile(file_, error);
        emit Loaded(password, error);
      });
}

}  // namespace vexa::lobby
