// Makes the HTML5 copy of one video, for scripts/bench-html5 to time beside the ffmpeg command
// line doing the same job:
//   bench_Html5Copy SOURCE TARGET [webm]   makes the copy; prints whether a stream was encoded
//                                          or the packets copied, and by which remux, then the
//                                          seconds `Html5Copy::make` took (the program's own
//                                          start, loading Qt's and FFmpeg's libraries, left out)
//   bench_Html5Copy --ffmpeg-args [webm]   prints that command line's settings, one per line, so
//                                          both sides always encode alike

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>

#include "convert/Html5Copy.h"
#include "convert/Html5Encoding.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const Html5Format format =
        args.contains(QStringLiteral("webm")) ? Html5Format::WebM : Html5Format::Mp4;
    if (!args.isEmpty() && args.first() == QLatin1String("--ffmpeg-args")) {
        for (const QString& arg : Html5Encoding::of(format).ffmpegArguments())
            std::printf("%s\n", qUtf8Printable(arg));
        return 0;
    }
    if (args.size() < 2) {
        std::fprintf(stderr,
                     "usage: bench_Html5Copy SOURCE TARGET [webm] | --ffmpeg-args [webm]\n");
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    const Html5CopyResult result = Html5Copy::make(args[0], args[1], format);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (!result.made()) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(result.message));
        return 1;
    }
    std::printf("%s\n", result.reencoded  ? "encoded"
                        : result.ownRemux ? "copied by our own remux"
                                          : "copied through FFmpeg");
    std::printf("%.4f\n", seconds);
    return 0;
}
