#include "report/reportgenerator.h"

#include "core/logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#ifdef Q_OS_UNIX
#include <signal.h>
#include <unistd.h>
#endif

namespace {

const char *const searchResultImageName = "searchresult.png";
const char *const withLaserImageName = "with_laser.jpg";
const char *const logoName = "logo.png";
const char *const sourceName = "report.tex";
const char *const pdfName = "report.pdf";

// The captions of the built-in template; listed here so that lupdate keeps their translations.
[[maybe_unused]] const char *const templateCaptions[] = {
    QT_TRANSLATE_NOOP("ReportTemplate", "Analyse"),
    QT_TRANSLATE_NOOP("ReportTemplate", "Aufnahme-Objektiv"),
    QT_TRANSLATE_NOOP("ReportTemplate", "Aufnahme-Parameter"),
    QT_TRANSLATE_NOOP("ReportTemplate", "Ausgewählt durch"),
    QT_TRANSLATE_NOOP("ReportTemplate", "Belichtungszeit"),
    QT_TRANSLATE_NOOP("ReportTemplate", "Bericht erstellt am"),
    QT_TRANSLATE_NOOP("ReportTemplate", "Bildbreite"),
    QT_TRANSLATE_NOOP("ReportTemplate", "Dichtefilter"),
    QT_TRANSLATE_NOOP("ReportTemplate", "Durchgeführt am"),
    QT_TRANSLATE_NOOP("ReportTemplate", "Eigentümer"),
    QT_TRANSLATE_NOOP("ReportTemplate", "Ergebnis"),
    QT_TRANSLATE_NOOP("ReportTemplate", "Fundort"),
    QT_TRANSLATE_NOOP("ReportTemplate", "Kennung der Analyse"),
    QT_TRANSLATE_NOOP("ReportTemplate", "Gain"),
    QT_TRANSLATE_NOOP("ReportTemplate", "Kommentar"),
    QT_TRANSLATE_NOOP("ReportTemplate", "Laser-Wellenlänge"),
    QT_TRANSLATE_NOOP("ReportTemplate", "Messpunkt Nr."),
    QT_TRANSLATE_NOOP("ReportTemplate", "Probe"),
    QT_TRANSLATE_NOOP("ReportTemplate", "Probennummer"),
    QT_TRANSLATE_NOOP("ReportTemplate", "Programmversion"),
    QT_TRANSLATE_NOOP("ReportTemplate", "Sammlung"),
    QT_TRANSLATE_NOOP("ReportTemplate", "Sensor-Temperatur"),
    QT_TRANSLATE_NOOP("ReportTemplate", "Spaltbreite"),
};

QString general6(double value)
{
    return QString::number(value, 'g', 6);
}

QString inFolder(const QString &folder, const char *name)
{
    return folder + QLatin1Char('/') + QLatin1String(name);
}

#ifdef Q_OS_UNIX
// True while a process of the group still runs. Killed members stay visible to kill() as
// zombies until whoever inherited them reaps them, so on Linux their state is read instead.
bool groupHasLiveMembers(pid_t group)
{
#ifdef Q_OS_LINUX
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &pid : pids) {
        if (!pid.front().isDigit())
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // pid (command) state ppid pgrp ...; the command may hold blanks and brackets.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 2 && fields[2].toLongLong() == group && fields[0] != "Z")
            return true;
    }
    return false;
#else
    return ::kill(-group, 0) == 0;
#endif
}
#endif

// Runs the compiler as leader of its own process group, so that whatever it starts (a shell
// script's children, say) can be stopped with it and nothing outlives the report attempt.
class CompilerProcess : public QProcess
{
public:
    ~CompilerProcess() override { stop(); }

    void stop()
    {
#ifdef Q_OS_UNIX
        // Zero: the whole group is gone already, the usual case after a normal exit.
        if (m_group > 0 && ::kill(-m_group, SIGTERM) == 0) {
            if (state() != NotRunning && !waitForFinished(2000))
                ::kill(-m_group, SIGKILL);
            waitForFinished(5000);
            // Members that ignored the request, or that a finished leader left behind.
            ::kill(-m_group, SIGKILL);
            for (int i = 0; i < 100 && groupHasLiveMembers(pid_t(m_group)); ++i)
                QThread::msleep(20);
        }
        m_group = 0;
#endif
        if (state() != NotRunning) {
            terminate();
            if (!waitForFinished(2000)) {
                kill();
                waitForFinished(5000);
            }
        }
    }

    void rememberGroup()
    {
        m_group = processId();
    }

protected:
    void setupChildProcess() override
    {
#ifdef Q_OS_UNIX
        ::setpgid(0, 0);
#endif
    }

private:
    qint64 m_group = 0;
};

} // namespace

ReportGenerator::ReportGenerator(const SaveData &data)
    : m_data(data)
{}

void ReportGenerator::setLogoAndTemplate(const QString &logoPath, const QString &templatePath)
{
    m_logoPath = logoPath;
    m_templatePath = templatePath;
}

QString ReportGenerator::compilerPath() const
{
    return m_compilerPath.isEmpty() ? texCompilerPath() : m_compilerPath;
}

QString ReportGenerator::texCompilerPath()
{
    return QSettings().value(QStringLiteral("pdflatexExecutablePath")).toString();
}

void ReportGenerator::setTexCompilerPath(const QString &path)
{
    QSettings().setValue(QStringLiteral("pdflatexExecutablePath"), path);
}

QStringList ReportGenerator::texCompilerArguments()
{
    return QSettings()
        .value(QStringLiteral("pdflatexArguments"),
               QStringList{QStringLiteral("-interaction"), QStringLiteral("nonstopmode")})
        .toStringList();
}

void ReportGenerator::addError(const QString &text)
{
    qCWarning(logDataIo).noquote() << text;
    m_errors.append(text);
}

bool ReportGenerator::generate(const QString &outputFile, int row)
{
    m_errors.clear();
    QTemporaryDir temporary(QDir::tempPath() + QStringLiteral("/raman-report-XXXXXX"));
    if (!temporary.isValid()) {
        addError(QStringLiteral("Failed to create temporary directory"));
        return false;
    }
    const QString folder = temporary.path();
    if (!m_data.sector(row)) {
        addError(QStringLiteral("There is no measuring point %1 in this measurement").arg(row + 1));
        return false;
    }
    if (!copyImages(folder, row)) {
        addError(QStringLiteral("Failed to copy image files to temporary directory"));
        return false;
    }
    m_replacements = replacements(row);

    const QString templateText = loadTemplate();
    if (templateText.isEmpty()) {
        addError(QStringLiteral("Got empty LaTeX template file"));
        return false;
    }
    const QString source = substitutePlaceholders(translateCaptions(templateText), m_replacements);

    return compile(folder, source, outputFile);
}

bool ReportGenerator::copyImages(const QString &folder, int row)
{
    const QString sectorFolder = m_data.sectorFolderPath(row);
    for (const char *name : {searchResultImageName, withLaserImageName}) {
        const QString source = sectorFolder + QLatin1String(name);
        const QString target = inFolder(folder, name);
        if (QFileInfo::exists(source)) {
            if (!QFile::copy(source, target)) {
                qCWarning(logDataIo) << "could not copy" << source << "to" << target;
                return false;
            }
        } else {
            // The template needs a picture either way; a missing photo must not fail the report.
            QImage placeholder(1, 1, QImage::Format_RGB32);
            placeholder.fill(Qt::white);
            placeholder.save(target);
        }
    }
    const QString logo
        = m_logoPath.isEmpty() ? QStringLiteral(":/icons/logo_corvalinthe.png") : m_logoPath;
    if (!QFile::copy(logo, inFolder(folder, logoName))) {
        qCWarning(logDataIo) << "could not copy the logo" << logo;
        return false;
    }
    return true;
}

QMap<QString, QString> ReportGenerator::replacements(int row) const
{
    const std::optional<SaveDataSector> sector = m_data.sector(row);
    if (!sector)
        return {};
    const SaveDataMetadata &meta = m_data.metadata();
    const ExposureData &exposure = sector->exposureData;
    const IdentificationData &identification = sector->identificationData;
    const QLocale locale;

    QMap<QString, QString> table;
    table.insert(QStringLiteral("ANALYSIS_RESULT"),
                 latexEscaped(identification.mineral_final_identification));
    table.insert(QStringLiteral("ANALYSIS_RESULT_METHOD"),
                 identification.mineral_suggested_manual.isEmpty()
                     ? QObject::tr("Automatisch identifiziert")
                     : QObject::tr("Manuell ausgewählt"));
    table.insert(QStringLiteral("COMMENT_TEXT"), meta.mineral_comment.isEmpty()
                                                     ? QObject::tr("Kein Kommentar angegeben.")
                                                     : latexEscaped(meta.mineral_comment));
    table.insert(QStringLiteral("CREATED_DATE"),
                 locale.toString(meta.created_date, QLocale::ShortFormat));
    table.insert(QStringLiteral("IMAGE_WIDTH"), sector->image_width);
    table.insert(QStringLiteral("LASER_WAVELENGTH"), general6(exposure.laser_wavelength));
    table.insert(QStringLiteral("LOCATION_NUMBER"), QString::number(row + 1));
    table.insert(QStringLiteral("LOGO_PATH"), QLatin1String(logoName));
    table.insert(QStringLiteral("REPORT_DATE"),
                 locale.toString(QDate::currentDate(), QLocale::LongFormat));
    table.insert(QStringLiteral("SAMPLE_COLLECTION"), latexEscaped(meta.collection_name));
    table.insert(QStringLiteral("SAMPLE_FOUND_LOCATION"), latexEscaped(meta.location));
    table.insert(QStringLiteral("SAMPLE_ID"), latexEscaped(meta.collection_id));
    table.insert(QStringLiteral("SAMPLE_OWNER"), latexEscaped(meta.owner));
    table.insert(QStringLiteral("SAVED_DATE"),
                 locale.toString(meta.saved_date, QLocale::ShortFormat));
    table.insert(QStringLiteral("SOFTWARE_VERSION"), QStringLiteral(RAMAN_VERSION));
    table.insert(QStringLiteral("SPECTRUM_CCD_TEMPERATURE"), general6(exposure.cam_temp));
    table.insert(QStringLiteral("SPECTRUM_EXPOSURE_TIME"), QString::number(exposure.exp_time));
    table.insert(QStringLiteral("SPECTRUM_GAIN"), QString::number(exposure.gain));
    table.insert(QStringLiteral("SPECTRUM_IMAGE_PATH"), QLatin1String(searchResultImageName));
    table.insert(QStringLiteral("SPECTRUM_ND_FILTER"), latexEscaped(exposure.ND_filter_used));
    table.insert(QStringLiteral("SPECTRUM_SLIT_WIDTH"), general6(exposure.slitwidth));
    table.insert(QStringLiteral("UNIQUE_ID"), meta.unique_ident);
    table.insert(QStringLiteral("VISUAL_IMAGE_OBJECTIVE"),
                 latexEscaped(sector->exposure_objective));
    table.insert(QStringLiteral("VISUAL_IMAGE_PATH"), QLatin1String(withLaserImageName));

    QString dateCaption = QObject::tr("Funddatum");
    QString date;
    if (meta.nodate) {
        // the caption stays, the value is left empty
    } else if (meta.found_date_year_only) {
        dateCaption = QObject::tr("Fundjahr");
        date = QString::number(meta.found_date.year());
    } else {
        date = locale.toString(meta.found_date, QLocale::ShortFormat);
    }
    table.insert(QStringLiteral("SAMPLE_FOUND_DATE_TEXT"), dateCaption);
    table.insert(QStringLiteral("SAMPLE_FOUND_DATE"), date);
    return table;
}

QString ReportGenerator::firstTexError(const QString &log)
{
    const QStringList lines = log.split(QLatin1Char('\n'));
    static const QRegularExpression inputLine(QStringLiteral("^l\\.\\d+"));
    for (int i = 0; i < lines.size(); ++i) {
        if (!lines[i].startsWith(QLatin1String("! ")))
            continue;
        for (int j = i + 1; j < lines.size(); ++j) {
            if (inputLine.match(lines[j]).hasMatch())
                return lines[i] + QLatin1Char('\n') + lines[j];
        }
        return lines[i];
    }
    return QString();
}

QString ReportGenerator::latexEscaped(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size() + text.size() / 4);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            escaped += QLatin1String("$\\backslash$");
            break;
        case '\n':
            // The braces stop "\\" from taking a following "[" or "*" as its argument.
            escaped += QLatin1String("\\\\{}");
            break;
        case '^':
            escaped += QLatin1String("\\textasciicircum{}");
            break;
        case '~':
            escaped += QLatin1String("\\textasciitilde{}");
            break;
        case '_':
        case '#':
        case '{':
        case '}':
        case '&':
        case '%':
        case '$':
            escaped += QLatin1Char('\\');
            escaped += c;
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

QString ReportGenerator::translateCaptions(const QString &text)
{
    static const QRegularExpression caption(QStringLiteral("tr\\((.*)\\)"));
    QString translated = text;
    int shift = 0;
    QRegularExpressionMatchIterator matches = caption.globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        const QString source = match.captured(1);
        const QString translation
            = QCoreApplication::translate("ReportTemplate", source.toUtf8().constData());
        qCDebug(logDataIo) << "translating:" << source << translation
                           << match.capturedStart() + shift << match.capturedLength();
        translated.replace(match.capturedStart() + shift, match.capturedLength(), translation);
        shift += translation.size() - match.capturedLength();
    }
    return translated;
}

QString ReportGenerator::substitutePlaceholders(QString text, const QMap<QString, QString> &values)
{
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        text.replace(QLatin1Char('[') + it.key() + QLatin1Char(']'), it.value());
    return text;
}

QString ReportGenerator::loadTemplate()
{
    QString path = m_templatePath;
    if (path.isEmpty()) {
        qCInfo(logDataIo) << "no template path set, using default";
        path = QStringLiteral(":/report-templates/basic.tex");
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        addError(QStringLiteral("Could not open TeX template file"));
        return {};
    }
    if (file.size() > maximumTemplateSize) {
        addError(QStringLiteral(
            "The file to be used as TeX template is unreasonably large, not loading it"));
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

bool ReportGenerator::compile(const QString &folder, const QString &source,
                              const QString &outputFile)
{
    const QString sourcePath = inFolder(folder, sourceName);
    QFile sourceFile(sourcePath);
    if (!sourceFile.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || sourceFile.write(source.toUtf8()) < 0 || !sourceFile.flush()) {
        addError(QStringLiteral("Failed to write source file, something is wrong with your setup"));
        return false;
    }
    sourceFile.close();

    const QString program = compilerPath();
    const QFileInfo canonical(QFileInfo(program).canonicalFilePath());
    if (program.isEmpty() || !canonical.isFile() || !canonical.isExecutable()) {
        addError(QStringLiteral("The given TeX compiler is not an executable program"));
        return false;
    }

    const QStringList arguments = texCompilerArguments() << sourcePath;
    qCDebug(logDataIo) << "calling:" << program << arguments << "in directory" << folder;
    CompilerProcess process;
    process.setWorkingDirectory(folder);
    process.setProgram(program);
    process.setArguments(arguments);
    process.start();
    if (!process.waitForStarted()) {
        addError(QStringLiteral("The given TeX compiler could not be started"));
        addError(process.errorString());
        return false;
    }
    process.rememberGroup();
    if (!process.waitForFinished(compilerTimeoutMs)) {
        process.stop();
        addError(QStringLiteral("The given TeX compiler did not finish within 15 seconds"));
        addError(QString::fromLocal8Bit(process.readAllStandardError()));
        return false;
    }
    process.stop(); // whatever it left running in its group
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        addError(QStringLiteral("The given TeX compiler exited with non-zero status"));
        const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
        const QString error = firstTexError(output);
        if (!error.isEmpty()) {
            addError(error);
            return false;
        }
        addError(output);
        addError(QString::fromLocal8Bit(process.readAllStandardError()));
        return false;
    }

    const QString pdf = inFolder(folder, pdfName);
    if (!QFileInfo::exists(pdf)) {
        addError(QStringLiteral(
            "The given TeX compiler claims to have succeeded, but did not create the expected "
            "output file"));
        return false;
    }
    if (QFileInfo::exists(outputFile))
        QFile::remove(outputFile);
    if (!QFile::copy(pdf, outputFile)) {
        addError(QStringLiteral("Failed to copy output file to the given destination"));
        return false;
    }
    qCInfo(logDataIo) << "report written to" << outputFile;
    return true;
}
