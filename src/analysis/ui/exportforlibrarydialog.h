#pragma once

#include "analysis/libraryexport.h"

#include <QDialog>

#include <memory>

namespace Ui {
class ExportForLibrary;
}

// Asks for the library folder, name, wavelength, chemistry and orientation of a spectrum that
// goes into a library of the user's own.
class ExportForLibraryDialog : public QDialog
{
    Q_OBJECT

public:
    ExportForLibraryDialog(const QString &identifier, const QString &proposedName,
                           QWidget *parent = nullptr);
    ~ExportForLibraryDialog() override;

    QString libraryPath() const;
    LibraryExportRecord exportRecord() const;
    LibraryExportOptions exportOptions() const;

    void accept() override;

private:
    void chemistryEdited(const QString &text);
    void browse();

    std::unique_ptr<Ui::ExportForLibrary> m_ui;
    QString m_identifier;
};

// Runs the dialog for a spectrum and, when it is accepted, exports the spectrum.
void exportSpectrumForLibrary(const RamanData<Wavenumbers> &spectrum, const QString &proposedName,
                              QWidget *parent);
