#include "ui/language.h"

#include "core/logging.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QTranslator>

namespace Language {

namespace {

struct AvailableLanguage
{
    const char *code;
    const char *name; // shown as is, never translated
};

constexpr AvailableLanguage availableLanguages[] = {
    {"de_DE", "Deutsch"},
    {"en_GB", "English"},
};

QWidget *firstTopLevelWindow()
{
    const QWidgetList widgets = QApplication::topLevelWidgets();
    for (QWidget *widget : widgets) {
        if (widget->windowType() != Qt::Popup && widget->windowType() != Qt::ToolTip)
            return widget;
    }
    return nullptr;
}

} // namespace

QString chosenLocale()
{
    const QString configured = QSettings().value(QLatin1String(settingsKey)).toString();
    return configured.isEmpty() ? QLocale::system().name() : configured;
}

void setupLanguage(QCoreApplication *application)
{
    const QString locale = chosenLocale();
    qCInfo(logSystem) << "using locale:" << locale;

    auto *qtTranslator = new QTranslator(application);
    qtTranslator->load(QLatin1String("qt_") + locale,
                       QLibraryInfo::location(QLibraryInfo::TranslationsPath));
    QCoreApplication::installTranslator(qtTranslator);

    if (locale != QLatin1String(sourceLocale)) {
        auto *translator = new QTranslator(application);
        const QString path = QStringLiteral(":/translations/%1.qm").arg(locale);
        if (!translator->load(path)) {
            qCWarning(logSystem) << "Failed to load translations from" << path;
            qCWarning(logSystem) << "Resetting locale in settings to source locale.";
            QSettings().setValue(QLatin1String(settingsKey), QLatin1String(sourceLocale));
        }
        QCoreApplication::installTranslator(translator);
    }
    QLocale::setDefault(QLocale(locale));
}

void fillLanguageMenu(QMenu *menu)
{
    menu->clear();
    for (const AvailableLanguage &language : availableLanguages) {
        const QString code = QLatin1String(language.code);
        QAction *action = menu->addAction(QString::fromUtf8(language.name));
        QObject::connect(action, &QAction::triggered, menu, [code] { selectLanguage(code); });
    }
}

void selectLanguage(const QString &localeCode)
{
    QSettings().setValue(QLatin1String(settingsKey), localeCode);
    // Deliberately English: the user may not read the language currently shown.
    QMessageBox::information(firstTopLevelWindow(), QStringLiteral("Language changed"),
                             QStringLiteral("Please restart the application to use the selected "
                                            "language."),
                             QMessageBox::Ok);
}

} // namespace Language
