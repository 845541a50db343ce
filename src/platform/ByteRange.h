#pragma once

#include <QByteArray>
#include <QtGlobal>

// The part of a file a request's Range header asks for ("bytes=500-", "bytes=0-1023",
// "bytes=-200"). Browsers ask for video in such parts so that it plays while it downloads and can
// jump ahead.
struct ByteRange {
    enum class Kind {
        Whole,          // no Range header, or one this server answers with the whole file
        Part,           // `first` to `last`, both included
        Unsatisfiable,  // a well-formed range that lies outside the file
    };
    Kind kind = Kind::Whole;
    qint64 first = 0;
    qint64 last = -1;

    qint64 length() const { return last - first + 1; }

    // Several ranges in one header, or anything not of the forms above, get the whole file, as
    // HTTP allows a server to ignore a Range header.
    static ByteRange parse(const QByteArray& header, qint64 fileSize);
};
