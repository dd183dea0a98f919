#pragma once

// Small helpers for tests that build files and folders by hand.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

namespace TestFiles {

inline bool write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline bool writeJson(const QString &path, const QJsonObject &object)
{
    return write(path, QJsonDocument(object).toJson());
}

inline QString testDataDir()
{
    return QString::fromLocal8Bit(RAMAN_TEST_DATA_DIR);
}

} // namespace TestFiles
