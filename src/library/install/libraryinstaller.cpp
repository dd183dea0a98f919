#include "library/install/libraryinstaller.h"

#include "core/logging.h"
#include "library/install/libraryarchive.h"
#include "library/install/librarysources.h"

#include <QCoreApplication>
#include <QDir>
#include <QNetworkRequest>
#include <QtConcurrent>

using LibraryArchive::Error;
using LibraryArchive::Info;
using LibraryArchive::Success;

LibraryInstaller::LibraryInstaller(QObject *parent)
    : QObject(parent)
{
    connect(&m_installation, &QFutureWatcher<bool>::finished, this,
            &LibraryInstaller::installCompleted);
}

LibraryInstaller::~LibraryInstaller()
{
    // Whoever listened may be half destroyed by now.
    blockSignals(true);
    m_installation.disconnect(this);
    m_downloadQueue.clear();
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_file.close();
        discard(m_downloading);
    }
    if (m_installRunning) {
        m_installation.waitForFinished();
        if (!m_installation.result())
            discard(m_installing);
    }
    for (const LibraryPath &library : qAsConst(m_installQueue))
        discard(library);
}

QByteArray LibraryInstaller::userAgent()
{
    return QByteArrayLiteral(
        "Mozilla/5.0 (X11; Linux x86_64; rv:62.0) Gecko/20100101 Firefox/62.0");
}

bool LibraryInstaller::removeInstallation(const LibraryPath &library)
{
    if (!LibrarySources::isInstallFolder(library.path)) {
        qCWarning(logDataLibraries) << "not an installation folder, left alone:" << library.path;
        return false;
    }
    qCDebug(logDataLibraries) << "removing library" << library.path << "before replacement";
    return QDir(library.path).removeRecursively();
}

void LibraryInstaller::discard(const LibraryPath &library)
{
    // Only folders below the data location named after a library are ever deleted whole.
    if (LibrarySources::isInstallFolder(library.path) && QFileInfo::exists(library.path)
        && !QDir(library.path).removeRecursively())
        qCWarning(logDataLibraries) << "failed to remove incomplete library" << library.path;
}

void LibraryInstaller::start(const QVector<LibraryPath> &libraries)
{
    m_downloadQueue += libraries;
    m_libraryCount += libraries.size();
    emit progressChanged();
    if (isDone())
        emit finished();
    else
        queueDownloadNext();
}

void LibraryInstaller::cancel()
{
    m_downloadQueue.clear();
    if (m_reply)
        m_reply->abort();
}

bool LibraryInstaller::installsPending() const
{
    return m_installRunning || !m_installQueue.isEmpty();
}

int LibraryInstaller::finishedSteps() const
{
    return m_downloadsDone + 2 * m_downloadsFailed + m_installsDone;
}

void LibraryInstaller::report(const QString &message, int type)
{
    if (type == Error)
        qCWarning(logDataLibraries).noquote() << message;
    else
        qCInfo(logDataLibraries).noquote() << message;
    emit statusMessage(message, type);
}

void LibraryInstaller::queueDownloadNext()
{
    QMetaObject::invokeMethod(this, &LibraryInstaller::downloadNext, Qt::QueuedConnection);
}

void LibraryInstaller::downloadNext()
{
    if (m_file.isOpen() || m_downloadQueue.isEmpty())
        return;
    m_downloading = m_downloadQueue.takeFirst();
    const QString folder = m_downloading.path;
    QDir().mkpath(folder);
    m_file.setFileName(LibraryArchive::downloadPath(folder));
    if (!m_file.open(QIODevice::WriteOnly)) {
        report(
            QCoreApplication::translate("LibraryDownloadDialog", "Konnte Datei '%1' nicht öffnen.")
                .arg(QDir::toNativeSeparators(m_file.fileName())),
            Error);
        m_failed.append(m_downloading);
        ++m_downloadsFailed;
        discard(m_downloading);
        m_downloading = LibraryPath();
        queueDownloadNext();
        finishStep();
        return;
    }
    m_writeError.clear();
    QNetworkRequest request(QUrl(m_downloading.info.value(QStringLiteral("url")).toString()));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setRawHeader(QByteArrayLiteral("User-Agent"), userAgent());
    m_reply = m_network.get(request);
    connect(m_reply, &QNetworkReply::readyRead, this, &LibraryInstaller::writeDownloadedData);
    connect(m_reply, &QNetworkReply::finished, this, &LibraryInstaller::downloadFinished);
    connect(m_reply, &QNetworkReply::errorOccurred, this, &LibraryInstaller::downloadFailed);
    connect(m_reply, &QNetworkReply::downloadProgress, this, &LibraryInstaller::downloadProgress);
}

void LibraryInstaller::writeDownloadedData()
{
    if (!m_reply || !m_file.isOpen())
        return;
    const QByteArray data = m_reply->readAll();
    if (m_file.write(data) != data.size()) {
        m_writeError = m_file.errorString();
        m_reply->abort();
    }
}

void LibraryInstaller::downloadFinished()
{
    // A failed reply was handled and disconnected by downloadFailed.
    if (!m_reply || m_reply->error() != QNetworkReply::NoError)
        return;
    writeDownloadedData();
    if (!m_writeError.isEmpty()) {
        failDownload(m_writeError);
        return;
    }
    // A connection that closes early can still end without an error.
    const QVariant expected = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (expected.isValid() && m_file.size() < expected.toLongLong()) {
        failDownload(QStringLiteral("incomplete download, %1 of %2 bytes")
                         .arg(m_file.size())
                         .arg(expected.toLongLong()));
        return;
    }
    m_file.close();
    m_reply->disconnect(this);
    m_reply->deleteLater();
    m_reply = nullptr;
    m_installQueue.append(m_downloading);
    ++m_downloadsDone;
    report(QStringLiteral("Download finished for target path '%1'").arg(m_downloading.path), Info);
    m_downloading = LibraryPath();
    queueDownloadNext();
    installNext();
    finishStep();
}

void LibraryInstaller::downloadFailed(QNetworkReply::NetworkError code)
{
    if (!m_reply)
        return;
    failDownload(m_writeError.isEmpty()
                     ? m_reply->errorString() + QStringLiteral(" (%1)").arg(int(code))
                     : m_writeError);
}

void LibraryInstaller::failDownload(const QString &reason)
{
    report(QStringLiteral("download failed for path '%1': %2").arg(m_downloading.path, reason),
           Error);
    m_reply->disconnect(this);
    // A reply that failed by itself ends on its own; one we gave up on has to be stopped.
    if (m_reply->error() == QNetworkReply::NoError && m_reply->isRunning())
        m_reply->abort();
    m_reply->deleteLater();
    m_reply = nullptr;
    m_file.close();
    discard(m_downloading);
    m_failed.append(m_downloading);
    ++m_downloadsFailed;
    m_downloading = LibraryPath();
    queueDownloadNext();
    finishStep();
}

void LibraryInstaller::installNext()
{
    if (m_installRunning || m_installQueue.isEmpty())
        return;
    m_installRunning = true;
    m_installing = m_installQueue.takeFirst();
    const QString folder = m_installing.path;
    const QString handler = m_installing.info.value(QStringLiteral("install-handler")).toString();
    // The destructor waits for the worker, so `this` outlives every report.
    m_installation.setFuture(QtConcurrent::run([this, folder, handler]() {
        return LibraryArchive::installLibraryArchive(
            folder, handler, [this](const QString &message, int type) { report(message, type); });
    }));
}

void LibraryInstaller::installCompleted()
{
    const QString name = LibrarySources::readableName(m_installing, QLocale().name());
    if (m_installation.result()) {
        QFile::remove(LibraryArchive::downloadPath(m_installing.path));
        m_installed.append(m_installing);
        report(QStringLiteral("Successfully installed: %1").arg(name), Success);
    } else {
        discard(m_installing);
        m_failed.append(m_installing);
        report(QStringLiteral("Installation failed: %1").arg(name), Error);
    }
    ++m_installsDone;
    m_installRunning = false;
    m_installing = LibraryPath();
    installNext();
    finishStep();
}

void LibraryInstaller::finishStep()
{
    emit progressChanged();
    if (isDone())
        emit finished();
}
