// The lobby's password store run by itself, for password_store_test.sh:
//
//   password_store_probe save FILE SERVER ACCOUNT PASSWORD
//     prints "kept in the secret service" or "kept in the file", or fails;
//   password_store_probe load FILE SERVER ACCOUNT
//     prints "password PASSWORD", or "none REASON".

#include <QCoreApplication>
#include <cstdio>

#include "lobby/password_store.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  const auto say = [](const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
  };
  vexa::lobby::PasswordStore store(args.value(1));
  QObject::connect(&store, &vexa::lobby::PasswordStore::Saved, &app,
                   [&](vexa::lobby::PasswordPlace place) {
                     say(place == vexa::lobby::PasswordPlace::SecretService
                             ? QStringLiteral("kept in the secret service")
                             : QStringLiteral("kept in the file"));
                     app.exit(0);
                   });
  QObject::connect(&store, &vexa::lobby::PasswordStore::SaveFailed, &app,
                   [&](const QString& reason) {
                     say(QStringLiteral("not kept ") + reason);
                     app.exit(1);
                   });
  QObject::connect(
      &store, &vexa::lobby::PasswordStore::Loaded, &app,
      [&](const std::optional<QString>& password, const QString& reason) {
        say(password ? QStringLiteral("password ") + *password : QStringLiteral("none ") + reason);
        app.exit(0);
      });
  if (args.value(0) == u"save" && args.size() == 5) {
    store.Save(args[2], args[3], args[4]);
  } else if (args.value(0) == u"load" && args.size() == 4) {
    store.Load(args[2], args[3]);
  } else {
    std::fprintf(stderr, "usage: password_store_probe save|load FILE SERVER ACCOUNT [PASSWORD]\n");
    return 2;
  }
  return app.exec();
}
