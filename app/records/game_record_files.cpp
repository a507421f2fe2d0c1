#include "app/records/game_record_files.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace vexa::app {

namespace {

const QString kPrefix = QStringLiteral("game-");
const QString kSuffix = QStringLiteral(".txt");
// Far more than any game's record (a few kilobytes).
constexpr qint64 kLargestRecord = 1 << 20;

}  // namespace

QString GamesFolder(const QString& data_folder) {
  return QDir(data_folder).filePath(QStringLiteral("games"));
}

QString NewRecordPath(const QString& folder, const QDateTime& when) {
  // Names sort by time; two games ending in the same millisecond get a count.
  const QString stem = kPrefix + when.toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
  QString path = QDir(folder).filePath(stem + kSuffix);
  for (int n = 2; QFile::exists(path); ++n)
    path = QDir(folder).filePath(stem + u'-' + QString::number(n) + kSuffix);
  return path;
}

bool SaveRecordFile(const QString& path, const GameRecord& record) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const std::string text = WriteRecord(record);
  file.write(text.data(), static_cast<qint64>(text.size()));
  return file.commit();
}

void PruneRecordFiles(const QString& folder, int keep) {
  QDir dir(folder);
  const QStringList files =
      dir.entryList({kPrefix + u'*' + kSuffix}, QDir::Files, QDir::Name | QDir::Reversed);
  for (qsizetype i = keep; i < files.size(); ++i)
    dir.remove(files[i]);
}

std::optional<std::string> ReadRecordFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestRecord) return std::nullopt;
  const QByteArray bytes = file.read(kLargestRecord + 1);
  if (bytes.size() > kLargestRecord) return std::nullopt;
  return bytes.toStdString();
}

}  // namespace vexa::app
