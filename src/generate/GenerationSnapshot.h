#pragma once

#include <QString>
#include <QtGlobal>

// The values one generation run reads once from the windows; every writer of the run reads these
// instead of the controls. Fields a run does not read keep the values of an earlier run.
struct GenerationSnapshot {
    qint16 PlayerWidth = 0;
    qint16 PlayerHeight = 0;
    qint16 ItemsPlaylist = 0;
    qint16 WidthPlaylist = 0;
    qint16 PlaylistHeight = 0;
    qint16 SkinAllowance = 0;
    QString BackgroundColor = QStringLiteral("#000000");
    qint16 PlayListFontSize = 0;
    QString ErrorFlash;
    QString ErrorHtml5;
    QString GenerationTag;
    QString ServerPath;  // trimmed; ends in "/" after validation
    QString VideoPath;   // trimmed; ends in "/" after validation
    QString SkinFile;    // skin name + ".swf"
    QString SkinUrl;     // ServerPath + SkinFile + "?"
    bool UseHtml5 = false;
    bool IsRtmp = false;
    bool IsPseudo = false;
    bool HasActionCode = false;
    // Decided once before the first file is written (RunDecisions).
    QString VideoDivId;
    QString ListDivId;
    QString ListScrollId;
    int VideoModeCode = 0;  // the `aa` value, shared by both configuration copies of a run
    QString EmbedCode;
    QString UploadInstructions;
};
