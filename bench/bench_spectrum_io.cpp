// Reading speed of text spectra and measurement folders: raman-bench-io [MEASUREMENT_ROOT]
#include "spectrum/spectrumfile.h"
#include "storage/savedata.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QLoggingCategory>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QLoggingCategory::setFilterRules(
        QStringLiteral("*.debug=false\n*.info=false\n*.warning=false"));

    const QString library = QStringLiteral(RAMAN_TEST_DATA_DIR "/rruff/library");
    QStringList files;
    for (QDirIterator it(library, {QStringLiteral("*.txt")}, QDir::Files); it.hasNext();)
        files << it.next();
    if (!files.isEmpty()) {
        QElapsedTimer timer;
        timer.start();
        qint64 points = 0;
        const int rounds = 5;
        for (int r = 0; r < rounds; ++r) {
            for (const QString &file : qAsConst(files))
                points += loadSpectrumFromCSV(file).x.size();
        }
        const double ms = timer.nsecsElapsed() / 1e6;
        std::printf("loadSpectrumFromCSV: %d files x %d rounds, %lld points, %.1f ms, "
                    "%.3f ms/file, %.1f Mpoints/s\n",
                    int(files.size()), rounds, points, ms, ms / (files.size() * rounds),
                    points / ms / 1000.0);
    }

    const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (!root.isEmpty()) {
        QStringList folders;
        for (QDirIterator it(root, {QStringLiteral("metadata.json")}, QDir::Files,
                             QDirIterator::Subdirectories);
             it.hasNext();)
            folders << QFileInfo(it.next()).path();
        for (SaveDataParts parts : {SaveDataParts(Metadata), AllSaveDataParts}) {
            QElapsedTimer timer;
            timer.start();
            for (const QString &folder : qAsConst(folders)) {
                SaveData data;
                data.load(folder, parts);
            }
            const double ms = timer.nsecsElapsed() / 1e6;
            std::printf("SaveData::load parts=%d: %d folders, %.1f ms, %.3f ms/folder\n",
                        int(parts), int(folders.size()), ms, ms / std::max<int>(1, folders.size()));
        }
    }
    return 0;
}
