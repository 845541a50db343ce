#pragma once

#include <QList>
#include <QStringList>
#include <atomic>
#include <functional>

#include "convert/Html5Copy.h"
#include "media/Html5CopyJob.h"

class Dialogs;

// Makes the HTML5 copies a selection asks for as one task with one progress: the single video's
// "Make from Flash video", the playlist's "Make missing HTML5 copies" and vidlark-cli's
// --make-mp4. It goes in three steps, so a window can run the long one on a worker thread:
//
//   1. `confirmReplacements` (the thread of `dialogs`) asks about targets that exist already;
//   2. `run` (any thread; a window's worker) makes the copies, reporting progress;
//   3. `ready` and `reportFailures` (the thread of `dialogs` again) give what the selection
//      takes: the jobs whose copy is there, in their order.
class Html5CopyBatch {
  public:
    Html5CopyBatch(QList<Html5CopyJob> jobs, Html5Format format);

    // A copy that exists already is replaced only when the user says so; otherwise it is kept and
    // used as it is. A Flash file that is itself the copy (an MP4 chosen as the Flash video) is
    // used without a question, as is a target an earlier job of the batch makes.
    void confirmReplacements(Dialogs& dialogs);

    // Makes the copies still to be made, one after another. The progress covers all of them,
    // weighed by the size of their sources. A copy that fails is noted and the next one goes on;
    // a cancel (the callback's false) ends the batch, the copy under way leaving nothing behind.
    void run(const CopyProgressCallback& progress);

    const QList<Html5CopyJob>& ready() const { return m_ready; }
    const QStringList& failures() const { return m_failures; }
    bool cancelled() const { return m_cancelled; }
    // Shows every failure in one message box; nothing when all went well.
    void reportFailures(Dialogs& dialogs) const;

  private:
    enum class Step { Make, Keep };
    struct Planned {
        Html5CopyJob job;
        Step step = Step::Make;
    };

    Html5Format m_format;
    QList<Planned> m_planned;
    QList<Html5CopyJob> m_ready;
    QStringList m_failures;
    bool m_cancelled = false;
};

// Carries out step 2 of a batch: the desktop program runs it on a worker thread behind a
// progress window, a test or a script calls `run` directly.
using Html5CopyRunner = std::function<void(Html5CopyBatch&)>;
