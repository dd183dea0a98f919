#pragma once

#include <QString>

class QCoreApplication;
class QMenu;

// The user-interface language: German is the source language, others come from translation files.
namespace Language {

inline const char *const sourceLocale = "de_DE";
inline const char *const settingsKey = "ApplicationLanguage";

// The system locale, unless ApplicationLanguage names another one.
QString chosenLocale();
// Installs Qt's and the program's translators for chosenLocale(); run once before any window.
void setupLanguage(QCoreApplication *application);
// Rebuilds the menu with one entry per available language.
void fillLanguageMenu(QMenu *menu);
// Stores the language for the next start and says so.
void selectLanguage(const QString &localeCode);

} // namespace Language

using Language::chosenLocale;
using Language::fillLanguageMenu;
using Language::selectLanguage;
using Language::setupLanguage;
