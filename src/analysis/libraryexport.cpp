#include "analysis/libraryexport.h"

#include "analysis/analysisfunctions.h"
#include "core/logging.h"
#include "library/librarycache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtEndian>

QString spectrumIdentifier(const QVector<double> &y)
{
    QByteArray bytes(y.size() * int(sizeof(double)), Qt::Uninitialized);
    for (int i = 0; i < y.size(); ++i)
        qToLittleEndian(y[i], bytes.data() + i * int(sizeof(double)));
    return QString::fromLatin1(
        QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(8));
}

LibraryExportRecord libraryExportRecord(const QString &name, int laserWavelength,
                                        int orientationIndex, const QString &identifier)
{
    static const char *const angles[] = {"0", "0", "45", "90"};
    LibraryExportRecord record;
    record.name = name;
    record.laserWavelength = QString::number(laserWavelength);
    const int index = orientationIndex >= 0 && orientationIndex < 4 ? orientationIndex : 0;
    record.orientation = index == 0 ? QStringLiteral("unoriented") : QStringLiteral("oriented");
    record.angle = QString::fromLatin1(angles[index]);
    record.identifier = identifier;
    return record;
}

QString libraryFileName(const LibraryExportRecord &record)
{
    return QStringLiteral("%1__RXXXXXX__Raman__%2__%3__%4__Raman_Data_Processed__%5.txt")
        .arg(record.name, record.laserWavelength, record.angle, record.orientation,
             record.identifier);
}

bool isValidEntryName(const QString &name)
{
    static const QRegularExpression word(QStringLiteral("\\A\\w+\\z"),
                                         QRegularExpression::UseUnicodePropertiesOption);
    return word.match(name).hasMatch();
}

QString chemistryMarkup(const QString &typed)
{
    QString text = typed;
    text.replace(QLatin1Char('^'), QStringLiteral("<sup></sup>"));
    text.replace(QLatin1Char('_'), QStringLiteral("<sub></sub>"));
    return text;
}

QString libraryFolderProblem(const QString &folder)
{
    if (folder.trimmed().isEmpty())
        return QStringLiteral("no library folder given");
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("library folder does not exist: ") + folder;
    return {};
}

bool exportToLibrary(const RamanData<Wavenumbers> &spectrum, const LibraryExportOptions &options)
{
    const QString problem = libraryFolderProblem(options.folder);
    if (!problem.isEmpty()) {
        qCWarning(logDataIo) << "not exporting for library:" << problem;
        return false;
    }
    if (!isValidEntryName(options.record.name)) {
        qCWarning(logDataIo) << "not exporting for library: invalid name" << options.record.name;
        return false;
    }
    const QString folder = QDir::cleanPath(options.folder);
    const QString path = folder + QLatin1Char('/') + libraryFileName(options.record);
    const bool written = writeExportFile(path, exportSpectrumText(spectrum));

    if (!options.chemistry.isEmpty()) {
        const QString key = options.chemistryForAllWithName ? options.record.name
                                                            : options.record.name + QLatin1Char('-')
                                                                  + options.record.identifier;
        QFile file(folder + QStringLiteral("/chemistry.csv"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append)
            || file.write((key + QLatin1Char(' ') + options.chemistry + QLatin1Char('\n')).toUtf8())
                   < 0)
            qCWarning(logDataIo) << "Failed to append to chemistry file for library dir" << folder;
    }
    if (options.rebuildCache && written) {
        LibraryCache::rebuildCache(folder);
    }
    return written;
}
