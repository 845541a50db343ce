#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "convert/Html5Format.h"
#include "convert/SideFile.h"
#include "convert/ffmpeg/CopyMuxer.h"
#include "convert/ffmpeg/SourceVideo.h"
#include "convert/ffmpeg/StreamPipe.h"

class ProgressMeter;
struct Html5Encoding;

// One copy being made: the source, the side file and the container written into it, and a pipe
// for each stream the copy takes (the best picture and the best sound).
class CopyJob {
  public:
    CopyJob(const QString& source, const QString& target, Html5Format format);

    bool reencodes() const { return m_reencodes; }
    // Reads the whole source into the copy and gives the copy its target's name. False when the
    // progress callback cancelled it; the side file then goes with this job.
    bool run(ProgressMeter& meter);

  private:
    std::unique_ptr<StreamPipe> makePipe(const AVStream& stream);
    void send(AVPacket& packet);

    const Html5Encoding& m_encoding;
    SourceVideo m_source;
    // Declared before the muxer, so the muxer has closed the file when the side file removes it.
    SideFile m_side;
    CopyMuxer m_muxer;
    std::vector<std::unique_ptr<StreamPipe>> m_pipes;
    bool m_reencodes = false;
};
