#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

// A small HTTP server on 127.0.0.1 for the network tests. Each path answers as its script says:
// the exact status line and headers, a body, a delay before answering, a pause in the middle of
// the body, or a connection dropped after some bytes. A path without a script gets a 404.
class ScriptedHttpServer final : public QObject
{
    Q_OBJECT
public:
    struct Reply
    {
        QByteArray head; // status line and header lines, each ending in CR LF
        QByteArray body;
        int delayMs = 0;        // before anything is sent
        bool silent = false;    // never answers at all
        qint64 dropAfter = -1;  // body bytes sent before the connection is dropped
        qint64 pauseAfter = -1; // body bytes sent before a pause
        int pauseMs = 0;
    };

    // "HTTP/1.1 200 OK" with a matching Content-Length.
    static Reply ok(const QByteArray& body);
    // The given status line, a matching Content-Length unless withLength is false, and the body.
    static Reply withStatus(const QByteArray& statusLine, const QByteArray& body = {},
                            bool withLength = true);

    explicit ScriptedHttpServer(QObject* parent = nullptr);
    bool listen();
    QString url(const QString& path) const;
    void script(const QByteArray& path, const Reply& reply);

    // The request heads received so far, oldest first.
    QList<QByteArray> requests;

    // A loopback address where nothing listens.
    static QString deadAddress(const QString& path);

private:
    void serve(QTcpSocket* socket, const Reply& reply);

    QTcpServer m_server;
    QHash<QByteArray, Reply> m_scripts;
};
