#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <deque>

class QTcpSocket;

// One browser connection to the preview server, watched before Qt's request parser reads it.
// Qt's parser keeps a request head however long it grows, answers whatever Host a request names
// and never closes a connection itself; so every head is read here first, as it arrives: one
// longer than kMaxHead is answered "431" and the connection closed, without the parser or the
// socket's buffer taking more of it; what each head says about its Host and the connection's end
// is kept for its answer; a connection on which nothing moves for the idle time is closed.
class PreviewConnection : public QObject {
  public:
    static constexpr qsizetype kMaxHead = 16 * 1024;
    // The most the socket takes from the system at a time while a head is looked at.
    static constexpr qint64 kReadBuffer = 64 * 1024;

    // What a request head says that Qt's parser does not tell.
    struct Head {
        // Exactly one Host, naming this server as a browser on this computer does:
        // "127.0.0.1:PORT" or "localhost:PORT". A page from elsewhere whose name was rebound to
        // 127.0.0.1 names its own host, so it gets nothing.
        bool hostAllowed = false;
        // HTTP/1.0 without "Connection: keep-alive", or "Connection: close".
        bool closeAfter = true;
    };

    // Watches `socket`, whose child it becomes; must be made before anything else connects to
    // the socket's readyRead, so its look comes first.
    PreviewConnection(QTcpSocket& socket, quint16 port, std::chrono::milliseconds idle);

    // The connection watching `socket`, or null.
    static PreviewConnection* of(const QTcpSocket& socket);
    static Head readHead(const QByteArray& head, quint16 port);
    // The head of the request about to be answered (heads are answered in the order they came).
    Head takeHead();

  private:
    void inspect();
    void take(char byte);
    void refuseLongHead();
    void closeIdle();

    QTcpSocket& m_socket;
    quint16 m_port;
    QByteArray m_head;
    std::deque<Head> m_heads;
    QTimer m_idle;
    bool m_refused = false;
};
