#pragma once

#include <QString>

class ProgressMeter;

// The MP4 copy of an H.264 + AAC FLV made at the speed of a file copy: the FLV's bytes are copied
// as they are by the kernel while a second thread builds the index from the tag headers
// (FlvRemuxScan, Mp4Index); the index then goes in front of them. Progress follows the bytes
// copied. A file it cannot reproduce exactly is left to the FFmpeg path: `NotPossible`, with
// nothing left behind.
class FlvRemux {
  public:
    enum class Outcome { NotPossible, Made, Cancelled };

    // Throws ConversionError naming the file when writing fails part way.
    static Outcome make(const QString& source, const QString& target, ProgressMeter& meter);
};
