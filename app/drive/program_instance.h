#pragma once

// One whole program in a folder of its own, with a records file naming its
// player and no thinking pauses: what the online figures and the connection
// cycles run two of.

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

#include "app/window/form1.h"

namespace vexa::app::testing {

class ProgramInstance {
 public:
  explicit ProgramInstance(const char* name) {
    QFile config(QDir(folder_.path()).filePath(QStringLiteral("Config")));
    config.open(QIODevice::WriteOnly);
    config.write(QByteArray(name) + "\r\n 0 \r\n 0 \r\n 0 \r\n");
    config.close();
    // Preferences of its own: the user's language choice does not reach it,
    // and no run asks the machine's router for ports.
    const QString settings = folder_.filePath(QStringLiteral("vexa.ini"));
    QSettings(settings, QSettings::IniFormat)
        .setValue(QStringLiteral("Network/PortMapping"), false);
    form1 = std::make_unique<Form1>(ProgramPlaces{folder_.path(), data_.path(), settings}, 1);
    form1->SetPauseOverride(0);
    form1->Start(form1->Main());
  }
  std::unique_ptr<Form1> form1;

 private:
  QTemporaryDir folder_;
  QTemporaryDir data_;
};

}  // namespace vexa::app::testing
