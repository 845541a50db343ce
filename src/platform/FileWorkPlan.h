#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One piece of a generation run's file work, as the run does it and the windows show it.
struct FileWorkStep {
    enum class Kind {
        Copy,        // a file the page needs, into the output folder
        Mirror,      // a copy into the scratch folder, for the local test page
        Inject,      // the metadata injector on a Flash video of the output folder
        Thumbnails,  // the playlist's thumbnails, made from their pictures
        Caption,     // a caption file written as WebVTT into the output folder
    };

    Kind kind = Kind::Copy;
    QString name;              // what the user knows it by: "clip.flv", "ruffle/ruffle.js"
    QString source;            // the file read (Inject: the video; Thumbnails: none)
    QString target;            // the file written (Inject: the video)
    QString command;           // Inject: the injector's command line
    qint64 bytes = 0;          // what the step reads: its weight in the overall progress
    bool makesFolder = false;  // the target's folder is made when it is missing
    bool injected = false;     // Copy: a Flash video written with its metadata injected on the way
};

// The whole file work of a run, planned before anything is written: the same list tells whether
// every source is there, how far the work has come, and what was done when the user stopped it.
class FileWorkPlan {
  public:
    QList<FileWorkStep> steps;
    // Files the steps read besides their own `source` (the thumbnails' pictures).
    QStringList alsoRead;

    qint64 totalBytes() const;
    // Bytes behind the work when step `index` has `done` of its `total` bytes behind it. A step's
    // own total may differ from its planned bytes (an injected video has grown), so its share
    // is scaled to the plan; a `total` of 0 is an empty file, done.
    qint64 bytesDone(int index, qint64 done, qint64 total) const;
    // The same as a share of the whole, from 0 to 1; it never goes back while the steps go
    // forward, and steps without bytes still count.
    double fraction(int index, qint64 done, qint64 total) const;
    // Raises AppError 53 naming the first file the work would read that is not there, unless an
    // earlier step writes it. Run before anything is written, so a missing video stops the run
    // with nothing half done.
    void checkSources() const;
    // Large copies and injections take long enough to be watched (and stopped).
    bool worthWatching() const;

    // "Copy clip.flv to the output folder": one line of the message after a stop.
    static QString describe(const FileWorkStep& step);
    // What the step is doing, for the progress window ("Copying to the output folder").
    static QString activity(const FileWorkStep& step);
    // Seconds left when `fraction` of the work took `elapsedMs`; -1 while it is too early to say.
    static qint64 secondsLeft(double fraction, qint64 elapsedMs);

  private:
    double weightBefore(int index) const;
};
