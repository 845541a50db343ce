#include "app/HelpTexts.h"

namespace {

const QString NL = QStringLiteral("\r\n");

QString htmlPathHelp() {
    return QStringLiteral(
               "The HTML Path on Server is where your html files reside on the webserver. ") +
           NL + NL + QStringLiteral("Right input examples: ") + NL +
           QStringLiteral("http://www.example.com/videos/") + NL +
           QStringLiteral("http://www.example.com/media/videos/") + NL +
           QStringLiteral("http://www.example.com/") + NL +
           QStringLiteral("http://video.example.com/") + NL +
           QStringLiteral("http://video.example.com/clips/") + NL + NL +
           QStringLiteral("Wrong input examples:  ") + NL +
           QStringLiteral("www.example.com/videos/") + NL + QStringLiteral("Missing http:// ") +
           NL + QStringLiteral("http://example.com/videos/") + NL + QStringLiteral("Missing www ") +
           NL + QStringLiteral("http://www.example.com/videos/index.html") + NL +
           QStringLiteral("HTML file name is not required ") + NL +
           QStringLiteral("http://www.example.com/videos/movie.flv") + NL +
           QStringLiteral("Video file name is not required ");
}

QString videoPathHelp() {
    return QStringLiteral(
               "The path to the video files like FLV, Mp4, WebM on your server. In most cases "
               "it is same as the HTML path. ") +
           QStringLiteral(
               "If you want to host your video files on a different location or path or "
               "server, enter the path here. ") +
           NL + NL +
           QStringLiteral(
               "RTMP users, do not add your video file name in this entry. That will be "
               "automatically added. ") +
           QStringLiteral("Just enter your rtmp path, example ") +
           QStringLiteral("rtmp://media.example.com/application/_definst_/folder/") +
           QStringLiteral(" ") + NL + NL +
           QStringLiteral(
               "For Pseudo streaming, this entry is ignored as all your files (HTML + "
               "Video) should reside in the same folder on server. ");
}

QString videoFilesHelp() {
    return QStringLiteral(
               "Flash Video File is your primary video file which can be a FLV or H.264 Mp4 "
               "video file. The extensions supported for H.264 Mp4 are Mp4, F4V and M4V. ") +
           NL + NL +
           QStringLiteral(
               "Mp4 Video File is required if you want iOS and Android support for your web "
               "video. You can use the SAME Mp4 file for both Flash Video File and Mp4 "
               "Video File. Supported extensions are Mp4, F4V and M4V. Not supported for "
               "Rtmp streaming. ") +
           NL + NL +
           QStringLiteral(
               "WebM Video File is required to provided extended support on browsers like "
               "Firefox or Opera IF Flash is turned off on them. It is optional. Not "
               "supported for Rtmp streaming. ") +
           NL + NL +
           QStringLiteral(
               "We provide a free encoder with this software for easy encoding of your "
               "videos to all these formats.");
}

}  // namespace

QString HelpTexts::topic(int number) {
    switch (number) {
        case 1:
            return htmlPathHelp();
        case 2:
            return videoPathHelp();
        case 3:
            return videoFilesHelp();
        default:
            return {};
    }
}
