#pragma once

// Writes small measurement folders (metadata.json plus empty Location folders) for tests.

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QUuid>

#include <utime.h>

struct TestMeasurement
{
    QString owner;
    QString collectionName;
    QString collectionId;
    int rating = -1;             // -1: no rating key
    QStringList identifications; // one measuring point each; empty text: not identified
    QDateTime created = QDateTime(QDate(2020, 1, 1), QTime(12, 0), Qt::UTC);
    QDateTime saved = QDateTime(QDate(2020, 1, 2), QTime(12, 0), Qt::UTC);
};

inline bool writeTestMeasurement(const QString &folder, const TestMeasurement &m)
{
    QJsonArray sectors;
    for (int n = 1; n <= m.identifications.size(); ++n) {
        sectors.append(QJsonObject{{QStringLiteral("identification_data"),
                                    QJsonObject{{QStringLiteral("mineral_final_identification"),
                                                 m.identifications.at(n - 1)}}}});
        const QString location = folder + QStringLiteral("/Location%1").arg(n);
        QFile calibration(location + QStringLiteral("/calibration_lines.txt"));
        if (!QDir().mkpath(location) || !calibration.open(QIODevice::WriteOnly))
            return false;
    }
    QJsonObject json{
        {QStringLiteral("save_data_version"), 11},
        {QStringLiteral("created_as_version"), 11},
        {QStringLiteral("owner"), m.owner},
        {QStringLiteral("collection_name"), m.collectionName},
        {QStringLiteral("collection_id"), m.collectionId},
        {QStringLiteral("unique_ident"), QUuid::createUuid().toString(QUuid::WithoutBraces)},
        {QStringLiteral("created_date"), m.created.toString(Qt::ISODate)},
        {QStringLiteral("saved_date"), m.saved.toString(Qt::ISODate)},
        {QStringLiteral("sectors"), sectors},
    };
    if (m.rating != -1)
        json.insert(QStringLiteral("rating"), m.rating);
    QFile file(folder + QStringLiteral("/metadata.json"));
    return QDir().mkpath(folder) && file.open(QIODevice::WriteOnly)
           && file.write(QJsonDocument(json).toJson()) > 0;
}

// Sets a folder's modification time, which orders the folders of one level in the search.
inline bool setModificationTime(const QString &path, const QDateTime &time)
{
    utimbuf times;
    times.actime = time.toSecsSinceEpoch();
    times.modtime = time.toSecsSinceEpoch();
    return utime(QFile::encodeName(path).constData(), &times) == 0;
}
