#include "platform/SideFileName.h"

#include <QCryptographicHash>
#include <QFile>

namespace {

// What one name in a folder may hold on the file systems a run writes to.
constexpr qsizetype kMaxNameBytes = 255;

qsizetype bytesOf(const QString& name) {
    return QFile::encodeName(name).size();
}

}  // namespace

namespace SideFileName {

QString of(const QString& targetName, const QString& tail) {
    const QString whole = u'.' + targetName + tail;
    if (bytesOf(whole) <= kMaxNameBytes)
        return whole;
    const QString mark =
        u'~' + QString::fromLatin1(
                   QCryptographicHash::hash(QFile::encodeName(targetName), QCryptographicHash::Sha1)
                       .toHex()
                       .left(8));
    const qsizetype room = kMaxNameBytes - bytesOf(u'.' + mark + tail);
    QString kept = targetName;
    while (!kept.isEmpty() && bytesOf(kept) > room) {
        kept.chop(1);
        if (!kept.isEmpty() && kept.back().isHighSurrogate())
            kept.chop(1);
    }
    return u'.' + kept + mark + tail;
}

}  // namespace SideFileName
