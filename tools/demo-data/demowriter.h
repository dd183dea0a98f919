#pragma once

#include "storage/savedatarecords.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QString>

// Writes demo measurement folders whose spectra come from real reference measurements of the
// minerals: each passes through a simulated detector (fluorescence, noise, hot pixels) and is then
// turned back into a spectrum by the program's own CCD and calibration steps.
class DemoWriter
{
public:
    // `dataDir` holds INDEX.csv and the spectra it names.
    DemoWriter(const QString &dataDir, quint32 seed);

    // Reads the demo table and the index of the data folder; false, with a message in `error`,
    // when the data folder lacks a spectrum the table needs.
    bool readData(QString *error);
    QJsonArray measurements() const;
    // One measurement as described by an entry of the demo table.
    bool writeMeasurement(const QString &root, const QJsonObject &measurement);

private:
    SaveDataSector measuredSector(const QString &mineral, const QString &identification,
                                  double fluorescenceStrength);
    QString uuid();
    double gaussianNoise();

    QString m_dataDir;
    QRandomGenerator m_random;
    QJsonObject m_table;
    QHash<QString, QString> m_querySpectra; // mineral -> file of another sample
    QHash<QString, QString> m_libraryIds;   // mineral -> RRUFF id of the library spectrum
};
