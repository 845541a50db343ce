#include "media/PlaylistNames.h"

#include "media/PlaylistRowFields.h"
#include "platform/PlainFileName.h"

int PlaylistNames::faultyField(const PlaylistEntry& entry, int fields) {
    for (int f = 0; f < fields; ++f) {
        const PlaylistRowField& field = kPlaylistRowFields[f];
        if (field.fileName && !PlainFileName::fault(entry.*field.field).isEmpty())
            return f;
    }
    return -1;
}

QString PlaylistNames::rowFault(const PlaylistEntry& entry, int row, int fields) {
    const int f = faultyField(entry, fields);
    if (f < 0)
        return {};
    const PlaylistRowField& field = kPlaylistRowFields[f];
    return QStringLiteral("THE %1 OF ROW %2 IS NOT A PLAIN FILE NAME: %3")
        .arg(QString::fromLatin1(field.name).toUpper())
        .arg(row)
        .arg(PlainFileName::fault(entry.*field.field));
}

QString PlaylistNames::firstFault(const Playlist& playlist) {
    const int fields = playlistFieldCount(playlist.layout);
    for (qsizetype r = 0; r < playlist.rows.size(); ++r) {
        const QString fault = rowFault(playlist.rows[r], int(r + 1), fields);
        if (!fault.isEmpty())
            return fault;
    }
    return {};
}
