#pragma once

#include "analysis/analysisfunctions.h"
#include "spectrum/ramandata.h"

#include <QCoreApplication>

#include <optional>

class QWidget;

// The spectrum files the analysis reads and writes at the user's request: each asks for the file
// over `parent` and says there what went wrong.
class AnalysisExports
{
    Q_DECLARE_TR_FUNCTIONS(AnalysisExports)

public:
    // A spectrum file the user picked, in any format the program reads; one that cannot be read
    // or holds no positive intensity is refused with a message naming the file.
    static std::optional<RamanData<Wavenumbers>> readSpectrumFile(const QString &path,
                                                                  QWidget *parent);
    // The file's name shortened for a legend; long RRUFF names would push it into a second row.
    static QString legendTitle(const QString &path);
    // The file is proposed named after `result`, in `folder` (the measurement's), else in the
    // folder of the last export.
    static void exportSpectrum(const RamanData<Wavenumbers> &spectrum, const QString &result,
                               const QString &folder, QWidget *parent);
    // Explains instead when there are no lines.
    static void exportPeakList(const QVector<PeakLine> &lines, const QString &result,
                               const QString &folder, QWidget *parent);
};
