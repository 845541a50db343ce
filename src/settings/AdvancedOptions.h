#pragma once

#include <QString>

// The values of the advanced-options dialog, read from config/configsv.txt at start-up. Generation
// uses the values in force in the dialog, saved or not.
struct AdvancedOptions {
    QString VideoBuffer = QStringLiteral("5");
    bool HideControlsFloatingBar = false;
    QString ItemsPlaylist = QStringLiteral("4");
    QString WidthPlaylist = QStringLiteral("250");
    QString PlayListFontSize = QStringLiteral("11");
    QString ErrorFlash;
    QString ErrorHtml5;
};
