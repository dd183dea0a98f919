#pragma once

#include "demominerals.h"

#include <QDate>
#include <QRandomGenerator>
#include <QString>

// How far a measuring point of the demo got with its identification.
enum class DemoIdentification { None, AutoOnly, Final };

struct DemoPoint
{
    QString mineral;
    DemoIdentification identification = DemoIdentification::Final;
    double fluorescence = 1.0; // relative strength of the background
};

struct DemoMeasurement
{
    QString relativePath; // below the measurement root; empty name: default folder name
    int version = 11;
    QString owner;
    QString collectionName; // from version 8
    QString collectionId;   // split into label and number below version 8
    QString label;
    QString number;
    QString location;
    QString comment;
    QDate foundDate;
    bool yearOnly = false;
    bool noDate = false;
    QDateTime savedDate;
    bool writeCreatedDate = true; // from version 9
    int rating = -1;              // -1: no rating key
    QVector<DemoPoint> points;
    bool dropLastLocationFolder = false;
};

// Writes synthetic but realistic measurement folders and reference spectra.
class DemoWriter
{
public:
    explicit DemoWriter(quint32 seed)
        : m_random(seed)
    {}

    bool writeMeasurement(const QString &root, const DemoMeasurement &measurement);
    bool writeLibrary(const QString &folder);

private:
    QString uuid();
    double gaussianNoise();

    QRandomGenerator m_random;
};

const QVector<DemoMeasurement> &demoMeasurements();
