#pragma once

#include <QString>

#include <functional>

class QCoreApplication;
class QMenu;

// The user-interface language: German is the source language, others come from translation files.
namespace Language {

inline const char *const sourceLocale = "de_DE";
inline const char *const settingsKey = "ApplicationLanguage";

// The language to show: ApplicationLanguage, else the system's. A locale without a translation
// of its own shows its language's (en_US shows en_GB), any other language German.
QString chosenLocale(const QString &systemLocale = QString());
// Installs Qt's and the program's translators for chosenLocale() and makes its number and date
// formats the default; run once before any window.
void setupLanguage(QCoreApplication *application);
// The language setupLanguage() installed.
QString runningLocale();
// Rebuilds the menu with one entry per available language, the running one checked.
void fillLanguageMenu(QMenu *menu, const std::function<void()> &restart);
// Stores the language for the next start. When it is not the running one the user is asked, in
// the language chosen, whether to restart now; `restart` is called if so.
void selectLanguage(const QString &localeCode, const std::function<void()> &restart);
// The question of selectLanguage() alone, for a language stored elsewhere.
void offerRestart(const QString &localeCode, const std::function<void()> &restart);

} // namespace Language

using Language::chosenLocale;
using Language::fillLanguageMenu;
using Language::selectLanguage;
using Language::setupLanguage;
