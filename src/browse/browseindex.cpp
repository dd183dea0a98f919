#include "browse/browseindex.h"

#include "core/logging.h"

#include <QAtomicInt>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

namespace {

const QString format = QStringLiteral("raman-browse-index 1");

QByteArray encoded(const BrowseRow &row)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_5_15);
    stream << row;
    return bytes;
}

// A row is only trusted with the check sum it was stored with.
QByteArray checkSum(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5);
}

bool exec(QSqlQuery &query, const QString &statement)
{
    if (query.exec(statement))
        return true;
    qCWarning(logDataIo).noquote()
        << "browse index:" << statement << ":" << query.lastError().text();
    return false;
}

} // namespace

BrowseIndex::BrowseIndex(const QString &path)
    : m_path(path)
{
    static QAtomicInt connections;
    m_connection = QStringLiteral("browse-index-%1").arg(connections.fetchAndAddRelaxed(1));
    if (m_path.isEmpty())
        return;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        qCWarning(logDataIo) << "no index of the measurement list: no SQLite driver";
        return;
    }
    QDir().mkpath(QFileInfo(m_path).path());
    m_open = open();
    if (!m_open) {
        // Damaged or not ours: what it says is not trusted, it is made anew.
        qCWarning(logDataIo) << "rebuilding the index of the measurement list" << m_path;
        QSqlDatabase::database(m_connection, false).close();
        QFile::remove(m_path);
        QFile::remove(m_path + QStringLiteral("-journal"));
        m_open = open();
        if (!m_open)
            qCWarning(logDataIo) << "no index of the measurement list in" << m_path;
    }
}

BrowseIndex::~BrowseIndex()
{
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

QString BrowseIndex::defaultPath()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return cache.isEmpty() ? QString() : cache + QStringLiteral("/browse-index.sqlite");
}

bool BrowseIndex::open()
{
    QSqlDatabase db = QSqlDatabase::contains(m_connection)
                          ? QSqlDatabase::database(m_connection, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(m_path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        return false;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !query.next())
        return false;
    if (query.value(0).toInt() == 0)
        return createTables();
    return query.exec(QStringLiteral("SELECT value FROM info WHERE key = 'format'")) && query.next()
           && query.value(0).toString() == format
           && query.exec(
               QStringLiteral("SELECT path, modified, size, row, sum FROM folders LIMIT 1"));
}

bool BrowseIndex::createTables()
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    return exec(query, QStringLiteral("CREATE TABLE info (key TEXT PRIMARY KEY, value TEXT)"))
           && exec(query, QStringLiteral("CREATE TABLE folders (path TEXT PRIMARY KEY, modified "
                                         "INTEGER, size INTEGER, row BLOB, sum BLOB)"))
           && exec(query, QStringLiteral("INSERT INTO info VALUES ('format', '%1')").arg(format));
}

QHash<QString, BrowseIndex::Entry>
BrowseIndex::entriesBelow(const QString &directory,
                          const std::function<void(const QVector<BrowseRow> &)> &firstRows)
{
    constexpr int firstRowCount = 200;
    QVector<BrowseRow> first;
    QHash<QString, Entry> entries;
    if (!m_open)
        return entries;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    // '0' follows '/': the range holds exactly the paths below the folder.
    query.prepare(QStringLiteral("SELECT path, modified, size, row, sum FROM folders WHERE path = "
                                 "? OR (path > ? AND path < ?)"));
    query.addBindValue(directory);
    query.addBindValue(QString(directory + QLatin1Char('/')));
    query.addBindValue(QString(directory + QLatin1Char('0')));
    if (!query.exec()) {
        qCWarning(logDataIo) << "browse index:" << query.lastError().text();
        return entries;
    }
    int untrusted = 0;
    while (query.next()) {
        const QByteArray bytes = query.value(3).toByteArray();
        Entry entry{query.value(1).toLongLong(), query.value(2).toLongLong(), {}};
        QDataStream stream(bytes);
        stream.setVersion(QDataStream::Qt_5_15);
        stream >> entry.row;
        if (checkSum(bytes) != query.value(4).toByteArray() || stream.status() != QDataStream::Ok
            || !stream.atEnd()) {
            ++untrusted; // read again from its folder
            continue;
        }
        entry.row.folder = query.value(0).toString();
        entries.insert(entry.row.folder, entry);
        if (firstRows && first.size() < firstRowCount) {
            first << entry.row;
            if (first.size() == firstRowCount)
                firstRows(first);
        }
    }
    if (firstRows && first.size() < firstRowCount)
        firstRows(first);
    if (untrusted > 0)
        qCWarning(logDataIo) << "browse index:" << untrusted << "damaged rows ignored";
    return entries;
}

void BrowseIndex::store(const QVector<Entry> &entries)
{
    if (!m_open || entries.isEmpty())
        return;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    db.transaction();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO folders VALUES (?, ?, ?, ?, ?)"));
    for (const Entry &entry : entries) {
        const QByteArray bytes = encoded(entry.row);
        query.addBindValue(entry.row.folder);
        query.addBindValue(entry.modified);
        query.addBindValue(entry.size);
        query.addBindValue(bytes);
        query.addBindValue(checkSum(bytes));
        if (!query.exec()) {
            qCWarning(logDataIo) << "browse index:" << query.lastError().text();
            db.rollback();
            return;
        }
    }
    db.commit();
}

void BrowseIndex::remove(const QStringList &folders)
{
    if (!m_open || folders.isEmpty())
        return;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    db.transaction();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("DELETE FROM folders WHERE path = ?"));
    for (const QString &folder : folders) {
        query.addBindValue(folder);
        query.exec();
    }
    db.commit();
}
