#pragma once

#include <QString>
#include <QStringList>

#include "media/CaptionTrack.h"

// vidlark-cli generate: starts like the desktop program, applies a profile, chooses the videos as
// the dialogs' file commands do, presses "&Generate Code and Files" and prints the result.
class GenerateCommand {
  public:
    // InjectionsFailed: the run completed and printed its result, but the metadata injector
    // failed on at least one video (named on the last line of standard error).
    // Interrupted: Ctrl+C while --make-mp4 made a copy (the shell's code for an interrupt).
    enum ExitCode {
        Completed = 0,
        Failed = 1,
        Stopped = 2,
        InjectionsFailed = 3,
        Interrupted = 130
    };

    struct Options {
        QString profile;
        QString appFolder;
        QString output;
        QString flash;
        QString mp4;
        QString webm;
        QString playlist;
        bool serve = false;  // after a completed run, serve its local test page (ServeCommand)
        // Before the run, make the MP4 copy of the Flash video (or of every playlist row without
        // one) and choose it.
        bool makeMp4 = false;
        // KEY=VALUE pairs that override settings of the profile for this run.
        QStringList sets;
        // The single video's caption tracks, each FILE[:LANGUAGE[:LABEL]], in order.
        QStringList captions;
    };

    // Parses the arguments after "generate"; an error text on a wrong command line.
    static QString parse(const QStringList& args, Options& options);
    static int run(const Options& options);

    static QString usage();
    // "FILE[:LANGUAGE[:LABEL]]" as a track. The file ends at the first ":" after a drive letter's
    // ("C:\\subs\\a.vtt:en"); the label is the rest, colons and all.
    static CaptionTrack captionTrack(const QString& argument);
};
