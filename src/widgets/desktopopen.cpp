#include "widgets/desktopopen.h"

#include "core/logging.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

class DesktopOpen
{
    Q_DECLARE_TR_FUNCTIONS(DesktopOpen)

public:
    static QMessageBox *failureBox(const QString &path, QWidget *window)
    {
        const bool folder = QFileInfo(path).isDir();
        const QString text
            = folder ? tr("<p>Es ließ sich kein Datei-Browser starten, der den Ordner</p>"
                          "<p><tt>%1</tt></p><p>zeigt.</p>")
                     : tr("<p>Es ließ sich kein Programm starten, das die Datei</p>"
                          "<p><tt>%1</tt></p><p>anzeigt.</p>");
        return new QMessageBox(
            QMessageBox::Warning, folder ? tr("Ordner nicht geöffnet") : tr("Datei nicht geöffnet"),
            text.arg(QDir::toNativeSeparators(path).toHtmlEscaped()), QMessageBox::Ok, window);
    }
};

// Qt hands a file to xdg-open and counts that as success even when xdg-open then finds no
// program; run it ourselves so that its answer reaches the user, without the window waiting.
bool openThroughXdgOpen(const QString &path, QWidget *window)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (program.isEmpty())
        return false;
    auto *process = new QProcess(qApp);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardOutputFile(QProcess::nullDevice());
    QPointer<QWidget> guard(window);
    auto failed = [process, path, guard](const QString &reason) {
        qCWarning(logUiGeneral) << "no program of the desktop opened" << path << reason;
        // A dialog that asked for the file may have closed meanwhile: tell its window instead.
        QWidget *parent = guard && !guard->isVisible() ? guard->parentWidget() : guard.data();
        QMessageBox *box = DesktopOpen::failureBox(path, parent);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        process->deleteLater();
    };
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, failed](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart)
                             failed(process->errorString());
                     });
    QObject::connect(process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), process,
                     [process, failed](int code, QProcess::ExitStatus status) {
                         if (status == QProcess::NormalExit && code == 0)
                             process->deleteLater();
                         else
                             failed(QStringLiteral("xdg-open exit code %1").arg(code));
                     });
    process->start(program, {QUrl::fromLocalFile(path).toString()});
    return true;
#else
    Q_UNUSED(path)
    Q_UNUSED(window)
    return false;
#endif
}

} // namespace

bool openOnDesktop(const QString &path, QWidget *window)
{
    const QUrl url = QUrl::fromLocalFile(path);
    if (openThroughXdgOpen(path, window) || QDesktopServices::openUrl(url))
        return true;
    qCWarning(logUiGeneral) << "no program of the desktop opened" << path;
    QScopedPointer<QMessageBox> box(DesktopOpen::failureBox(path, window));
    box->exec();
    return false;
}
