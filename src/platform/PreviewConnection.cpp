#include "platform/PreviewConnection.h"

#include <QTcpSocket>

namespace {

bool ended(const QByteArray& head) {
    return head.endsWith("\r\n\r\n") || head.endsWith("\n\n");
}

}  // namespace

PreviewConnection::PreviewConnection(QTcpSocket& socket, quint16 port,
                                     std::chrono::milliseconds idle)
    : QObject(&socket), m_socket(socket), m_port(port) {
    socket.setReadBufferSize(kReadBuffer);
    m_head.reserve(kMaxHead);
    m_idle.setSingleShot(true);
    m_idle.setInterval(idle);
    connect(&m_idle, &QTimer::timeout, this, &PreviewConnection::closeIdle);
    connect(&socket, &QTcpSocket::readyRead, this, &PreviewConnection::inspect);
    connect(&socket, &QTcpSocket::bytesWritten, &m_idle, qOverload<>(&QTimer::start));
    m_idle.start();
}

PreviewConnection* PreviewConnection::of(const QTcpSocket& socket) {
    for (QObject* child : socket.children())
        if (auto* connection = dynamic_cast<PreviewConnection*>(child))
            return connection;
    return nullptr;
}

PreviewConnection::Head PreviewConnection::readHead(const QByteArray& head, quint16 port) {
    const QList<QByteArray> lines = head.trimmed().split('\n');
    const bool http11 = lines.value(0).trimmed().endsWith("HTTP/1.1");
    const QByteArray suffix = ':' + QByteArray::number(port);
    bool close = false;
    bool keepAlive = false;
    bool hostAllowed = false;
    int hosts = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray name = lines[i].left(colon).trimmed().toLower();
        const QByteArray value = lines[i].mid(colon + 1).trimmed().toLower();
        if (name == "host") {
            ++hosts;
            hostAllowed = value == "127.0.0.1" + suffix || value == "localhost" + suffix;
        } else if (name == "connection") {
            for (const QByteArray& token : value.split(',')) {
                close = close || token.trimmed() == "close";
                keepAlive = keepAlive || token.trimmed() == "keep-alive";
            }
        }
    }
    return {hostAllowed && hosts == 1, close || (!http11 && !keepAlive)};
}

PreviewConnection::Head PreviewConnection::takeHead() {
    if (m_heads.empty())
        return {};
    const Head head = m_heads.front();
    m_heads.pop_front();
    return head;
}

// Runs before the parser's own slot, on the same bytes, which the parser then reads.
void PreviewConnection::inspect() {
    m_idle.start();
    const QByteArray bytes = m_socket.peek(m_socket.bytesAvailable());
    if (m_refused) {
        m_socket.skip(bytes.size());
        return;
    }
    for (const char byte : bytes) {
        take(byte);
        if (m_refused) {
            m_socket.skip(m_socket.bytesAvailable());
            return;
        }
    }
}

void PreviewConnection::take(char byte) {
    if (m_head.isEmpty() && (byte == '\r' || byte == '\n'))
        return;  // blank lines between requests
    if (m_head.size() == kMaxHead) {
        refuseLongHead();
        return;
    }
    m_head.append(byte);
    if (!ended(m_head))
        return;
    m_heads.push_back(readHead(m_head, m_port));
    m_head.clear();
}

// The parser gets none of it; what still comes is read and dropped until the connection is
// closed, so neither side's buffers fill.
void PreviewConnection::refuseLongHead() {
    m_refused = true;
    disconnect(&m_socket, &QTcpSocket::readyRead, nullptr, nullptr);
    connect(&m_socket, &QTcpSocket::readyRead, this, &PreviewConnection::inspect);
    const QByteArray text = "Request head longer than 16 KiB\n";
    m_socket.write(
        "HTTP/1.1 431 Request Header Fields Too Large\r\nContent-Type: text/plain\r\n"
        "Connection: close\r\nContent-Length: " +
        QByteArray::number(text.size()) + "\r\n\r\n" + text);
    m_socket.disconnectFromHost();
}

void PreviewConnection::closeIdle() {
    // An answer the browser stopped reading would keep a graceful close waiting for ever.
    if (m_socket.bytesToWrite() > 0)
        m_socket.abort();
    else
        m_socket.disconnectFromHost();
}
