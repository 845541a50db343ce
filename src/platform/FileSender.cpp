#include "platform/FileSender.h"

namespace {

constexpr qint64 kPiece = 256 * 1024;
// Enough queued to keep a loopback connection busy between two turns of the event loop.
constexpr qint64 kQueued = 1024 * 1024;

}  // namespace

FileSender::FileSender(QTcpSocket& socket, const QString& path, qint64 length, bool close)
    : QObject(&socket), m_socket(&socket), m_file(path), m_left(length), m_close(close) {}

bool FileSender::start(QTcpSocket& socket, const QString& path, qint64 first, qint64 length,
                       bool close) {
    auto* sender = new FileSender(socket, path, length, close);
    if (!sender->m_file.open(QIODevice::ReadOnly) || !sender->m_file.seek(first)) {
        delete sender;
        return false;
    }
    connect(&socket, &QTcpSocket::bytesWritten, sender, &FileSender::pump);
    sender->pump();
    return true;
}

void FileSender::pump() {
    while (m_socket && m_left > 0 && m_socket->bytesToWrite() < kQueued) {
        const QByteArray piece = m_file.read(qMin(kPiece, m_left));
        if (piece.isEmpty()) {  // the file was shortened meanwhile: the answer cannot be whole
            m_socket->abort();
            return;
        }
        m_socket->write(piece);
        m_left -= piece.size();
    }
    if (m_left > 0)
        return;
    // The last piece is queued: the socket closes once it has gone out.
    if (m_close && m_socket)
        m_socket->disconnectFromHost();
    deleteLater();
}
