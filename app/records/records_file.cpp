#include "app/records/records_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace vexa::app {

namespace {

constexpr const char* kCodePage = "windows-31j";

bool IsBlank(QChar c) {
  return c == u' ' || c == u'\t';
}
bool IsLineEnd(QChar c) {
  return c == u'\r' || c == u'\n';
}

// Reads the file's fields in order by the rules of the records format.
class FieldReader {
 public:
  explicit FieldReader(QString text) : text_(std::move(text)) {}

  bool ReadText(QString& out) {
    if (!StartField()) return false;
    if (text_[pos_] == u'"') {
      const qsizetype close = text_.indexOf(u'"', pos_ + 1);
      const qsizetype end = close < 0 ? LineEnd(pos_ + 1) : close;
      out = text_.mid(pos_ + 1, end - pos_ - 1);
      pos_ = close < 0 ? end : close + 1;
    } else {
      qsizetype end = pos_;
      while (end < text_.size() && text_[end] != u',' && !IsLineEnd(text_[end]))
        ++end;
      out = text_.mid(pos_, end - pos_);
      pos_ = end;
    }
    EndField();
    return true;
  }

  bool ReadNumber(std::int32_t& out) {
    if (!StartField()) return false;
    qsizetype end = pos_;
    while (end < text_.size() && !IsBlank(text_[end]) && text_[end] != u',' &&
           !IsLineEnd(text_[end])) {
      ++end;
    }
    const QString digits = text_.mid(pos_, end - pos_);
    pos_ = end;
    EndField();
    if (digits.isEmpty()) {
      out = 0;
      return true;
    }
    bool ok = false;
    const qlonglong value = digits.toLongLong(&ok);
    if (!ok || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
      return false;
    }
    out = static_cast<std::int32_t>(value);
    return true;
  }

 private:
  // Skips the blanks before a field; false when the data has ended.
  bool StartField() {
    while (pos_ < text_.size() && IsBlank(text_[pos_]))
      ++pos_;
    return pos_ < text_.size();
  }
  // Skips what follows a field up to and including its comma or line end.
  void EndField() {
    while (pos_ < text_.size() && IsBlank(text_[pos_]))
      ++pos_;
    if (pos_ >= text_.size()) return;
    if (text_[pos_] == u',') {
      ++pos_;
    } else if (text_[pos_] == u'\r') {
      ++pos_;
      if (pos_ < text_.size() && text_[pos_] == u'\n') ++pos_;
    } else if (text_[pos_] == u'\n') {
      ++pos_;
    }
  }
  qsizetype LineEnd(qsizetype from) const {
    while (from < text_.size() && !IsLineEnd(text_[from]))
      ++from;
    return from;
  }

  QString text_;
  qsizetype pos_ = 0;
};

QString CountText(std::int32_t n) {
  // The counts are stored as blank (or minus), digits, blank.
  return (n < 0 ? QString::number(n) : QStringLiteral(" ") + QString::number(n)) + u' ';
}

}  // namespace

bool ReadRecords(const QByteArray& bytes, Records& records) {
  QStringDecoder decode(kCodePage);
  FieldReader reader(decode(bytes));
  QString name;
  if (!reader.ReadText(name)) return false;
  records.PlayerName = name.toStdString();
  return reader.ReadNumber(records.GamesPlayed) && reader.ReadNumber(records.Wins) &&
         reader.ReadNumber(records.Losses);
}

QByteArray WriteRecords(const Records& records) {
  QString name = QString::fromStdString(records.PlayerName);
  if (CheckName(name) == NameFit::Quoted) name = u'"' + name + u'"';
  const QString text = name + QStringLiteral("\r\n") + CountText(records.GamesPlayed) +
                       QStringLiteral("\r\n") + CountText(records.Wins) + QStringLiteral("\r\n") +
                       CountText(records.Losses) + QStringLiteral("\r\n");
  QStringEncoder encode(kCodePage);
  return encode(text);
}

NameFit CheckName(const QString& name) {
  QStringEncoder encode(kCodePage, QStringEncoder::Flag::Stateless);
  const QByteArray bytes = encode(name);
  if (encode.hasError()) return NameFit::Refused;
  QStringDecoder decode(kCodePage);
  if (decode(bytes) != name) return NameFit::Refused;
  if (name.contains(u'\r') || name.contains(u'\n') || name.startsWith(u'"')) {
    return NameFit::Refused;
  }
  const bool needs_quotes = name.contains(u',') || (!name.isEmpty() && IsBlank(name.front()));
  if (!needs_quotes) return NameFit::Plain;
  return name.contains(u'"') ? NameFit::Refused : NameFit::Quoted;
}

QString RateText(std::int32_t games, std::int32_t wins, const QLocale& locale) {
  const double rate = static_cast<double>(wins) / games * 100;
  // nearbyint rounds half to even in the default rounding mode.
  const double tenths = std::nearbyint(rate * 10);
  const bool whole = std::fmod(tenths, 10) == 0;
  QLocale plain = locale;
  plain.setNumberOptions(QLocale::OmitGroupSeparator);
  return plain.toString(tenths / 10, 'f', whole ? 0 : 1);
}

QStringList RecordCaptions(const Records& records, const QLocale& locale) {
  const auto text = [](const char* source) {
    return QCoreApplication::translate("vexa::app::RecordsPanel", source);
  };
  const QString rate = records.GamesPlayed == 0
                           ? text(QT_TRANSLATE_NOOP("vexa::app::RecordsPanel", "勝率 0 %"))
                           : text(QT_TRANSLATE_NOOP("vexa::app::RecordsPanel", "勝率 %1 %"))
                                 .arg(RateText(records.GamesPlayed, records.Wins, locale));
  // A count picks its language's plural form ("1 game", "2 games"); the
  // number itself goes in as %1, as a negative count from a damaged file
  // must show too (Qt writes %n for counts of 0 and more only).
  const auto count = [](const char* source, std::int32_t n) {
    const int form = n == std::numeric_limits<std::int32_t>::min() ? 2 : std::abs(n);
    return QCoreApplication::translate("vexa::app::RecordsPanel", source, nullptr, form).arg(n);
  };
  return {count(QT_TRANSLATE_N_NOOP("vexa::app::RecordsPanel", "%1 戦"), records.GamesPlayed),
          count(QT_TRANSLATE_N_NOOP("vexa::app::RecordsPanel", "%1 勝"), records.Wins),
          count(QT_TRANSLATE_N_NOOP("vexa::app::RecordsPanel", "%1 負"), records.Losses),
          count(QT_TRANSLATE_N_NOOP("vexa::app::RecordsPanel", "%1 引き分け"), records.Draws),
          rate};
}

RecordsLocation LocateRecords(const QString& program_folder, const QString& data_folder) {
  return LocateRecords(program_folder, data_folder, QFileInfo(program_folder).isWritable());
}

RecordsLocation LocateRecords(const QString& program_folder, const QString& data_folder,
                              bool program_folder_writable) {
  const QString program_file = QDir(program_folder).filePath(QStringLiteral("Config"));
  if (program_folder_writable) return {program_file, program_file};
  const QString data_file = QDir(data_folder).filePath(QStringLiteral("Config"));
  return {QFileInfo(data_file).isFile() ? data_file : program_file, data_file};
}

bool SaveRecordsFile(const QString& path, const Records& records) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const QByteArray bytes = WriteRecords(records);
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace vexa::app
