#include "app/window/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace vexa::app {

namespace {

constexpr char kLanguageKey[] = "language";

std::optional<Language> language_override;
std::optional<Language> current_language;

// The two translators, owned by the application once made.
QTranslator* ProgramEnglish() {
  static QTranslator* translator = [] {
    auto* t = new QTranslator(QCoreApplication::instance());
    if (!t->load(QStringLiteral(":/translations/vexa_en.qm")))
      qWarning("vexa: the English texts are missing from the program");
    return t;
  }();
  return translator;
}

QTranslator* QtJapanese() {
  static QTranslator* translator = [] {
    auto* t = new QTranslator(QCoreApplication::instance());
    // Without the file Qt's own texts stay English.
    (void)t->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return t;
  }();
  return translator;
}

}  // namespace

std::optional<Language> LanguageNamed(const QString& code) {
  if (code == QLatin1String("ja")) return Language::Japanese;
  if (code == QLatin1String("en")) return Language::English;
  return std::nullopt;
}

QString LanguageCode(Language language) {
  return language == Language::English ? QStringLiteral("en") : QStringLiteral("ja");
}

std::unique_ptr<QSettings> OpenSettings(const QString& file) {
  if (!file.isEmpty()) return std::make_unique<QSettings>(file, QSettings::IniFormat);
  // Named here rather than through the application's organization name,
  // which would also move the application data folder the records live in.
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                     QStringLiteral("vexa"), QStringLiteral("vexa"));
}

Language DesktopLanguage(const QStringList& ui_languages) {
  // "ja", "ja-JP", "ja_JP.UTF-8": the language is the part before the region.
  if (!ui_languages.isEmpty() &&
      QLocale(ui_languages.constFirst()).language() == QLocale::Japanese) {
    return Language::Japanese;
  }
  return Language::English;
}

Language DesktopLanguage() {
  return DesktopLanguage(QLocale::system().uiLanguages());
}

Language StoredLanguage(const QSettings& settings, Language desktop) {
  return LanguageNamed(settings.value(QLatin1String(kLanguageKey)).toString()).value_or(desktop);
}

void StoreLanguage(QSettings& settings, Language language) {
  settings.setValue(QLatin1String(kLanguageKey), LanguageCode(language));
  settings.sync();
}

void SetLanguageOverride(std::optional<Language> language) {
  language_override = language;
}

std::optional<Language> LanguageOverride() {
  return language_override;
}

void ApplyLanguage(Language language) {
  if (current_language == language) return;
  current_language = language;
  QTranslator* english = ProgramEnglish();
  QTranslator* japanese = QtJapanese();
  if (language == Language::English) {
    QCoreApplication::removeTranslator(japanese);
    QCoreApplication::installTranslator(english);
  } else {
    QCoreApplication::removeTranslator(english);
    if (!japanese->isEmpty()) QCoreApplication::installTranslator(japanese);
  }
}

Language CurrentLanguage() {
  return current_language.value_or(DesktopLanguage());
}

}  // namespace vexa::app
