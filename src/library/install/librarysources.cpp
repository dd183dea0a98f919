#include "library/install/librarysources.h"

#include "core/logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStandardPaths>

namespace LibrarySources {

QString builtInList()
{
    return QStringLiteral(":/library-sources.json");
}

QJsonObject readList(const QString &listPath)
{
    QFile file(listPath);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(logDataLibraries) << "Failed to read downloadable library list" << listPath;
        return {};
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError) {
        qCWarning(logDataLibraries)
            << "Failed to parse downloadable library list:" << error.errorString() << "at"
            << error.offset;
        return {};
    }
    return document.object();
}

bool isValidIdentifier(const QString &identifier)
{
    return !identifier.isEmpty() && identifier != QLatin1String(".")
           && identifier != QLatin1String("..") && !identifier.contains(QLatin1Char('/'))
           && !identifier.contains(QLatin1Char('\\'));
}

static QString dataLocation()
{
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString installFolder(const QString &identifier)
{
    return QDir::cleanPath(dataLocation() + QLatin1Char('/') + identifier);
}

bool isInstallFolder(const QString &path)
{
    const QString cleaned = QDir::cleanPath(path);
    const QString name = QFileInfo(cleaned).fileName();
    return isValidIdentifier(name) && cleaned == installFolder(name);
}

QVector<LibraryPath> installableLibraries(const QString &listPath)
{
    QVector<LibraryPath> result;
    const QJsonObject libraries = readList(listPath).value(QLatin1String("libraries")).toObject();
    for (auto it = libraries.begin(); it != libraries.end(); ++it) {
        // The identifier becomes a folder name, so it must not lead anywhere else.
        if (!isValidIdentifier(it.key())) {
            qCWarning(logDataLibraries) << "Invalid library name:" << it.key();
            continue;
        }
        const QJsonObject library = it.value().toObject();
        qCDebug(logDataLibraries) << "Listing installable library:"
                                  << library.value(QLatin1String("url")).toString();
        LibraryPath entry;
        entry.path = installFolder(it.key());
        entry.enabled = true;
        entry.system = false;
        entry.info = library.toVariantMap();
        result.append(entry);
    }
    return result;
}

QString identifier(const LibraryPath &library)
{
    return QFileInfo(QDir::cleanPath(library.path)).fileName();
}

QString readableName(const LibraryPath &library, const QString &locale)
{
    const QVariantMap names = library.info.value(QStringLiteral("readable-name")).toMap();
    for (const QString &key : {locale, QStringLiteral("de_DE"), QStringLiteral("en_GB")}) {
        const QString name = names.value(key).toString();
        if (!name.isEmpty())
            return name;
    }
    return identifier(library);
}

QStringList vendorIds(const QVector<LibraryPath> &libraries)
{
    QStringList vendors;
    for (const LibraryPath &library : libraries) {
        const QString vendor = library.info.value(QStringLiteral("vendor-id")).toString();
        if (!vendors.contains(vendor))
            vendors.append(vendor);
    }
    return vendors;
}

QString licenceText(const QStringList &vendorIds, const QString &templateText,
                    const QString &listPath)
{
    const QJsonObject vendorInfo
        = readList(listPath).value(QLatin1String("vendor-info")).toObject();
    QString text;
    QStringList seen;
    for (const QString &vendor : vendorIds) {
        if (seen.contains(vendor))
            continue;
        seen.append(vendor);
        if (!vendorInfo.contains(vendor)) {
            text += QStringLiteral("No license details available for vendor %1\n").arg(vendor);
            continue;
        }
        const QJsonObject info = vendorInfo.value(vendor).toObject();
        QString filled = templateText;
        filled.replace(QLatin1String("${VENDOR_WEBSITE}"),
                       info.value(QLatin1String("website")).toString());
        filled.replace(QLatin1String("${VENDOR_LICENSE}"),
                       info.value(QLatin1String("license-terms")).toString());
        text += filled;
    }
    return text;
}

} // namespace LibrarySources
