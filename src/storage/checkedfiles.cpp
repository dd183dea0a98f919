#include "storage/checkedfiles.h"

#include "core/logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

// Closes a descriptor that a failed step leaves open; the step's own failure is what counts.
void closeQuietly(int fd)
{
    if (fd >= 0)
        ::close(fd);
}

} // namespace

bool CheckedFiles::fail(const QString &path, const QString &reason)
{
    if (ok()) {
        m_error = QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason;
        qCWarning(logDataIo).noquote() << "save failed:" << m_error;
    }
    return false;
}

bool CheckedFiles::adopt(const CheckedFiles &other)
{
    if (ok())
        m_error = other.m_error;
    return ok();
}

bool CheckedFiles::systemFailure(const QString &path)
{
    const int error = errno;
    return fail(path, QString::fromLocal8Bit(std::strerror(error)));
}

bool CheckedFiles::writeFile(const QString &path, const QByteArray &bytes)
{
    if (!ok())
        return false;
    const int fd = ::open(encoded(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return systemFailure(path);
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            systemFailure(path);
            closeQuietly(fd);
            return false;
        }
        done += n;
    }
    if (::fsync(fd) != 0) {
        systemFailure(path);
        closeQuietly(fd);
        return false;
    }
    return ::close(fd) == 0 || systemFailure(path);
}

bool CheckedFiles::readFile(const QString &path, QByteArray &bytes)
{
    bytes.clear();
    if (!ok())
        return false;
    const int fd = ::open(encoded(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return systemFailure(path);
    struct stat info;
    if (::fstat(fd, &info) == 0 && info.st_size > 0)
        bytes.reserve(int(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            systemFailure(path);
            closeQuietly(fd);
            return false;
        }
        if (n == 0)
            break;
        bytes.append(buffer, int(n));
    }
    // Nothing was written through this descriptor: a failing close loses nothing.
    ::close(fd);
    return true;
}

bool CheckedFiles::verifyFile(const QString &path, const QByteArray &bytes)
{
    QByteArray actual;
    if (!readFile(path, actual))
        return false;
    return actual == bytes
           || fail(path, QStringLiteral("read back %1 bytes differing from the %2 written")
                             .arg(actual.size())
                             .arg(bytes.size()));
}

bool CheckedFiles::makeDirectory(const QString &path)
{
    if (!ok())
        return false;
    return ::mkdir(encoded(path).constData(), 0755) == 0 || systemFailure(path);
}

bool CheckedFiles::makePath(const QString &path)
{
    if (QFileInfo(path).isDir())
        return ok();
    const QString parent = QFileInfo(path).path();
    if (parent != path && !makePath(parent))
        return false;
    return makeDirectory(path);
}

bool CheckedFiles::syncDirectory(const QString &path)
{
    if (!ok())
        return false;
    const int fd = ::open(encoded(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return systemFailure(path);
    if (::fsync(fd) != 0) {
        systemFailure(path);
        closeQuietly(fd);
        return false;
    }
    return ::close(fd) == 0 || systemFailure(path);
}

bool CheckedFiles::tryLinkFile(const QString &from, const QString &to)
{
    return ok() && ::link(encoded(from).constData(), encoded(to).constData()) == 0;
}

bool CheckedFiles::rename(const QString &from, const QString &to)
{
    if (!ok())
        return false;
    return ::rename(encoded(from).constData(), encoded(to).constData()) == 0 || systemFailure(to);
}

bool CheckedFiles::exchange(const QString &first, const QString &second, bool *unsupported)
{
    *unsupported = false;
    if (!ok())
        return false;
#ifdef RENAME_EXCHANGE
    if (::renameat2(AT_FDCWD, encoded(first).constData(), AT_FDCWD, encoded(second).constData(),
                    RENAME_EXCHANGE)
        == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return systemFailure(second);
#else
    Q_UNUSED(first)
    Q_UNUSED(second)
#endif
    *unsupported = true;
    return false;
}
