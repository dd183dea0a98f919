#pragma once

// Library archives served over HTTP on 127.0.0.1.

#include "testfiles.h"

#include <KZip>
#include <QTcpServer>
#include <QTcpSocket>

namespace TestZip {

using Entries = QVector<QPair<QString, QByteArray>>;

// An uncompressed ZIP archive with the names exactly as given; a name ending in "/" is a folder.
inline QByteArray build(const Entries &entries)
{
    QByteArray archive;
    QBuffer buffer(&archive);
    KZip zip(&buffer);
    zip.setCompression(KZip::NoCompression);
    zip.open(QIODevice::WriteOnly);
    for (const auto &[name, data] : entries)
        name.endsWith(QLatin1Char('/')) ? zip.writeDir(name.chopped(1)) : zip.writeFile(name, data);
    zip.close();
    return archive;
}

// The first `count` real RRUFF spectra of the test data, named `prefix` + their own names.
inline Entries rruffSpectra(int count, const QString &prefix = QString())
{
    const QDir library(S(RAMAN_REPO_DATA_DIR "/rruff/library"));
    Entries entries;
    for (const QString &name :
         library.entryList({S("*.txt")}, QDir::Files, QDir::Name).mid(0, count)) {
        QFile file(library.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            entries.append({prefix + name, file.readAll()});
    }
    return entries;
}

} // namespace TestZip

using Entries = TestZip::Entries;

class LibraryServer : public QObject
{
public:
    struct Route
    {
        Route(int status = 404, QByteArray body = {}, QByteArray location = {}, int sendBytes = -1,
              bool stall = false)
            : status(status)
            , body(std::move(body))
            , location(std::move(location))
            , sendBytes(sendBytes)
            , stall(stall)
        {}
        int status;
        QByteArray body;
        QByteArray location; // for redirects
        int sendBytes;       // fewer than the body's length: the connection closes early
        bool stall;          // headers and half the body, then nothing
    };

    LibraryServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this]() {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket]() { serve(socket); });
        });
    }

    bool listen() { return m_server.listen(QHostAddress::LocalHost); }
    QString url(const QString &path) const
    {
        return S("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
    }
    void addRoute(const QByteArray &path, const Route &route) { m_routes.insert(path, route); }
    // The header blocks of all requests received.
    QVector<QByteArray> requests() const { return m_requests; }

private:
    void serve(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        const int end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QByteArray head = buffer.left(end);
        m_requests.append(head);
        const QByteArray path = head.split(' ').value(1);
        const Route route = m_routes.value(path, Route{404, "not here"});
        const char *reason = route.status == 200   ? "OK"
                             : route.status == 302 ? "Found"
                                                   : "Not Found";
        const QByteArray response
            = "HTTP/1.1 " + QByteArray::number(route.status) + ' ' + reason + "\r\nContent-Length: "
              + QByteArray::number(route.body.size()) + "\r\nConnection: close\r\n"
              + (route.location.isEmpty() ? QByteArray()
                                          : QByteArray("Location: " + route.location + "\r\n"))
              + "\r\n";
        const int sent = route.stall            ? route.body.size() / 2
                         : route.sendBytes >= 0 ? route.sendBytes
                                                : route.body.size();
        socket->write(response + route.body.left(sent));
        if (!route.stall)
            socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QMap<QByteArray, Route> m_routes;
    QMap<QTcpSocket *, QByteArray> m_buffers;
    QVector<QByteArray> m_requests;
};
