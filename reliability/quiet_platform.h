#pragma once

// The offscreen platform warns of every dialog it cannot size; thousands of
// windows would drown a run's result in it. Everything else still shows.

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

namespace vexa::reliability {

inline void QuietPlatform(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (message.contains(QStringLiteral("propagateSizeHints"))) return;
  std::fprintf(stderr, "%s\n", qPrintable(message));
  if (type == QtFatalMsg) std::abort();
}

}  // namespace vexa::reliability
