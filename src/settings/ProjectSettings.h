#pragma once

#include <QString>
#include <QtGlobal>

#include "settings/StreamingMode.h"

// Every option the user chooses on the main window and in the social-sharing dialog, with the
// start values of a fresh start. Field names follow the controls that edit them, less the prefix.
struct ProjectSettings {
    StreamingMode streamingMode = StreamingMode::Normal;
    bool Multiple = false;  // optMultiple chosen: a playlist instead of a single video
    QString ServerPath = QStringLiteral("http://");
    QString VideoPath;
    QString OutDir;                 // ends in the folder separator once chosen
    int PlayerStyle = 0;            // index into the skin list
    int PlayerSize = 0;             // index into the size list
    QString PlayerColor;            // six hexadecimal digits, red green blue, as typed
    quint32 PlayerColorNumber = 0;  // the swatch: red + 256 * green + 65536 * blue
    bool Html5 = false;
    bool ShowBigPlayButton = true;
    QString AudioLevel = QStringLiteral("50");
    bool AutoPlay = false;
    bool AutoProgress = false;
    bool IsLive = false;
    QString IntroImageName;
    QString IntroImagePath;
    QString OutroImageName;
    QString OutroImagePath;
    bool Encrypt = false;
    QString RedirectURL;
    QString AffiliateLink;
    QString ActionCode;  // multi-line HTML; line breaks are CR LF
    bool ShowEmbedCode = false;
    bool SocialShare = false;
    QString ShareTitle;
    QString ShareURL;
    // Newer options of the generated player; a profile without their lines has them off.
    bool PlaysInline = false;    // plays in the page on phones instead of full screen
    bool MutedAutoPlay = false;  // with AutoPlay, starts muted and offers an unmute button
    bool FluidSize = false;      // the player shrinks with a narrow page, keeping its shape
};
