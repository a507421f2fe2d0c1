#pragma once

// The lobby password kept in a file readable by its owner alone, as ssh
// keeps a key: vexa-bot's --password-file, and the window's store when no
// desktop secret store is used.

#include <QString>
#include <optional>

namespace vexa::lobby {

// The password (the file's first line), or nothing with `error` set; a file
// that its owner's group or others may read or write is refused.
std::optional<QString> ReadPasswordFile(const QString& path, QString& error);

// Writes `password` to `path`, the file created readable and writable by
// its owner alone before the password goes in, and renamed into place
// whole. False, with `error` set, when it cannot.
bool WritePasswordFile(const QString& path, const QString& password, QString& error);

}  // namespace vexa::lobby
