#pragma once

#include <QString>

#include "convert/ffmpeg/AvPointers.h"

// The Flash video a copy is made from, opened read-only: its picture and sound streams and how
// far a packet lies into it. Only Flash and MP4-family files are taken (the choices the Flash
// file chooser offers); FFmpeg would otherwise make a "video" of a picture or a text file.
class SourceVideo {
  public:
    // Throws ConversionError naming the file when it cannot be read as a video.
    explicit SourceVideo(const QString& path);

    AVFormatContext* context() const { return m_input.get(); }
    const QString& path() const { return m_path; }
    // -1 when the file has no stream of that kind.
    int videoStream() const { return m_video; }
    int audioStream() const { return m_audio; }

    // How far into the file `packet` lies, from 0 to 1: by its time when the file tells its
    // duration, otherwise by the bytes read so far.
    double fractionAt(const AVPacket& packet) const;

  private:
    QString m_path;
    av::Input m_input;
    int m_video = -1;
    int m_audio = -1;
};
