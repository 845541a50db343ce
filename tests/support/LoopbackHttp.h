#pragma once

#include <QByteArray>
#include <QEventLoop>
#include <QMap>
#include <QTcpSocket>
#include <QTimer>

// A bare HTTP client for servers of this program on 127.0.0.1, written by hand so that a request
// goes out exactly as written (no client library tidies its path).
struct HttpAnswer {
    int status = 0;
    QMap<QByteArray, QByteArray> headers;  // names in lower case
    QByteArray body;
};

// Parses as much of `data` as has arrived; true once the whole answer is there.
inline bool parseAnswer(const QByteArray& data, HttpAnswer& answer) {
    const qsizetype end = data.indexOf("\r\n\r\n");
    if (end < 0)
        return false;
    const QList<QByteArray> lines = data.left(end).split('\n');
    answer.status = lines.value(0).split(' ').value(1).toInt();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        answer.headers.insert(lines[i].left(colon).trimmed().toLower(),
                              lines[i].mid(colon + 1).trimmed());
    }
    QByteArray rest = data.mid(end + 4);
    if (answer.headers.value("transfer-encoding") == "chunked") {
        answer.body.clear();
        for (;;) {
            const qsizetype lineEnd = rest.indexOf("\r\n");
            if (lineEnd < 0)
                return false;
            const qint64 size = rest.left(lineEnd).toLongLong(nullptr, 16);
            if (size == 0)
                return true;
            if (rest.size() < lineEnd + 2 + size + 2)
                return false;
            answer.body += rest.mid(lineEnd + 2, size);
            rest = rest.mid(lineEnd + 2 + size + 2);
        }
    }
    answer.body = rest;
    return rest.size() >= answer.headers.value("content-length", "0").toLongLong();
}

// Sends a request exactly as written (no client library tidies the path) and waits for the
// answer while the server, in this same thread, does its work.
inline HttpAnswer httpRequest(quint16 port, const QByteArray& method, const QByteArray& target,
                              const QByteArray& extraHeaders = {}) {
    QTcpSocket socket;
    QEventLoop loop;
    QByteArray received;
    HttpAnswer answer;
    const auto check = [&] {
        const bool complete =
            method == "HEAD" ? received.contains("\r\n\r\n") : parseAnswer(received, answer);
        if (complete || socket.state() == QAbstractSocket::UnconnectedState)
            loop.quit();
    };
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] {
        received += socket.readAll();
        check();
    });
    QObject::connect(&socket, &QTcpSocket::disconnected, check);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.write(method + ' ' + target + " HTTP/1.1\r\nHost: 127.0.0.1:" +
                 QByteArray::number(port) + "\r\n" + extraHeaders + "\r\n");
    loop.exec();
    QObject::disconnect(&socket, nullptr, nullptr, nullptr);  // the loop goes before the socket
    parseAnswer(received, answer);
    return answer;
}
