#pragma once

#include <QString>

class ProgressMeter;

// The MP4 copy of an H.264 + AAC FLV made at the speed of a file copy: the index is built from
// the FLV's tag headers (FlvRemuxScan, Mp4Index) and written first, then the FLV's bytes from the
// first payload to the last are copied as they are by the kernel. Progress follows the bytes
// copied. A file it cannot reproduce exactly is left to the FFmpeg path: `NotPossible`, with
// nothing written.
class FlvRemux {
  public:
    enum class Outcome { NotPossible, Made, Cancelled };

    // Throws ConversionError naming the file when writing fails part way.
    static Outcome make(const QString& source, const QString& target, ProgressMeter& meter);
};
