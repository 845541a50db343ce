#pragma once

#include <QFile>
#include <QObject>
#include <QPointer>
#include <QTcpSocket>

// Sends part of a file down a socket in pieces, each when the socket has room for it, so a video
// of a gigabyte never sits in memory and the program stays responsive meanwhile. It belongs to
// the socket: a browser that hangs up (as it does with the parts of a video it no longer needs)
// ends the sending with it.
class FileSender : public QObject {
  public:
    // Starts sending `length` bytes from `first`, then closes the connection when `close`;
    // false when the file cannot be read.
    static bool start(QTcpSocket& socket, const QString& path, qint64 first, qint64 length,
                      bool close = false);

  private:
    FileSender(QTcpSocket& socket, const QString& path, qint64 length, bool close);
    void pump();

    QPointer<QTcpSocket> m_socket;
    QFile m_file;
    qint64 m_left;
    bool m_close;
};
