#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include "media/Playlist.h"
#include "platform/OutputFile.h"

// The script the page loads ("zevocoresv" + tag + ".js"): it loads jQuery and SWFObject, writes the
// centred table with the Flash placeholder (and the HTML5 containers as its alternative content),
// includes the Flash embed script and the optional end-of-video script, and adds the optional
// social-sharing row.
class CoreScriptWriter {
  public:
    // What the script depends on.
    struct Input {
        QString outputFolder{};  // ends in the folder separator
        QString tag{};           // the run's generation tag
        QString serverPath{};    // where the page finds the other scripts
        bool useHtml5 = false;
        bool playlist = false;
        PlaylistPosition position = PlaylistPosition::Right;  // a playlist's
        qint16 playerWidth = 0;
        qint16 widthPlaylist = 0;  // a list beside the player widens the table
        bool fluidSize = false;
        QString errorFlash{};  // in the placeholder while there is no HTML5 alternative
        bool hasActionCode = false;
        QString actionCode{};   // shown when the video ends, as typed
        QString redirectUrl{};  // as typed
        bool socialShare = false;
        QString shareUrl{};
        QString shareTitle{};
    };

    static QString fileName(const QString& tag);

    // This run's core script; it replaces the core scripts of earlier runs.
    static OutputFile coreScript(const Input& in);
    static QStringList lines(const Input& in);

    // code.txt, written when embedding on other sites is allowed.
    static OutputFile codeTxt(const Input& in);
    // Its one line, which the Flash player offers to visitors as its embed code.
    static QString codeTxtLine(const Input& in);

    // Wide enough for the player with its border, and for a playlist beside it.
    static qint16 tableWidth(const Input& in);
};
