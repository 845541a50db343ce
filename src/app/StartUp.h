#pragma once

#include <QString>

class InstanceGuard;
class MainController;

// The life of the main window between the program's start and the moment the user can work, and
// its end.
class StartUp {
  public:
    // Start-up in its fixed order: single-copy guard, scratch folder emptied, defaults, skins and
    // sizes, splash, the file named on the command line. False when the program must end at
    // once (another copy runs, or a fatal error was reported).
    static bool run(MainController& controller, InstanceGuard& guard, const QString& argument);

    // The close request: asks "CLOSE SOFTWARE?"; on Yes empties the scratch folder when a local
    // test page was written and answers true (the program ends).
    static bool confirmClose(MainController& controller);

    // The path of the command line as given, without surrounding double quotes.
    static QString argumentPath(const QString& argument);
    // A path ending in ".plf" (any case) names a playlist; any other names a profile.
    static bool isPlaylistPath(const QString& path);

  private:
    static bool emptyScratchFolders(MainController& controller);
    static bool openFile(MainController& controller, const QString& path);
    static bool loadProfile(MainController& controller, const QString& path);
    static void loadPlaylist(MainController& controller, const QString& path);
};
