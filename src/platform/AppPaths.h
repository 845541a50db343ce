#pragma once

#include <QString>

// Where the program finds its files and where it keeps its own. A portable application folder, one
// that holds a writable temp/ (the build folder, a copy on a USB stick), holds all of them. An
// installed program reads its files from the installation, which it never writes, and keeps what
// it writes in the user's own folders, so two users of one machine share neither a setting nor a
// scratch folder. None of the folders ends in a separator.
struct AppPaths {
    QString programs;  // flvmdi
    QString modules;   // the FFmpeg module
    QString data;      // swfs/, ruffle/, images/, zevoswf.js and config/ as installed
    QString config;    // the configuration files the settings windows rewrite
    QString scratch;   // the scratch folder
    QString lock;      // the file the single-instance guard locks
    bool installed = false;

    // Everything in `appFolder`, the layout of the build folder.
    static AppPaths portable(const QString& appFolder);
    // The layout of a program in `programFolder`: portable when that folder holds a writable
    // temp/, otherwise installed, with the user's folders taken from `home` and the XDG
    // variables as given (empty when unset).
    static AppPaths locate(const QString& programFolder, const QString& home,
                           const QString& xdgConfigHome, const QString& xdgCacheHome);
    // The running program's, from its own file and its environment.
    static AppPaths ofProgram();
    // A folder named on the command line is portable, whatever it holds; no folder, the
    // program's own.
    static AppPaths chosen(const QString& appFolder);

    // Makes the user's folders and gives them the installation's configuration files that they
    // lack; nothing for a portable folder, whose files are where they are read. Throws AppError
    // naming the folder or file that cannot be made.
    void prepare() const;
};
