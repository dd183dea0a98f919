#include "analysis/ui/analysisexports.h"

#include "core/logging.h"
#include "core/pathmanager.h"
#include "core/suggestedfilename.h"
#include "spectrum/formats/spectrumimport.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <cmath>

namespace {

QString &lastExportDirectory()
{
    static QString directory;
    return directory;
}

// Asks for a text file to write, proposing `name` in `folder`, else in the folder of the last
// export; empty when the user cancelled.
QString askForExportFile(QWidget *parent, const QString &title, const QString &name, QString folder)
{
    if (folder.isEmpty())
        folder = lastExportDirectory().isEmpty() ? PathManager::instance().savePath()
                                                 : lastExportDirectory();
    const QString proposed = QDir(folder).filePath(
        suggestedFileName(name.trimmed(), QStringLiteral("txt"), AnalysisExports::tr("Spektrum")));
    const QString path = QFileDialog::getSaveFileName(parent, title, proposed,
                                                      AnalysisExports::tr("Text (*.txt)"));
    if (!path.isEmpty())
        lastExportDirectory() = QFileInfo(path).absolutePath();
    return path;
}

} // namespace

std::optional<RamanData<Wavenumbers>> AnalysisExports::readSpectrumFile(const QString &path,
                                                                        QWidget *parent)
{
    const ImportedSpectrum imported = importSpectrum(path);
    double maximum = 0;
    imported.spectrum.normalizedToMaximum(&maximum);
    QString problem = imported.error;
    if (problem.isEmpty() && !(std::isfinite(maximum) && maximum > 0))
        problem = tr("%1: das Spektrum hat keine positiven Intensitäten.")
                      .arg(QDir::toNativeSeparators(path));
    if (!problem.isEmpty()) {
        qCWarning(logDataIo) << "spectrum file not used:" << problem;
        QMessageBox::warning(parent, tr("Spektrum nicht lesbar"), problem);
        return std::nullopt;
    }
    for (const QString &note : imported.notes)
        qCInfo(logDataIo) << "spectrum file" << path << ":" << note;
    return imported.spectrum;
}

QString AnalysisExports::legendTitle(const QString &path)
{
    QString title = QFileInfo(path).fileName();
    if (title.size() > 40)
        title = title.left(26) + QChar(0x2026) + title.right(13);
    return title;
}

void AnalysisExports::exportSpectrum(const RamanData<Wavenumbers> &spectrum, const QString &result,
                                     const QString &folder, QWidget *parent)
{
    const QString path = askForExportFile(parent, tr("Spektrum exportieren"), result, folder);
    if (!path.isEmpty())
        writeExportFile(path, exportSpectrumText(spectrum));
}

void AnalysisExports::exportPeakList(const QVector<PeakLine> &lines, const QString &result,
                                     const QString &folder, QWidget *parent)
{
    if (lines.isEmpty()) {
        QMessageBox::information(parent, tr("Keine Peaks"),
                                 tr("Keine Peaks ausgewählt oder erkannt."));
        return;
    }
    const QString path = askForExportFile(parent, tr("Peak-Liste exportieren"),
                                          tr("%1 Peaks").arg(result), folder);
    if (!path.isEmpty())
        writeExportFile(path, peakListText(lines));
}
