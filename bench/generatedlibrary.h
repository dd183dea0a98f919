#pragma once

// Library folders of generated spectra for the benchmarks: 3 to 15 Lorentzian bands over 100 to
// 3800 1/cm, 3000 points over 50 to 4000 1/cm, noise and a sloping background.

#include "spectrum/spectrumfile.h"

#include "syntheticspectra.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

inline bool writeGeneratedLibrary(const QString &folder, int count)
{
    QDir().mkpath(folder);
    QRandomGenerator random(4242);
    for (int i = 0; i < count; ++i) {
        QVector<SyntheticBand> bands;
        const int bandCount = 3 + int(random.bounded(13));
        for (int b = 0; b < bandCount; ++b)
            bands.append({100 + random.bounded(3700.0), 0.05 + random.bounded(0.95),
                          2 + random.bounded(13.0)});
        const RamanData<Wavenumbers> s
            = syntheticSpectrum(bands, quint32(i), 0.01, 50, 4000, 3950.0 / 2999, 0.2);
        QFile file(folder
                   + QStringLiteral("/Mineral%1__R%1__Raman__532__0__unoriented__"
                                    "Raman_Data_Processed__%1.txt")
                         .arg(i));
        if (!file.open(QIODevice::WriteOnly) || file.write(spectrumText(s)) < 0)
            return false;
    }
    return true;
}
