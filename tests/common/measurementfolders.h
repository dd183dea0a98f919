#pragma once

// Small measurement folders (metadata.json and empty Location folders) for tests.

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

struct TestMeasurement
{
    QString owner;
    QString collectionId;
    int rating = -1;             // -1: no rating key
    QStringList identifications; // one measuring point each
    QDateTime created = QDateTime(QDate(2020, 1, 1), QTime(12, 0), Qt::UTC);
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
    QJsonObject json{{QStringLiteral("save_data_version"), 11},
                     {QStringLiteral("owner"), m.owner},
                     {QStringLiteral("collection_id"), m.collectionId},
                     {QStringLiteral("created_date"), m.created.toString(Qt::ISODate)},
                     {QStringLiteral("sectors"), sectors}};
    if (m.rating != -1)
        json.insert(QStringLiteral("rating"), m.rating);
    QFile file(folder + QStringLiteral("/metadata.json"));
    return QDir().mkpath(folder) && file.open(QIODevice::WriteOnly)
           && file.write(QJsonDocument(json).toJson()) > 0;
}

inline QStringList words(const char *text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

template<typename T>
T *childNamed(QObject *parent, const char *name)
{
    return parent->findChild<T *>(QString::fromLatin1(name));
}
