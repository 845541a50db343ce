#pragma once

#include <QString>
#include <vector>

#include "convert/ffmpeg/AvPointers.h"

struct Html5Encoding;

// The container of a copy, written to `path`; errors name `targetName`, the file the user will
// see. Streams are added first, then `begin` writes the header and `end` the index.
class CopyMuxer {
  public:
    CopyMuxer(const QString& path, const Html5Encoding& encoding, const QString& targetName);

    // Encoders must put their parameters in the stream's header when the container wants that.
    bool wantsGlobalHeader() const;
    AVStream& addStream();
    void begin();
    // Takes the packet's data, whose times are in its stream's time base. A packet without a
    // duration lasts until the next one of its stream; the last one as long as the one before.
    void write(AVPacket& packet);
    void end();

  private:
    QString cannotWrite() const;
    void fillDuration(AVPacket& packet);

    const Html5Encoding& m_encoding;
    QString m_targetName;
    av::Output m_output;
    // Per stream: the decode time of its last packet and how long that packet lasted.
    std::vector<int64_t> m_lastDts;
    std::vector<int64_t> m_lastDuration;
};
