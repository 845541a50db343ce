#include "generate/GenerateRequest.h"

#include <algorithm>

#include "generate/ValidationHost.h"
#include "media/PlaylistNames.h"
#include "models/Views.h"
#include "platform/Dialogs.h"

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

}  // namespace

bool GenerateRequest::validate(ValidationHost& host, Dialogs& dialogs, Views& views) {
    if (host.videoFilesStatusVisible()) {
        dialogs.error(QStringLiteral("PLEASE SAVE YOUR VIDEO FILE LIST FIRST!"));
        host.showVideoFilesDialog();
        return false;
    }
    if (!checkPlaylistNames(host, dialogs))
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
