#include "platform/PreviewServer.h"

#include <QAbstractHttpServer>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QHostAddress>
#include <QHttpServerRequest>
#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>

#include "platform/ByteRange.h"
#include "platform/FileSender.h"
#include "platform/PreviewConnection.h"

// Qt parses the requests; the answers are written here, so that a video goes out in large
// pieces as the socket takes them (Qt's own responder sends a device 512 bytes a turn).
class PreviewServer::Listener : public QAbstractHttpServer {
  public:
    explicit Listener(const PreviewServer& server) : m_server(server) {}

  protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override {
        m_server.answer(request, *socket);
        return true;
    }
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override {
        m_server.answer(request, *socket);
    }

  private:
    const PreviewServer& m_server;
};

// Makes each connection's socket itself, so that its PreviewConnection looks at the bytes before
// Qt's parser, which connects to the socket once it is handed over.
class PreviewServer::Acceptor : public QTcpServer {
  public:
    Acceptor(std::chrono::milliseconds idle, QObject* parent) : QTcpServer(parent), m_idle(idle) {}

  protected:
    void incomingConnection(qintptr descriptor) override {
        auto* socket = new QTcpSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
        new PreviewConnection(*socket, serverPort(), m_idle);
        addPendingConnection(socket);
    }

  private:
    std::chrono::milliseconds m_idle;
};

namespace {

bool safeSegment(const QString& segment) {
    if (segment == QLatin1String(".") || segment == QLatin1String(".."))
        return false;
    return std::none_of(segment.cbegin(), segment.cend(), [](QChar c) {
        return c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7f;
    });
}

// True when `path` lies inside `folder`, both already free of links.
bool inside(const QString& path, const QString& folder) {
    return path.startsWith(folder.endsWith(u'/') ? folder : folder + u'/');
}

using Headers = QList<std::pair<QByteArray, QByteArray>>;

void writeHead(QTcpSocket& socket, const QByteArray& status, const Headers& headers, qint64 length,
               bool close) {
    QByteArray head = "HTTP/1.1 " + status + "\r\n";
    for (const auto& [name, value] : headers)
        head += name + ": " + value + "\r\n";
    head += close ? "Connection: close\r\n" : "Connection: keep-alive\r\n";
    head += "Content-Length: " + QByteArray::number(length) + "\r\n\r\n";
    socket.write(head);
}

// A short answer; the connection is closed after it when `close`.
void writeText(QTcpSocket& socket, const QByteArray& status, const QByteArray& text, bool close,
               const Headers& extra = {}) {
    writeHead(socket, status, Headers{{"Content-Type", "text/plain"}} + extra, text.size(), close);
    socket.write(text);
    if (close)
        socket.disconnectFromHost();  // once the answer has gone out
}

}  // namespace

PreviewServer::PreviewServer(QList<Root> roots) : m_roots(std::move(roots)) {
    std::sort(m_roots.begin(), m_roots.end(),
              [](const Root& a, const Root& b) { return a.prefix.size() > b.prefix.size(); });
}

PreviewServer::~PreviewServer() = default;

quint16 PreviewServer::start() {
    if (m_listener)
        return m_port;
    m_listener = std::make_unique<Listener>(*this);
    auto* acceptor = new Acceptor(m_idle, m_listener.get());
    if (!acceptor->listen(QHostAddress::LocalHost, 0)) {
        m_listener.reset();
        return 0;
    }
    m_listener->bind(acceptor);
    m_port = acceptor->serverPort();
    return m_port;
}

QString PreviewServer::address(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_port).arg(path);
}

QString PreviewServer::fileFor(const QString& requestPath) const {
    for (const Root& root : m_roots) {
        if (!requestPath.startsWith(root.prefix))
            continue;
        const QStringList segments = requestPath.mid(root.prefix.size()).split(u'/');
        if (!std::all_of(segments.cbegin(), segments.cend(), safeSegment))
            return {};
        const QString folder = QFileInfo(root.folder).canonicalFilePath();
        const QFileInfo file(QDir(root.folder).filePath(segments.join(u'/')));
        const QString real = file.canonicalFilePath();
        if (folder.isEmpty() || real.isEmpty() || !inside(real, folder) ||
            !QFileInfo(real).isFile())
            return {};
        return real;
    }
    return {};
}

QByteArray PreviewServer::mimeTypeOf(const QString& fileName) {
    static const QHash<QString, QByteArray> types{
        {QStringLiteral("html"), "text/html"},
        {QStringLiteral("htm"), "text/html"},
        {QStringLiteral("js"), "text/javascript"},
        {QStringLiteral("css"), "text/css"},
        {QStringLiteral("xml"), "text/xml"},
        {QStringLiteral("txt"), "text/plain"},
        {QStringLiteral("json"), "application/json"},
        {QStringLiteral("swf"), "application/x-shockwave-flash"},
        {QStringLiteral("wasm"), "application/wasm"},
        {QStringLiteral("flv"), "video/x-flv"},
        {QStringLiteral("mp4"), "video/mp4"},
        {QStringLiteral("f4v"), "video/mp4"},
        {QStringLiteral("webm"), "video/webm"},
        {QStringLiteral("vtt"), "text/vtt"},
        {QStringLiteral("jpg"), "image/jpeg"},
        {QStringLiteral("jpeg"), "image/jpeg"},
        {QStringLiteral("png"), "image/png"},
        {QStringLiteral("gif"), "image/gif"},
    };
    return types.value(QFileInfo(fileName).suffix().toLower(), "application/octet-stream");
}

void PreviewServer::answer(const QHttpServerRequest& request, QTcpSocket& socket) const {
    PreviewConnection* connection = PreviewConnection::of(socket);
    const PreviewConnection::Head said =
        connection ? connection->takeHead() : PreviewConnection::Head{};
    if (!said.hostAllowed) {
        writeText(socket, "421 Misdirected Request",
                  "This server answers only to 127.0.0.1:" + QByteArray::number(m_port) + "\n",
                  true);
        return;
    }
    const bool head = request.method() == QHttpServerRequest::Method::Head;
    if (!head && request.method() != QHttpServerRequest::Method::Get) {
        // Closed: a body may follow, which this server never reads as such.
        writeText(socket, "405 Method Not Allowed", "Read only\n", true, {{"Allow", "GET, HEAD"}});
        return;
    }
    const bool close = said.closeAfter;
    const QString path = fileFor(request.url().path(QUrl::FullyDecoded));
    if (path.isEmpty()) {
        writeText(socket, "404 Not Found", "Not found\n", close);
        return;
    }
    const qint64 size = QFileInfo(path).size();
    const ByteRange range = ByteRange::parse(request.value("Range"), size);
    if (range.kind == ByteRange::Kind::Unsatisfiable) {
        writeText(socket, "416 Range Not Satisfiable", "Outside the file\n", close,
                  {{"Content-Range", "bytes */" + QByteArray::number(size)}});
        return;
    }
    const bool part = range.kind == ByteRange::Kind::Part;
    const qint64 first = part ? range.first : 0;
    const qint64 length = part ? range.length() : size;
    Headers headers{{"Content-Type", mimeTypeOf(path)},
                    {"Accept-Ranges", "bytes"},
                    {"Cache-Control", "no-cache"}};
    if (part)
        headers.append({"Content-Range", "bytes " + QByteArray::number(range.first) + '-' +
                                             QByteArray::number(range.last) + '/' +
                                             QByteArray::number(size)});
    writeHead(socket, part ? "206 Partial Content" : "200 OK", headers, length, close);
    if (head || length == 0) {
        if (close)
            socket.disconnectFromHost();
        return;
    }
    if (!FileSender::start(socket, path, first, length, close))
        socket.abort();  // the head promised a body that cannot come
}
