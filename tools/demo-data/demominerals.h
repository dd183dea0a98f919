#pragma once

#include <QString>
#include <QVector>

// Raman bands of real minerals and pigments, for synthetic demo spectra.
struct RamanBand
{
    double position;  // 1/cm
    double amplitude; // relative
    double width;     // half width at half maximum, 1/cm
};

struct DemoMineral
{
    QString name;        // as in reference file names
    QString germanName;  // as a user would write the identification
    QString formulaHtml; // for the library's chemistry.csv
    QVector<RamanBand> bands;
};

const QVector<DemoMineral> &demoMinerals();
const DemoMineral &demoMineral(const QString &name);
