#pragma once

// The records file "Config": the player's name and three counters, four
// lines in code page 932 ended by CR LF, and the panel texts made from them.

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>

#include "core/game.h"

namespace vexa::app {

// Reads the fields name, games, wins, losses in order. Returns false when
// the data ends early or a count is no number; the fields read before that
// keep their new values, the others their old ones.
bool ReadRecords(const QByteArray& bytes, Records& records);

// The whole file. A name that the reading rules would change (a leading
// blank, a comma) is written in double quotes; see CheckName.
QByteArray WriteRecords(const Records& records);

enum class NameFit { Plain, Quoted, Refused };
// Whether the records file can hold the name unchanged: as it is, in
// quotes, or not at all (a line break, a leading double quote, a comma
// together with a double quote, a character code page 932 lacks).
NameFit CheckName(const QString& name);

// The winning rate, rounded half to even to one decimal, in the locale's
// notation without trailing zeros ("58.3", "50", "0.5").
QString RateText(std::int32_t games, std::int32_t wins, const QLocale& locale);

// The five captions of the records panel: games, wins, losses, draws, rate.
QStringList RecordCaptions(const Records& records, const QLocale& locale);

// Where the file is read and written. The program folder holds it while
// that folder can be written; an installed program keeps it in the user's
// data folder instead, and reads the program folder's file only until the
// data folder has one of its own.
struct RecordsLocation {
  QString read_path;
  QString write_path;
};
RecordsLocation LocateRecords(const QString& program_folder, const QString& data_folder,
                              bool program_folder_writable);
RecordsLocation LocateRecords(const QString& program_folder, const QString& data_folder);

// Writes the file through a temporary file renamed over the old one, so a
// crash or a full disk never leaves it half written.
bool SaveRecordsFile(const QString& path, const Records& records);

}  // namespace vexa::app
