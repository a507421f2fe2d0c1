#pragma once

// The language of the program's texts. The Japanese texts are the source
// strings; English comes from the translation built from
// translations/vexa_en.ts. The choice is a preference kept in QSettings, and
// the command line may override it for one run.

#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace vexa::app {

enum class Language { Japanese, English };

// "ja" or "en"; nothing for any other name.
std::optional<Language> LanguageNamed(const QString& code);
QString LanguageCode(Language language);

// The preferences in `file` (an INI file), or the user's own preferences of
// "vexa" when `file` is empty.
std::unique_ptr<QSettings> OpenSettings(const QString& file);
// The language of a desktop whose preferred languages for its texts are
// `ui_languages` (QLocale::uiLanguages(), first preferred): Japanese when
// the first is Japanese, English for every other.
Language DesktopLanguage(const QStringList& ui_languages);
// The desktop's own, from the system locale (LANGUAGE, LC_ALL, LC_MESSAGES,
// LANG).
Language DesktopLanguage();
// The stored choice; the desktop's language when none is stored or it is
// unreadable.
Language StoredLanguage(const QSettings& settings, Language desktop = DesktopLanguage());
void StoreLanguage(QSettings& settings, Language language);

// The language given on the command line for this run, which wins over the
// stored choice.
void SetLanguageOverride(std::optional<Language> language);
std::optional<Language> LanguageOverride();

// Installs the translators of `language`: in English the program's English
// texts, in Japanese Qt's own Japanese texts (the buttons of message boxes
// and file dialogs). Every widget then receives QEvent::LanguageChange.
// Installing the language already in place changes nothing.
void ApplyLanguage(Language language);
Language CurrentLanguage();

}  // namespace vexa::app
