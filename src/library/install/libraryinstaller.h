#pragma once

#include "core/librarypath.h"

#include <QFile>
#include <QFutureWatcher>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QVector>

// Downloads installable libraries one after the other into their folders and installs each
// downloaded archive on the global thread pool, one at a time, while the next one downloads.
// Every failure is reported through statusMessage and counted; the other libraries go on.
class LibraryInstaller : public QObject
{
    Q_OBJECT

public:
    explicit LibraryInstaller(QObject *parent = nullptr);
    // Stops a running download and waits for a running installation; folders of libraries that
    // are not completely installed are removed.
    ~LibraryInstaller() override;

    static QByteArray userAgent();
    // Deletes an existing installation before it is replaced; false when `library` is not an
    // installation folder or cannot be removed.
    static bool removeInstallation(const LibraryPath &library);

    // Queues the libraries and starts downloading.
    void start(const QVector<LibraryPath> &libraries);
    // Drops what is still queued and aborts the running download.
    void cancel();

    QVector<LibraryPath> installed() const { return m_installed; }
    QVector<LibraryPath> failed() const { return m_failed; }
    // The library being downloaded (empty when none).
    LibraryPath currentDownload() const { return m_downloading; }
    bool downloadsPending() const { return m_reply || !m_downloadQueue.isEmpty(); }
    bool installsPending() const;
    bool isDone() const { return !downloadsPending() && !installsPending(); }
    // Each library takes two steps, downloading and installing; a failed download ends both.
    int totalSteps() const { return 2 * m_libraryCount; }
    int finishedSteps() const;

signals:
    // type: LibraryArchive::StatusType. Also emitted from the installation's worker thread.
    void statusMessage(const QString &message, int type);
    void downloadProgress(qint64 bytes, qint64 maxBytes);
    // After every finished step.
    void progressChanged();
    void finished();

public slots:
    void queueDownloadNext();
    void downloadNext();
    void installNext();

private slots:
    void writeDownloadedData();
    void downloadFinished();
    void downloadFailed(QNetworkReply::NetworkError code);
    void installCompleted();

private:
    void report(const QString &message, int type);
    void failDownload(const QString &reason);
    void finishStep();
    static void discard(const LibraryPath &library);

    QNetworkAccessManager m_network;
    QVector<LibraryPath> m_downloadQueue;
    QVector<LibraryPath> m_installQueue;
    QVector<LibraryPath> m_installed;
    QVector<LibraryPath> m_failed;
    LibraryPath m_downloading;
    LibraryPath m_installing;
    QPointer<QNetworkReply> m_reply;
    QFile m_file;
    QString m_writeError;
    QFutureWatcher<bool> m_installation;
    // Until installCompleted ran: the watcher stops running before it reports, and a new future
    // set in between would swallow that report.
    bool m_installRunning = false;
    int m_libraryCount = 0;
    int m_downloadsDone = 0;
    int m_downloadsFailed = 0;
    int m_installsDone = 0;
};
