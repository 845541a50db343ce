#pragma once

#include <QString>

#include "OutputFolder.h"
#include "formats/Html5ScriptInput.h"

// A run of an HTML5 script writer into a fresh folder, with the inputs both scripts share; a
// test sets the options it varies.
struct Html5ScriptRun : OutputFolder {
    Html5ScriptInput input{
        .outputFolder = outputFolder(),
        .tag = QStringLiteral("a0732"),
        .serverPath = QStringLiteral("http://www.example.com/video/clips/"),
        .errorHtml5 = QStringLiteral("Your browser does not support HTML5 video."),
    };
    QString script() const { return outFile("zevohtml5sv" + input.tag + ".js"); }
};
