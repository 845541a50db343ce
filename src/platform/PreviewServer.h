#pragma once

#include <QList>
#include <QString>
#include <chrono>
#include <memory>

class QHttpServerRequest;
class QTcpSocket;

// A small web server on this computer only (127.0.0.1), so a browser can show the local test page
// the way a web site would: browsers refuse to run the Flash emulator, and often the player's own
// requests, from file:// pages. It serves regular files below a few fixed folders, read-only,
// never a listing, with byte ranges for video; anything else is "not found".
// Only requests naming it as "127.0.0.1:PORT" or "localhost:PORT" are answered (421 otherwise):
// a hostile page whose own name a DNS server rebinds to 127.0.0.1 must not read the scratch
// folder. A request head is at most 16 KiB (431, and the connection closed); a connection idle
// for the idle time is closed; "Connection: close" and HTTP/1.0 close after the answer.
class PreviewServer {
  public:
    // Requests whose path starts with `prefix` ("/" or "/ruffle/") are answered from `folder`.
    // The longest matching prefix wins.
    struct Root {
        QString prefix;
        QString folder;
    };

    explicit PreviewServer(QList<Root> roots);
    ~PreviewServer();
    PreviewServer(const PreviewServer&) = delete;
    PreviewServer& operator=(const PreviewServer&) = delete;

    static constexpr std::chrono::milliseconds kIdleTimeout{15000};

    // For the next start: how long a connection on which nothing moves is kept.
    void setIdleTimeout(std::chrono::milliseconds idle) { m_idle = idle; }
    // Starts listening at a free port, once; the port, or 0 when no port could be had.
    quint16 start();
    quint16 port() const { return m_port; }
    // The address of `path` (below the "/" root) for a browser: http://127.0.0.1:PORT/path.
    QString address(const QString& path) const;

    // The file a request path names (already percent-decoded), or an empty text when the path is
    // refused: a ".." or "." segment, a backslash or control character, a file outside its
    // folder once links are followed, a folder, or no such file.
    QString fileFor(const QString& requestPath) const;
    static QByteArray mimeTypeOf(const QString& fileName);

    // Answers one request on `socket`; bodies are sent in pieces as the socket takes them, and
    // the connection is closed after the answer when its head asked for that.
    void answer(const QHttpServerRequest& request, QTcpSocket& socket) const;

  private:
    class Listener;
    class Acceptor;

    QList<Root> m_roots;
    std::chrono::milliseconds m_idle = kIdleTimeout;
    std::unique_ptr<Listener> m_listener;
    quint16 m_port = 0;
};
