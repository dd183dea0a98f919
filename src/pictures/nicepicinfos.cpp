#include "pictures/nicepicinfos.h"

#include "core/logging.h"
#include "core/pathmanager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

NicePicInfos::NicePicInfos()
    : NicePicInfos(PathManager::instance().nicePicPath())
{}

NicePicInfos::NicePicInfos(const QString &root)
    : m_root(root)
{}

QString NicePicInfos::pictureFolder() const
{
    return m_root + QStringLiteral("/NicePicJpg/");
}

QString NicePicInfos::recordFolder() const
{
    return m_root + QStringLiteral("/NicePicJson/");
}

QString NicePicInfos::picturePath(const QString &mineral, int number) const
{
    return pictureFolder() + mineral + QLatin1Char('_') + QString::number(number)
           + QStringLiteral(".jpg");
}

QString NicePicInfos::recordPath(const QString &mineral, int number) const
{
    return recordFolder() + mineral + QLatin1Char('_') + QString::number(number)
           + QStringLiteral(".json");
}

QString NicePicInfos::workingCopyPath() const
{
    return pictureFolder() + QStringLiteral("temp.jpg");
}

int NicePicInfos::pictureNumber(const QString &fileName)
{
    static const QRegularExpression numbered(QStringLiteral("[\\w]+\\_([0-9]+)\\.[\\w]+$"));
    const QRegularExpressionMatch match = numbered.match(fileName);
    if (!match.hasMatch())
        return -1;
    bool ok = false;
    const int number = match.captured(1).toInt(&ok);
    return ok ? number : -1;
}

int NicePicInfos::highestNumber(const QString &folder, const QString &mineral)
{
    const QStringList files = QDir(folder).entryList(
        {QLatin1Char('*') + mineral + QLatin1Char('*')}, QDir::Files | QDir::NoDotAndDotDot);
    int highest = -1;
    for (const QString &file : files)
        highest = std::max(highest, pictureNumber(file));
    if (files.size() != highest + 1)
        qCWarning(logDataIoNicePics)
            << "numbering of pictures seems odd, counts:" << files.size() << highest;
    return highest;
}

int NicePicInfos::pictureCount(const QString &mineral) const
{
    return std::min(highestNumber(recordFolder(), mineral), highestNumber(pictureFolder(), mineral))
           + 1;
}

NicePicInfo NicePicInfos::loadFromFolder(const QString &mineral, int number) const
{
    const QString path = recordPath(mineral, number);
    qCDebug(logDataIoNicePics) << "loading infos from folder" << path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(logDataIoNicePics) << "no metadata.json file for NicePicInfo:" << path;
        return NicePicInfo();
    }
    qCDebug(logDataIoNicePics) << "NicePicInfos::loadFromFolder - json file for NicePicInfo:"
                               << path;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (!document.isObject()) {
        qCWarning(logDataIoNicePics)
            << "unreadable json file for NicePicInfo:" << path << error.errorString();
        return NicePicInfo();
    }
    return NicePicInfo::fromJson(document.object());
}

bool NicePicInfos::writeInfo(const QString &path, const NicePicInfo &record)
{
    qCDebug(logDataIoNicePics) << "writing QJson object to disc" << path;
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(record.toJson()).toJson()) < 0
        || !file.commit()) {
        qCWarning(logDataIoNicePics) << "could not write" << path;
        return false;
    }
    return true;
}

bool NicePicInfos::removePicture(const QString &mineral, int index) const
{
    const int count = pictureCount(mineral);
    if (index < 0 || index >= count) {
        qCWarning(logDataIoNicePics) << "no such index:" << index;
        return false;
    }
    qCDebug(logDataIoNicePics) << "available pictures count:" << count;

    if (!QFile::remove(recordPath(mineral, index))) {
        qCWarning(logDataIoNicePics) << "could not remove qjson" << recordPath(mineral, index);
        return false;
    }
    qCDebug(logDataIoNicePics) << "removed";
    if (!QFile::remove(picturePath(mineral, index))) {
        qCWarning(logDataIoNicePics) << "could not remove jpg " << picturePath(mineral, index);
        return false;
    }
    qCDebug(logDataIoNicePics) << "jpg removed";

    // Closes the gap so that the numbers stay 0 .. count - 2.
    for (int k = index; k < count - 1; ++k) {
        const QString jsonFrom = recordPath(mineral, k + 1);
        const QString jsonTo = recordPath(mineral, k);
        if (!QFile::rename(jsonFrom, jsonTo)) {
            qCWarning(logDataIoNicePics) << "could not rename json " << jsonFrom;
            return false;
        }
        qCDebug(logDataIoNicePics) << "qjson renamed from" << jsonFrom << "to" << jsonTo;
        const QString jpgFrom = picturePath(mineral, k + 1);
        const QString jpgTo = picturePath(mineral, k);
        if (!QFile::rename(jpgFrom, jpgTo)) {
            qCWarning(logDataIoNicePics) << "could not rename jpg " << jpgFrom;
            return false;
        }
        qCDebug(logDataIoNicePics) << "jpg renamed from" << jpgFrom << "to" << jpgTo;
        qCDebug(logDataIoNicePics) << "number of images" << count - 1;
    }
    return true;
}
