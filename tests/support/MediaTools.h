#pragma once

#include <QString>
#include <QStringList>

// The ffmpeg and ffprobe command-line tools: they make the tests' clips, and read back what an
// HTML5 copy holds, independently of the libraries the copy was made with.
namespace MediaTools {

bool available();
// Runs "ffmpeg -v error -y ARGS"; empty when it succeeded, otherwise what it printed.
QString ffmpeg(const QStringList& args);
// ffmpeg inputs: a moving test picture and a tone of `seconds`.
QStringList testPicture(const QString& size, double seconds);
QStringList testSound(int sampleRate, double seconds);

struct Probe {
    QString videoCodec;  // empty: no picture
    QString audioCodec;  // empty: no sound
    QString pixelFormat;
    int width = 0;
    int height = 0;
    double duration = 0;  // the container's
};
// What ffprobe reads of the file; all empty when it cannot read it.
Probe probe(const QString& path);
// Where the last packet of the file ends, in seconds: what a player plays of it.
double playedSeconds(const QString& path);
// ffprobe's hash of every packet of the first stream of that kind ("v" or "a"), in order.
QStringList packetHashes(const QString& path, const QString& kind);
// ffprobe's presentation time of every packet of the first stream of that kind, in seconds, in
// the order the packets are stored.
QList<double> packetTimes(const QString& path, const QString& kind);
// The four-letter names of an MP4 file's top-level boxes, in order.
QStringList topLevelBoxes(const QString& path);

}  // namespace MediaTools
