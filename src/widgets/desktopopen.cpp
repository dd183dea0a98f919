#include "widgets/desktopopen.h"

#include "core/logging.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace {

class DesktopOpen
{
    Q_DECLARE_TR_FUNCTIONS(DesktopOpen)

public:
    static void tellFailure(const QString &path, QWidget *window)
    {
        const bool folder = QFileInfo(path).isDir();
        const QString text
            = folder ? tr("<p>Es ließ sich kein Datei-Browser starten, der den Ordner</p>"
                          "<p><tt>%1</tt></p><p>zeigt.</p>")
                     : tr("<p>Es ließ sich kein Programm starten, das die Datei</p>"
                          "<p><tt>%1</tt></p><p>anzeigt.</p>");
        QMessageBox::warning(window,
                             folder ? tr("Ordner nicht geöffnet") : tr("Datei nicht geöffnet"),
                             text.arg(QDir::toNativeSeparators(path).toHtmlEscaped()));
    }
};

} // namespace

bool openOnDesktop(const QString &path, QWidget *window)
{
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return true;
    qCWarning(logUiGeneral) << "no program of the desktop opened" << path;
    DesktopOpen::tellFailure(path, window);
    return false;
}
