#include "ui/language.h"

#include "core/logging.h"

#include <QActionGroup>
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
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

QString running = QLatin1String(sourceLocale);

// The restart question, asked in the language just chosen.
const char *const restartTitle = QT_TRANSLATE_NOOP("Language", "Sprache geändert");
const char *const restartText = QT_TRANSLATE_NOOP(
    "Language", "Die gewählte Sprache gilt nach einem Neustart des Programms. Jetzt neu starten?");
const char *const restartNow = QT_TRANSLATE_NOOP("Language", "Jetzt neu starten");
const char *const restartLater = QT_TRANSLATE_NOOP("Language", "Später");

QString programTranslation(const QString &locale)
{
    return QStringLiteral(":/translations/%1.qm").arg(locale);
}

QWidget *firstTopLevelWindow()
{
    const QWidgetList widgets = QApplication::topLevelWidgets();
    for (QWidget *widget : widgets) {
        if (widget->windowType() != Qt::Popup && widget->windowType() != Qt::ToolTip)
            return widget;
    }
    return nullptr;
}

QString availableFor(const QString &name)
{
    const QLocale::Language language = QLocale(name).language();
    for (const AvailableLanguage &available : availableLanguages) {
        if (name == QLatin1String(available.code)
            || language == QLocale(QLatin1String(available.code)).language())
            return QLatin1String(available.code);
    }
    return {};
}

} // namespace

QString chosenLocale(const QString &systemLocale)
{
    const QString configured = QSettings().value(QLatin1String(settingsKey)).toString();
    const QString wanted = !configured.isEmpty()    ? configured
                           : systemLocale.isEmpty() ? QLocale::system().name()
                                                    : systemLocale;
    const QString available = availableFor(wanted);
    if (available.isEmpty()) {
        qCDebug(logSystem) << "no translation for" << wanted << "- using" << sourceLocale;
        return QLatin1String(sourceLocale);
    }
    return available;
}

QString runningLocale()
{
    return running;
}

void setupLanguage(QCoreApplication *application)
{
    running = chosenLocale();
    qCInfo(logSystem) << "using locale:" << running;

    auto *qtTranslator = new QTranslator(application);
    if (qtTranslator->load(QLatin1String("qt_") + running,
                           QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtTranslator);
    else
        qCDebug(logSystem) << "no Qt translation for" << running << "- Qt's texts stay English";

    if (running != QLatin1String(sourceLocale)) {
        auto *translator = new QTranslator(application);
        if (translator->load(programTranslation(running)))
            QCoreApplication::installTranslator(translator);
        else
            qCWarning(logSystem) << "Failed to load translations from"
                                 << programTranslation(running);
    }
    QLocale::setDefault(QLocale(running));
}

void fillLanguageMenu(QMenu *menu, const std::function<void()> &restart)
{
    menu->clear();
    auto *group = new QActionGroup(menu);
    for (const AvailableLanguage &language : availableLanguages) {
        const QString code = QLatin1String(language.code);
        QAction *action = menu->addAction(QString::fromUtf8(language.name));
        action->setCheckable(true);
        action->setChecked(code == running);
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, menu,
                         [code, restart] { selectLanguage(code, restart); });
    }
}

void selectLanguage(const QString &localeCode, const std::function<void()> &restart)
{
    QSettings().setValue(QLatin1String(settingsKey), localeCode);
    offerRestart(localeCode, restart);
}

void offerRestart(const QString &localeCode, const std::function<void()> &restart)
{
    if (localeCode == running)
        return;
    // The user may not read the language shown now, but chose to read this one.
    QTranslator chosen;
    if (localeCode != QLatin1String(sourceLocale))
        chosen.load(programTranslation(localeCode));
    const auto text = [&chosen](const char *source) {
        const QString translated = chosen.translate("Language", source);
        return translated.isEmpty() ? QString::fromUtf8(source) : translated;
    };
    QMessageBox box(QMessageBox::Question, text(restartTitle), text(restartText),
                    QMessageBox::NoButton, firstTopLevelWindow());
    QPushButton *now = box.addButton(text(restartNow), QMessageBox::AcceptRole);
    box.addButton(text(restartLater), QMessageBox::RejectRole);
    box.setDefaultButton(now);
    box.exec();
    if (box.clickedButton() == now && restart)
        restart();
}

} // namespace Language
