#pragma once

#include "core/librarypath.h"
#include "library/install/librarysources.h"

#include <QDialog>

#include <memory>

class LibraryInstaller;

namespace Ui {
class LibraryDownloadDialog;
}

// Shows the licence terms of the chosen installable libraries, then downloads and installs
// them, with a progress bar and a log of every step.
class LibraryDownloadDialog : public QDialog
{
    Q_OBJECT

public:
    explicit LibraryDownloadDialog(const QVector<LibraryPath> &libraries, QWidget *parent = nullptr,
                                   const QString &sourceList = LibrarySources::builtInList());
    ~LibraryDownloadDialog() override;

    // The libraries still to be installed (those the user kept after the replacement question).
    QVector<LibraryPath> libraries() const { return m_libraries; }
    const LibraryInstaller &installer() const { return *m_installer; }

    // On the licence page: starts the downloads; on the progress page: closes.
    void accept() override;
    // Stops the downloads; what is not completely installed is removed.
    void reject() override;

signals:
    void statusMessageAvailable(const QString &message, int type);

public slots:
    void checkLibrariesExist();
    void updateProgress();
    void showDownloadProgress(qint64 bytes, qint64 maxBytes);
    // Safe to call from any thread.
    void showStatusMessage(const QString &message, int type);

private:
    QVector<LibraryPath> m_libraries;
    std::unique_ptr<Ui::LibraryDownloadDialog> m_ui;
    // Declared after m_ui so that it goes first: it may still report while stopping.
    std::unique_ptr<LibraryInstaller> m_installer;
};
