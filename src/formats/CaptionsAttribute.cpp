#include "formats/CaptionsAttribute.h"

#include <QFileInfo>
#include <QStringList>

#include "formats/Escaping.h"

namespace {

QString field(QString text) {
    return text.replace(u'%', QStringLiteral("%25")).replace(u'|', QStringLiteral("%7C"));
}

}  // namespace

QString CaptionsAttribute::outputName(const QString& sourcePath) {
    return QFileInfo(sourcePath).completeBaseName() + QStringLiteral(".vtt");
}

QString CaptionsAttribute::value(const CaptionTracks& tracks, const QString& folder) {
    QStringList fields;
    for (const CaptionTrack& track : tracks) {
        const QString name = Escaping::addressFileName(outputName(track.path));
        fields << folder + QString(name).replace(u'|', QStringLiteral("%7C"))
               << field(track.language) << field(track.label);
    }
    return fields.join(u'|');
}

bool CaptionsAttribute::anyTracks(bool isPlaylist, const SingleVideo& single,
                                  const Playlist& playlist) {
    if (!isPlaylist)
        return !single.Captions.isEmpty();
    for (const PlaylistEntry& row : playlist.rows)
        if (!row.Captions.isEmpty())
            return true;
    return false;
}

// The tracks are made as elements rather than as markup, so no value needs escaping for HTML;
// an empty label shows the language, or "Captions" when that is empty too.
QString CaptionsAttribute::trackFunctions(const QString& tag) {
    return QString::fromLatin1(
               R"js(function cT@(v,c){if(!v||!c)return;var f=String(c).split("|");)js"
               R"js(for(var k=0;k+2<f.length;k+=3){var t=document.createElement("track");)js"
               R"js(t.kind="captions";t.src=f[k];var l=dC@(f[k+1]);if(l)t.srclang=l;)js"
               R"js(t.label=dC@(f[k+2])||l||"Captions";if(k==0)t.default=true;)js"
               R"js(v.appendChild(t);}})js"
               R"js(function dC@(s){return s.replace(/%7C|%25/gi,)js"
               R"js(function(m){return m=="%25"?"%":"|";});})js")
        .replace(u'@', tag);
}
