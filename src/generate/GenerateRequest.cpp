#include "generate/GenerateRequest.h"

#include <algorithm>

#include "generate/ValidationHost.h"
#include "media/PlaylistNames.h"
#include "platform/ControlCharacters.h"
#include "platform/Dialogs.h"
#include "platform/Views.h"

namespace {

const QString kIncompleteHttp = QStringLiteral("INCOMPLETE http:// PATH. REFER TO QUICK HELP.");

bool endsWithSlash(const QString& text) {
    return text.endsWith(u'/');
}

// The audio box takes only digits from the keyboard, but pasted text and hand-edited profiles
// reach it too. The page's script sets the volume from it, and anything but a whole number from 0
// up makes that throw, leaving the end-of-video action unattached: such a value stops the request.
// Blanks around the digits do no harm there. A level above 100 is lowered to 100.
bool checkAudioLevel(ValidationHost& host, Dialogs& dialogs, Views& views) {
    const QString level = host.settings().AudioLevel.trimmed();
    const bool digits = !level.isEmpty() && std::all_of(level.begin(), level.end(), [](QChar c) {
        return c >= u'0' && c <= u'9';
    });
    if (!digits) {
        dialogs.error(
            QStringLiteral("THE AUDIO LEVEL (AudioLevel, \"Initialize Audio at:\") MUST "
                           "BE A NUMBER FROM 0 TO 100."));
        views.focusControl(QStringLiteral("txtAudioLevel"));
        return false;
    }
    // Digits too many for a number are far above 100 too.
    bool fits = false;
    if (level.toULongLong(&fits) > 100 || !fits)
        host.setAudioLevel(QStringLiteral("100"));
    return true;
}

bool checkPaths(ValidationHost& host, Dialogs& dialogs, Views& views) {
    const ProjectSettings& s = host.settings();
    if (s.ServerPath.trimmed().isEmpty()) {
        dialogs.error(QStringLiteral("NO HTML PATH SPECIFIED!"));
        views.showQuickHelp(1);
        views.focusControl(QStringLiteral("txtServerPath"));
        return false;
    }
    if (s.ServerPath.trimmed() == QLatin1String("http://")) {
        dialogs.error(kIncompleteHttp);
        views.focusControl(QStringLiteral("txtServerPath"));
        views.showQuickHelp(1);
        return false;
    }
    if (s.VideoPath.trimmed() == QLatin1String("http://")) {
        dialogs.error(kIncompleteHttp);
        views.focusControl(QStringLiteral("txtVideoPath"));
        views.showQuickHelp(2);
        return false;
    }
    return true;
}

// Slashes are tested on the text as typed, blanks included.
void completeSlashes(ValidationHost& host) {
    if (!endsWithSlash(host.settings().ServerPath))
        host.setServerPath(host.settings().ServerPath + u'/');
    const QString video = host.settings().VideoPath;
    if (!video.trimmed().isEmpty() && !endsWithSlash(video))
        host.setVideoPath(video + u'/');
}

bool checkVideoPath(ValidationHost& host, Dialogs& dialogs, Views& views) {
    const bool rtmp = host.settings().streamingMode == StreamingMode::Rtmp;
    if (host.settings().VideoPath.trimmed().isEmpty()) {
        if (rtmp) {
            dialogs.error(QStringLiteral("VIDEO FILE(S) PATH CANNOT BE BLANK FOR A RTMP PLAYER!"));
            views.focusControl(QStringLiteral("txtVideoPath"));
            return false;
        }
        host.setVideoPath(host.settings().ServerPath);
    }
    if (rtmp && host.settings().VideoPath.trimmed() == QLatin1String("rtmp://")) {
        dialogs.error(QStringLiteral("INCOMPLETE rtmp:// PATH. REFER TO QUICK HELP."));
        views.focusControl(QStringLiteral("txtVideoPath"));
        return false;
    }
    return true;
}

// The rows' file names are joined to the output and scratch folders: a name that leads out of
// them (from a playlist file changed by hand, or one chosen on a system whose names may hold a
// backslash) stops the run before anything is written.
bool checkPlaylistNames(ValidationHost& host, Dialogs& dialogs) {
    if (!host.settings().Multiple)
        return true;
    const QString fault = PlaylistNames::firstFault(host.playlist());
    if (fault.isEmpty())
        return true;
    dialogs.error(fault + QStringLiteral(". PLEASE REPLACE IT IN THE PLAYLIST."));
    host.showVideoFilesDialog();
    return false;
}

// "CHARACTER 3 (CONTROL CODE 1) OF THE LABEL OF CAPTION TRACK 2 OF ROW 4", or empty when the
// track's language and label hold no control character.
QString controlInTrack(const CaptionTrack& track, const QString& which) {
    const std::pair<QString, const QString*> fields[] = {
        {QStringLiteral("LANGUAGE"), &track.language}, {QStringLiteral("LABEL"), &track.label}};
    for (const auto& [name, value] : fields) {
        const qsizetype at = ControlCharacters::firstIndex(*value);
        if (at >= 0)
            return QStringLiteral("CHARACTER %1 (").arg(at + 1) +
                   ControlCharacters::shown(value->at(at)) +
                   QStringLiteral(") OF THE %1 OF ").arg(name) + which;
    }
    return {};
}

// A track's language and label go into the configuration file's `cc` attribute and the pages'
// <track> elements, where a control character makes the configuration XML ill-formed and the
// player loads nothing. The windows drop them as they are typed and playlist files refuse them,
// but a command line can still bring one.
bool checkCaptionTexts(ValidationHost& host, Dialogs& dialogs) {
    QList<std::pair<QString, const CaptionTracks*>> owners;
    if (host.settings().Multiple) {
        const QList<PlaylistEntry>& rows = host.playlist().rows;
        for (qsizetype r = 0; r < rows.size(); ++r)
            owners.append({QStringLiteral(" OF ROW %1").arg(r + 1), &rows[r].Captions});
    } else {
        owners.append({QString(), &host.singleVideoCaptions()});
    }
    for (const auto& [owner, tracks] : owners)
        for (qsizetype k = 0; k < tracks->size(); ++k) {
            const CaptionTrack& track = tracks->at(k);
            const QString fault =
                controlInTrack(track, QStringLiteral("CAPTION TRACK %1").arg(k + 1) + owner);
            if (fault.isEmpty())
                continue;
            dialogs.error(fault +
                          QStringLiteral(" CANNOT BE WRITTEN TO THE PLAYER'S FILES. PLEASE "
                                         "REMOVE IT.\n") +
                          track.path);
            host.showVideoFilesDialog();
            return false;
        }
    return true;
}

}  // namespace

bool GenerateRequest::validate(ValidationHost& host, Dialogs& dialogs, Views& views) {
    if (host.videoFilesStatusVisible()) {
        dialogs.error(QStringLiteral("PLEASE SAVE YOUR VIDEO FILE LIST FIRST!"));
        host.showVideoFilesDialog();
        return false;
    }
    if (!checkPlaylistNames(host, dialogs))
        return false;
    if (!checkCaptionTexts(host, dialogs))
        return false;
    if (!checkAudioLevel(host, dialogs, views))
        return false;
    if (!checkPaths(host, dialogs, views))
        return false;
    completeSlashes(host);
    if (!checkVideoPath(host, dialogs, views))
        return false;
    if (host.settings().OutDir.isEmpty()) {
        dialogs.error(QStringLiteral("PLEASE PROVIDE OUTPUT FOLDER."));
        host.chooseOutputFolder();
        return false;
    }
    return true;
}
