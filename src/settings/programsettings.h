#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// What a user sets up for the whole program, apart from the library folders: where measurements
// are saved, where backups go, the TeX compiler for reports and the language at start.
struct ProgramSettings
{
    Q_DECLARE_TR_FUNCTIONS(ProgramSettings)

public:
    QString savePath;
    QString backupPath;
    QString texCompiler; // empty: no reports
    QString language;    // a locale such as "en_GB"; empty: the system's

    static ProgramSettings current();

    // One line per entry that cannot be used, naming it and its value; empty when all can.
    // Runs the TeX compiler, so it may take a few seconds: not on the GUI thread.
    QStringList problems() const;
    // Stores the settings; the save path counts from now on, the language from the next start.
    void apply() const;
};
