#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// The player skins installed in the application folder and what their names tell the program.
// A skin "Skin-30-dark" is the player swfs/Skin-30-dark.swf with the preview swfs/Skin-30-dark.jpg.
class SkinList {
  public:
    // Names of the swfs/*.swf files of `dataFolder`, without ".swf", in alphabetical order
    // (letter case ignored, as the folder listing of the users' systems shows them). Empty when
    // the folder is missing or holds no skin.
    static QStringList list(const QString& dataFolder);

    // The height the skin adds to the video: the number in characters 6 and 7 of the name.
    // Error 13 when they do not hold a number.
    static qint16 skinAllowance(const QString& name);

    // Dark skins look better with a dark tint; the test is exact, so "Dark" is a light skin.
    static bool isDark(const QString& name);
    // Floating-bar skins take the show/hide letter after the tint in the player configuration.
    static bool isFloat(const QString& name);
};
