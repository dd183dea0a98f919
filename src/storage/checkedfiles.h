#pragma once

#include <QByteArray>
#include <QString>

// File-system steps whose every system call is checked. The first failure is kept as a message
// naming the file and the system's reason; every later step then does nothing and fails, so a
// sequence of steps can be checked once at its end.
class CheckedFiles
{
public:
    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    // Records a failure that is not a system call's; ignored after the first failure.
    bool fail(const QString &path, const QString &reason);
    // Takes over the failure of steps done through `other` (on another thread), unless this
    // failed already.
    bool adopt(const CheckedFiles &other);

    // Creates `path` (which must not exist), writes all of `bytes`, syncs it to disk and closes
    // it.
    bool writeFile(const QString &path, const QByteArray &bytes);
    // The whole content of `path` into `bytes`.
    bool readFile(const QString &path, QByteArray &bytes);
    // True when `path` holds exactly `bytes`.
    bool verifyFile(const QString &path, const QByteArray &bytes);
    bool makeDirectory(const QString &path);
    // Creates `path` and the folders above it that are missing.
    bool makePath(const QString &path);
    // Makes the names of the entries of folder `path` durable.
    bool syncDirectory(const QString &path);
    // A second name for a file; false, and no failure recorded, when the file system refuses.
    bool tryLinkFile(const QString &from, const QString &to);
    bool rename(const QString &from, const QString &to);
    // Swaps two folders in one step; false (without a recorded failure) when the file system
    // cannot, so that the caller may do it another way.
    bool exchange(const QString &first, const QString &second, bool *unsupported);

private:
    bool systemFailure(const QString &path);

    QString m_error;
};
