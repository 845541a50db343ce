#include "platform/FileSender.h"

namespace {

constexpr qint64 kPiece = 256 * 1024;
// Enough queued to keep a loopback connection busy between two turns of the event loop.
constexpr qint64 kQueued = 1024 * 1024;

}  // namespace

FileSender::FileSender(QTcpSocket& socket, const QString& path, qint64 length)
    : QObject(&socket), m_socket(&socket), m_file(path), m_left(length) {}

bool FileSender::start(QTcpSocket& socket, const QString& path, qint64 first, qint64 length) {
    auto* sender = new FileSender(socket, path, length);
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
    if (m_left == 0)
        deleteLater();
}
