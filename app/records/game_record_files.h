#pragma once

// Game records on disk: every game that ended is kept in the data folder's
// "games" folder, the newest ones only, as UTF-8 text files.

#include <QDateTime>
#include <QString>
#include <optional>

#include "core/game_record.h"

namespace vexa::app {

constexpr int kKeptGameRecords = 500;

QString GamesFolder(const QString& data_folder);

// A new file name in the folder for a game that ended at `when`.
QString NewRecordPath(const QString& folder, const QDateTime& when);

// Writes the record whole or not at all (a temporary file renamed over the
// target). False when it could not be written.
bool SaveRecordFile(const QString& path, const GameRecord& record);

// Removes the oldest record files beyond `keep`.
void PruneRecordFiles(const QString& folder, int keep = kKeptGameRecords);

// The file's text, or nothing when it cannot be read (or is far too large
// to be a record).
std::optional<std::string> ReadRecordFile(const QString& path);

}  // namespace vexa::app
