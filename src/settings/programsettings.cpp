#include "settings/programsettings.h"

#include "core/logging.h"
#include "core/pathmanager.h"
#include "report/reportgenerator.h"
#include "storage/backup.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>

namespace {

const char *const languageKey = "ApplicationLanguage";

QString folderProblem(const QString &what, const QString &path)
{
    if (path.trimmed().isEmpty())
        return ProgramSettings::tr("%1: kein Ordner angegeben").arg(what);
    if (!QFileInfo(path).isDir())
        return ProgramSettings::tr("%1: der Ordner „%2“ existiert nicht")
            .arg(what, QDir::toNativeSeparators(path));
    if (!QFileInfo(path).isWritable())
        return ProgramSettings::tr("%1: in den Ordner „%2“ kann nicht geschrieben werden")
            .arg(what, QDir::toNativeSeparators(path));
    return {};
}

// A compiler that answers --version within a few seconds is taken to run reports too.
QString compilerProblem(const QString &program)
{
    if (program.isEmpty())
        return {};
    const QString what = ProgramSettings::tr("TeX-Compiler");
    QProcess process;
    process.start(program, {QStringLiteral("--version")});
    const bool finished = process.waitForStarted(5000) && process.waitForFinished(5000);
    if (finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return {};
    process.kill();
    process.waitForFinished(1000);
    qCWarning(logSystem) << "TeX compiler" << program << "does not run:" << process.errorString();
    return ProgramSettings::tr("%1: „%2“ lässt sich nicht ausführen")
        .arg(what, QDir::toNativeSeparators(program));
}

} // namespace

ProgramSettings ProgramSettings::current()
{
    const QSettings settings;
    ProgramSettings current;
    current.savePath = PathManager::instance().savePath();
    current.backupPath = backupRoot();
    current.texCompiler = ReportGenerator::texCompilerPath();
    current.language = settings.value(QLatin1String(languageKey)).toString();
    return current;
}

QStringList ProgramSettings::problems() const
{
    QStringList found;
    // The default backup folder is made by the first save that needs it.
    const bool defaultBackup = QDir::cleanPath(backupPath) == QDir::cleanPath(defaultBackupRoot());
    for (const QString &problem :
         {folderProblem(tr("Speicherpfad"), savePath),
          defaultBackup ? QString() : folderProblem(tr("Backup-Ordner"), backupPath),
          compilerProblem(texCompiler)}) {
        if (!problem.isEmpty())
            found << problem;
    }
    return found;
}

void ProgramSettings::apply() const
{
    QSettings settings;
    if (QDir::cleanPath(savePath) != QDir::cleanPath(PathManager::instance().savePath()))
        PathManager::instance().setSavePath(savePath);
    // The default location stays the default: it follows the user's data folder when that moves.
    if (QDir::cleanPath(backupPath) == QDir::cleanPath(defaultBackupRoot()))
        settings.remove(QLatin1String(backupPathKey));
    else
        settings.setValue(QLatin1String(backupPathKey), backupPath);
    ReportGenerator::setTexCompilerPath(texCompiler);
    settings.setValue(QLatin1String(languageKey), language);
}
