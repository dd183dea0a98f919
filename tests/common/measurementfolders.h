#pragma once

// Small measurement folders (metadata.json and empty Location folders) for tests.

#include "testfiles.h"

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
        sectors.append(QJsonObject{
            {S("identification_data"),
             QJsonObject{{S("mineral_final_identification"), m.identifications.at(n - 1)}}}});
        if (!TestFiles::write(folder + S("/Location%1/calibration_lines.txt").arg(n), {}))
            return false;
    }
    QJsonObject json{{S("save_data_version"), 11},
                     {S("owner"), m.owner},
                     {S("collection_id"), m.collectionId},
                     {S("created_date"), m.created.toString(Qt::ISODate)},
                     {S("sectors"), sectors}};
    if (m.rating != -1)
        json.insert(S("rating"), m.rating);
    return TestFiles::writeJson(folder + S("/metadata.json"), json);
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
