#include "ScriptedHttpServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

ScriptedHttpServer::Reply ScriptedHttpServer::ok(const QByteArray& body)
{
    return withStatus("HTTP/1.1 200 OK", body);
}

ScriptedHttpServer::Reply ScriptedHttpServer::withStatus(const QByteArray& statusLine, const QByteArray& body,
                                                         bool withLength)
{
    Reply reply;
    reply.head = statusLine + "\r\n";
    if (withLength)
        reply.head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    reply.body = body;
    return reply;
}

ScriptedHttpServer::ScriptedHttpServer(QObject* parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            auto pending = std::make_shared<QByteArray>();
            connect(socket, &QTcpSocket::readyRead, this, [this, socket, pending] {
                *pending += socket->readAll();
                const qsizetype end = pending->indexOf("\r\n\r\n");
                if (end < 0)
                    return;
                const QByteArray head = pending->left(end + 4);
                pending->clear();
                requests << head;
                const QByteArray path = head.split(' ').value(1);
                serve(socket, m_scripts.value(path, withStatus("HTTP/1.1 404 Not Found", "no such file")));
            });
        }
    });
}

bool ScriptedHttpServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

QString ScriptedHttpServer::url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
}

void ScriptedHttpServer::script(const QByteArray& path, const Reply& reply)
{
    m_scripts.insert(path, reply);
}

QString ScriptedHttpServer::deadAddress(const QString& path)
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path);
}

void ScriptedHttpServer::serve(QTcpSocket* socket, const Reply& reply)
{
    if (reply.silent)
        return;
    // A drop is an early end: the connection closes after fewer body bytes than announced.
    const qint64 sent =
        reply.dropAfter >= 0 ? qMin<qint64>(reply.body.size(), reply.dropAfter) : reply.body.size();
    const qint64 beforePause = reply.pauseAfter >= 0 ? qMin(sent, reply.pauseAfter) : sent;
    const QPointer<QTcpSocket> guarded(socket);
    QTimer::singleShot(reply.delayMs, this, [guarded, reply, sent, beforePause] {
        if (!guarded)
            return;
        guarded->write(reply.head + "Connection: close\r\n\r\n");
        guarded->write(reply.body.left(beforePause));
        QTimer::singleShot(reply.pauseMs, guarded, [guarded, reply, sent, beforePause] {
            guarded->write(reply.body.mid(beforePause, sent - beforePause));
            guarded->disconnectFromHost();
        });
    });
}
