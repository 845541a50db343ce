#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include "LoopbackHttp.h"
#include "TestFiles.h"
#include "platform/ByteRange.h"
#include "platform/PreviewServer.h"
#include "platform/TextFile.h"

// The loopback server of the local preview, on a tree of its own: a scratch folder with pages,
// videos and links, the emulator's folder, and a secret file beside them that must never be
// served.
class PreviewServerTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void byteRanges_data();
    void byteRanges();
    void requestPaths_data();
    void requestPaths();
    void answers_data();
    void answers();
    void largeVideoArrivesWhole();
    void browserHangingUpMidVideo();
    void listensOnlyOnTheLoopbackAddress();
    void answersOnlyItsOwnName_data();
    void answersOnlyItsOwnName();
    void longRequestHeadIsRefused_data();
    void longRequestHeadIsRefused();
    void connectionEnds_data();
    void connectionEnds();
    void idleConnectionIsClosed();

  private:
    QString scratch() const { return m_dir->filePath("temp"); }
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PreviewServer> m_server;
    QByteArray m_video;
};

void PreviewServerTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QDir root(m_dir->path());
    QVERIFY(root.mkpath("temp/sub") && root.mkpath("app/ruffle"));
    m_video = QByteArray("FLV\x01\x05", 5);
    for (int i = 0; m_video.size() < 5000; ++i)
        m_video += char(i * 31);
    TextFile::writeBytes(scratch() + "/do-not-upload.html", "<html>page</html>");
    TextFile::writeBytes(scratch() + "/clip.flv", m_video);
    TextFile::writeBytes(scratch() + "/sub/script.js", "var a;");
    TextFile::writeBytes(scratch() + "/Caf\u00e9 clip.mp4", "mp4");
    TextFile::writeBytes(m_dir->filePath("app/ruffle/ruffle.js"), "ruffle");
    TextFile::writeBytes(m_dir->filePath("app/ruffle/core.wasm"), "\0asm");
    TextFile::writeBytes(m_dir->filePath("secret.txt"), "secret");
    QVERIFY(QFile::link(m_dir->filePath("secret.txt"), scratch() + "/out.html"));
    QVERIFY(QFile::link("clip.flv", scratch() + "/same.flv"));
    QVERIFY(QFile::link(m_dir->path(), scratch() + "/up"));
    m_server = std::make_unique<PreviewServer>(
        QList<PreviewServer::Root>{{"/", scratch()}, {"/ruffle/", m_dir->filePath("app/ruffle")}});
    QVERIFY(m_server->start() != 0);
}

void PreviewServerTest::byteRanges_data() {
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("kind");
    QTest::addColumn<qint64>("first");
    QTest::addColumn<qint64>("last");
    const int whole = int(ByteRange::Kind::Whole), part = int(ByteRange::Kind::Part),
              none = int(ByteRange::Kind::Unsatisfiable);
    QTest::newRow("no header") << QByteArray() << 100LL << whole << 0LL << -1LL;
    QTest::newRow("from the start") << QByteArray("bytes=0-") << 100LL << part << 0LL << 99LL;
    QTest::newRow("open end") << QByteArray("bytes=40-") << 100LL << part << 40LL << 99LL;
    QTest::newRow("closed") << QByteArray("bytes=10-19") << 100LL << part << 10LL << 19LL;
    QTest::newRow("end past the file")
        << QByteArray("bytes=90-500") << 100LL << part << 90LL << 99LL;
    QTest::newRow("last bytes") << QByteArray("bytes=-30") << 100LL << part << 70LL << 99LL;
    QTest::newRow("more last bytes than the file")
        << QByteArray("bytes=-300") << 100LL << part << 0LL << 99LL;
    QTest::newRow("start at the size") << QByteArray("bytes=100-") << 100LL << none << 0LL << -1LL;
    QTest::newRow("start past the size")
        << QByteArray("bytes=500-600") << 100LL << none << 0LL << -1LL;
    QTest::newRow("no last bytes") << QByteArray("bytes=-0") << 100LL << none << 0LL << -1LL;
    QTest::newRow("end before start") << QByteArray("bytes=20-10") << 100LL << whole << 0LL << -1LL;
    QTest::newRow("several ranges") << QByteArray("bytes=0-1,5-9") << 100LL << whole << 0LL << -1LL;
    QTest::newRow("other unit") << QByteArray("items=0-1") << 100LL << whole << 0LL << -1LL;
    QTest::newRow("negative") << QByteArray("bytes=-5-10") << 100LL << whole << 0LL << -1LL;
    QTest::newRow("not a number") << QByteArray("bytes=a-b") << 100LL << whole << 0LL << -1LL;
    QTest::newRow("huge") << QByteArray("bytes=99999999999999999999-") << 100LL << whole << 0LL
                          << -1LL;
    QTest::newRow("no dash") << QByteArray("bytes=5") << 100LL << whole << 0LL << -1LL;
}

void PreviewServerTest::byteRanges() {
    QFETCH(QByteArray, header);
    QFETCH(qint64, size);
    const ByteRange range = ByteRange::parse(header, size);
    QTEST(int(range.kind), "kind");
    if (range.kind == ByteRange::Kind::Part) {
        QTEST(range.first, "first");
        QTEST(range.last, "last");
    }
}

void PreviewServerTest::requestPaths_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("file");  // below the test folder; empty when refused
    QTest::newRow("page") << "/do-not-upload.html"
                          << "temp/do-not-upload.html";
    QTest::newRow("in a subfolder") << "/sub/script.js"
                                    << "temp/sub/script.js";
    QTest::newRow("beyond ASCII, with a blank") << "/Caf\u00e9 clip.mp4"
                                                << "temp/Caf\u00e9 clip.mp4";
    QTest::newRow("emulator") << "/ruffle/core.wasm"
                              << "app/ruffle/core.wasm";
    QTest::newRow("link inside the folder") << "/same.flv"
                                            << "temp/clip.flv";
    QTest::newRow("parent") << "/../secret.txt"
                            << "";
    QTest::newRow("parent from a subfolder") << "/sub/../../secret.txt"
                                             << "";
    QTest::newRow("parent from the emulator") << "/ruffle/../../secret.txt"
                                              << "";
    QTest::newRow("current folder segment") << "/./do-not-upload.html"
                                            << "";
    QTest::newRow("absolute") << "//" + m_dir->filePath("secret.txt") << "";
    QTest::newRow("backslash") << "/..\\secret.txt"
                               << "";
    QTest::newRow("NUL") << QStringLiteral("/do-not-upload.html") + QChar(0) + ".flv"
                         << "";
    QTest::newRow("link out of the folder") << "/out.html"
                                            << "";
    QTest::newRow("link to a folder outside") << "/up/secret.txt"
                                              << "";
    QTest::newRow("folder") << "/sub"
                            << "";
    QTest::newRow("root") << "/"
                          << "";
    QTest::newRow("missing") << "/missing.html"
                             << "";
    QTest::newRow("emulator folder without its slash") << "/ruffle"
                                                       << "";
}

void PreviewServerTest::requestPaths() {
    QFETCH(QString, path);
    QFETCH(QString, file);
    const QString expected =
        file.isEmpty() ? QString() : QFileInfo(m_dir->filePath(file)).canonicalFilePath();
    QCOMPARE(m_server->fileFor(path), expected);
}

void PreviewServerTest::answers_data() {
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QByteArray>("target");  // as sent, percent-encoding included
    QTest::addColumn<QByteArray>("headers");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("body");  // "(video N-M)" for those bytes of the test video
    QTest::addColumn<QByteArray>("contentRange");
    const QByteArray none;
    QTest::newRow("page") << QByteArray("GET") << QByteArray("/do-not-upload.html") << none << 200
                          << QByteArray("text/html") << QByteArray("<html>page</html>") << none;
    QTest::newRow("encoded name") << QByteArray("GET") << QByteArray("/Caf%C3%A9%20clip.mp4")
                                  << none << 200 << QByteArray("video/mp4") << QByteArray("mp4")
                                  << none;
    QTest::newRow("emulator script")
        << QByteArray("GET") << QByteArray("/ruffle/ruffle.js") << none << 200
        << QByteArray("text/javascript") << QByteArray("ruffle") << none;
    QTest::newRow("whole video") << QByteArray("GET") << QByteArray("/clip.flv") << none << 200
                                 << QByteArray("video/x-flv") << QByteArray("(video 0-4999)")
                                 << none;
    QTest::newRow("part of the video")
        << QByteArray("GET") << QByteArray("/clip.flv") << QByteArray("Range: bytes=100-199\r\n")
        << 206 << QByteArray("video/x-flv") << QByteArray("(video 100-199)")
        << QByteArray("bytes 100-199/5000");
    QTest::newRow("rest of the video")
        << QByteArray("GET") << QByteArray("/clip.flv") << QByteArray("Range: bytes=4990-\r\n")
        << 206 << QByteArray("video/x-flv") << QByteArray("(video 4990-4999)")
        << QByteArray("bytes 4990-4999/5000");
    QTest::newRow("range past the video")
        << QByteArray("GET") << QByteArray("/clip.flv") << QByteArray("Range: bytes=9000-\r\n")
        << 416 << QByteArray("text/plain") << QByteArray("Outside the file\n")
        << QByteArray("bytes */5000");
    QTest::newRow("encoded parent")
        << QByteArray("GET") << QByteArray("/%2e%2e/secret.txt") << none << 404
        << QByteArray("text/plain") << QByteArray("Not found\n") << none;
    QTest::newRow("encoded slash and parent")
        << QByteArray("GET") << QByteArray("/sub%2f..%2f..%2fsecret.txt") << none << 404
        << QByteArray("text/plain") << QByteArray("Not found\n") << none;
    QTest::newRow("parent through the emulator")
        << QByteArray("GET") << QByteArray("/ruffle/%2E%2E/%2E%2E/secret.txt") << none << 404
        << QByteArray("text/plain") << QByteArray("Not found\n") << none;
    QTest::newRow("link out") << QByteArray("GET") << QByteArray("/out.html") << none << 404
                              << QByteArray("text/plain") << QByteArray("Not found\n") << none;
    QTest::newRow("no listing") << QByteArray("GET") << QByteArray("/") << none << 404
                                << QByteArray("text/plain") << QByteArray("Not found\n") << none;
    QTest::newRow("read-only") << QByteArray("PUT") << QByteArray("/do-not-upload.html")
                               << QByteArray("Content-Length: 1\r\n\r\nx") << 405 << none << none
                               << none;
}

void PreviewServerTest::answers() {
    QFETCH(QByteArray, method);
    QFETCH(QByteArray, target);
    QFETCH(QByteArray, headers);
    QFETCH(QByteArray, body);
    const HttpAnswer answer = httpRequest(m_server->port(), method, target, headers);
    QTEST(answer.status, "status");
    QFETCH(QByteArray, type);
    if (!type.isEmpty())
        QCOMPARE(answer.headers.value("content-type"), type);
    QTEST(answer.headers.value("content-range"), "contentRange");
    if (body.startsWith("(video ")) {
        const QList<QByteArray> span = body.mid(7).chopped(1).split('-');
        const qint64 first = span[0].toLongLong(), last = span[1].toLongLong();
        body = m_video.mid(first, last - first + 1);
    }
    if (answer.status != 405)
        QCOMPARE(answer.body, body);
    QCOMPARE(TestFiles::readFile(scratch() + "/do-not-upload.html"),
             QByteArray("<html>page</html>"));
}

// Tens of megabytes go through in pieces, not through memory in one block, and arrive whole.
void PreviewServerTest::largeVideoArrivesWhole() {
    QByteArray big(24 << 20, Qt::Uninitialized);
    for (qsizetype i = 0; i < big.size(); ++i)
        big[i] = char((i * 7) ^ (i >> 13));
    TextFile::writeBytes(scratch() + "/big.mp4", big);
    const HttpAnswer whole = httpRequest(m_server->port(), "GET", "/big.mp4");
    QCOMPARE(whole.status, 200);
    QVERIFY(whole.body == big);
    const HttpAnswer tail =
        httpRequest(m_server->port(), "GET", "/big.mp4", "Range: bytes=20000000-\r\n");
    QCOMPARE(tail.status, 206);
    QVERIFY(tail.body == big.mid(20000000));
}

// Browsers drop the parts of a video they no longer need in the middle of the answer; the server
// must let go of that answer and go on serving.
void PreviewServerTest::browserHangingUpMidVideo() {
    TextFile::writeBytes(scratch() + "/big.mp4", QByteArray(16 << 20, 'v'));
    for (int i = 0; i < 3; ++i) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_server->port());
        socket.write("GET /big.mp4 HTTP/1.1\r\nHost: 127.0.0.1:" +
                     QByteArray::number(m_server->port()) + "\r\n\r\n");
        QTRY_VERIFY(socket.bytesAvailable() > 100000);
        socket.abort();
        QTest::qWait(50);
    }
    QCOMPARE(httpRequest(m_server->port(), "GET", "/do-not-upload.html").body,
             QByteArray("<html>page</html>"));
}

void PreviewServerTest::listensOnlyOnTheLoopbackAddress() {
    QCOMPARE(m_server->address("do-not-upload.html"),
             QStringLiteral("http://127.0.0.1:%1/do-not-upload.html").arg(m_server->port()));
    // 127.0.0.2 reaches this computer too, but not a server bound to 127.0.0.1 alone.
    QTcpSocket other;
    other.connectToHost(QHostAddress("127.0.0.2"), m_server->port());
    QVERIFY(!other.waitForConnected(2000));
}

namespace {

// What came back on a raw connection: everything the server wrote, and whether it closed.
struct RawExchange {
    QByteArray received;
    bool closed = false;
};

// Sends `request` as it stands and reads until the server closes the connection, a whole answer
// has come (then waits `linger` ms for a close), or 10 s pass.
RawExchange exchange(quint16 port, const QByteArray& request, int linger = 300) {
    // The server runs in this thread: waiting goes through the event loop (QTest::qWait).
    QTcpSocket socket;
    RawExchange result;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] { result.received += socket.readAll(); });
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.write(request);
    const auto open = [&] { return socket.state() != QAbstractSocket::UnconnectedState; };
    const auto whole = [&] {
        HttpAnswer answer;
        return parseAnswer(result.received, answer);
    };
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000 && open() && !whole())
        QTest::qWait(10);
    clock.restart();
    while (clock.elapsed() < linger && open())
        QTest::qWait(10);
    result.closed = !open();
    QObject::disconnect(&socket, nullptr, nullptr, nullptr);
    return result;
}

int statusOf(const QByteArray& answer) {
    return answer.startsWith("HTTP/1.1 ") ? answer.mid(9, 3).toInt() : 0;
}

QByteArray get(const QByteArray& version, const QByteArray& headers) {
    return "GET /do-not-upload.html " + version + "\r\n" + headers + "\r\n";
}

}  // namespace

// A page elsewhere whose name a DNS server rebinds to 127.0.0.1 reaches this port with its own
// name in Host; only this server's own names are answered.
void PreviewServerTest::answersOnlyItsOwnName_data() {
    QTest::addColumn<QByteArray>("hosts");  // PORT stands for the server's port
    QTest::addColumn<int>("status");
    QTest::newRow("address and port") << QByteArray("Host: 127.0.0.1:PORT\r\n") << 200;
    QTest::newRow("localhost and port") << QByteArray("Host: localhost:PORT\r\n") << 200;
    QTest::newRow("any letter case") << QByteArray("host: LocalHost:PORT\r\n") << 200;
    QTest::newRow("without the port") << QByteArray("Host: 127.0.0.1\r\n") << 421;
    QTest::newRow("another port") << QByteArray("Host: 127.0.0.1:1\r\n") << 421;
    QTest::newRow("rebound name") << QByteArray("Host: attacker.example:PORT\r\n") << 421;
    QTest::newRow("rebound name without port") << QByteArray("Host: attacker.example\r\n") << 421;
    QTest::newRow("own name as a prefix") << QByteArray("Host: 127.0.0.1:PORT.example\r\n") << 421;
    QTest::newRow("missing") << QByteArray() << 421;
    QTest::newRow("two hosts") << QByteArray("Host: 127.0.0.1:PORT\r\nHost: attacker.example\r\n")
                               << 421;
}

void PreviewServerTest::answersOnlyItsOwnName() {
    QFETCH(QByteArray, hosts);
    QFETCH(int, status);
    hosts.replace("PORT", QByteArray::number(m_server->port()));
    const RawExchange got = exchange(m_server->port(), get("HTTP/1.1", hosts));
    QCOMPARE(statusOf(got.received), status);
    QCOMPARE(got.received.contains("<html>page</html>"), status == 200);
}

// A head is read no further than 16 KiB: the server answers 431 and closes, rather than keep
// what a client sends (an endless head once grew the server's memory with it).
void PreviewServerTest::longRequestHeadIsRefused_data() {
    QTest::addColumn<int>("headerBytes");
    QTest::addColumn<int>("status");  // 0: closed, whatever arrived
    QTest::newRow("15 KiB of headers") << 15 * 1024 << 200;
    QTest::newRow("20 KiB of headers") << 20 * 1024 << 431;
    QTest::newRow("1 MiB of headers") << (1 << 20) << 0;
}

void PreviewServerTest::longRequestHeadIsRefused() {
    QFETCH(int, headerBytes);
    QFETCH(int, status);
    const QByteArray host = "Host: 127.0.0.1:" + QByteArray::number(m_server->port()) + "\r\n";
    // The head is never ended, so only a server that counts closes the connection.
    const QByteArray filler = "X-Filler: " + QByteArray(headerBytes, 'f') + "\r\n";
    const QByteArray request =
        status == 200 ? get("HTTP/1.1", host + filler) : "GET / HTTP/1.1\r\n" + host + filler;
    const RawExchange got = exchange(m_server->port(), request);
    if (status == 200) {
        QCOMPARE(statusOf(got.received), 200);
        return;
    }
    QVERIFY2(got.closed, "the connection stayed open");
    if (status != 0 || !got.received.isEmpty())
        QCOMPARE(statusOf(got.received), 431);
    // The server goes on serving.
    QCOMPARE(httpRequest(m_server->port(), "GET", "/do-not-upload.html").status, 200);
}

// HTTP/1.1 keeps the connection for the next request unless it says "close"; HTTP/1.0 closes
// unless it says "keep-alive".
void PreviewServerTest::connectionEnds_data() {
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<QByteArray>("connection");
    QTest::addColumn<bool>("closes");
    QTest::newRow("1.1") << QByteArray("HTTP/1.1") << QByteArray() << false;
    QTest::newRow("1.1 close") << QByteArray("HTTP/1.1") << QByteArray("close") << true;
    QTest::newRow("1.1 close among tokens")
        << QByteArray("HTTP/1.1") << QByteArray("Keep-Alive, Close") << true;
    QTest::newRow("1.0") << QByteArray("HTTP/1.0") << QByteArray() << true;
    QTest::newRow("1.0 keep-alive") << QByteArray("HTTP/1.0") << QByteArray("keep-alive") << false;
    QTest::newRow("1.0 close") << QByteArray("HTTP/1.0") << QByteArray("close") << true;
}

void PreviewServerTest::connectionEnds() {
    QFETCH(QByteArray, version);
    QFETCH(QByteArray, connection);
    QFETCH(bool, closes);
    QByteArray headers = "Host: 127.0.0.1:" + QByteArray::number(m_server->port()) + "\r\n";
    if (!connection.isEmpty())
        headers += "Connection: " + connection + "\r\n";
    // A video as well as a short page: the close must wait for the last piece of the file.
    for (const QByteArray& target : {QByteArray("/do-not-upload.html"), QByteArray("/clip.flv")}) {
        const QByteArray request = "GET " + target + ' ' + version + "\r\n" + headers + "\r\n";
        const RawExchange got = exchange(m_server->port(), request, 500);
        QCOMPARE(statusOf(got.received), 200);
        QCOMPARE(got.closed, closes);
        const QByteArray expected =
            target.endsWith(".flv") ? m_video : QByteArray("<html>page</html>");
        QVERIFY2(got.received.endsWith(expected), target.constData());
    }
}

void PreviewServerTest::idleConnectionIsClosed() {
    PreviewServer server({{"/", scratch()}});
    server.setIdleTimeout(std::chrono::milliseconds(200));
    QVERIFY(server.start() != 0);
    const QByteArray host = "Host: 127.0.0.1:" + QByteArray::number(server.port()) + "\r\n";
    // Silent from the start, half a head, and after a whole answer on a kept connection.
    for (const QByteArray& sent : {QByteArray(), QByteArray("GET /do-not-upload.html HTTP/1.1\r\n"),
                                   get("HTTP/1.1", host)}) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, server.port());
        QVERIFY(socket.waitForConnected(5000));
        socket.write(sent);
        QTRY_VERIFY_WITH_TIMEOUT(socket.state() == QAbstractSocket::UnconnectedState, 5000);
    }
}

QTEST_GUILESS_MAIN(PreviewServerTest)
#include "tst_PreviewServer.moc"
