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
