#pragma once

#include <QString>

// Public web resources the generated pages refer to.
namespace WebAddresses {

// Minified jQuery 1.9.1, protocol-relative so that http and https pages both load it.
inline QString jQuery() {
    return QStringLiteral("//ajax.googleapis.com/ajax/libs/jquery/1.9.1/jquery.min.js");
}
inline QString facebookShare() {
    return QStringLiteral("http://www.facebook.com/share.php");
}
inline QString twitterShare() {
    return QStringLiteral("http://twitter.com/share");
}
inline QString supportPage() {
    return QStringLiteral("http://www.vidlark.com/support");
}
inline QString flashPlayerDownload() {
    return QStringLiteral("http://get.adobe.com/flashplayer/");
}

}  // namespace WebAddresses
