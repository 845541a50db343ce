#include "media/Html5CopyBatch.h"

#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <chrono>

#include "convert/ProgressMeter.h"
#include "platform/Dialogs.h"
#include "platform/FileOps.h"

namespace {

qint64 sizeWeight(const QString& path) {
    // An empty or unreadable source still counts for a little, so the fraction keeps moving.
    return std::max<qint64>(QFileInfo(path).size(), 1);
}

}  // namespace

Html5CopyBatch::Html5CopyBatch(QList<Html5CopyJob> jobs, Html5Format format) : m_format(format) {
    for (Html5CopyJob& job : jobs)
        m_planned.append({std::move(job), Step::Make});
}

void Html5CopyBatch::confirmReplacements(Dialogs& dialogs) {
    QSet<QString> made;
    for (Planned& planned : m_planned) {
        const Html5CopyJob& job = planned.job;
        if (made.contains(job.target) || FileOps::sameFile(job.source, job.target)) {
            planned.step = Step::Keep;
            continue;
        }
        if (FileOps::fileExists(job.target) &&
            !dialogs.confirm(job.target +
                             QStringLiteral(" ALREADY EXISTS. DO YOU WANT TO REPLACE IT WITH A NEW "
                                            "COPY OF ") +
                             QFileInfo(job.source).fileName() +
                             QStringLiteral("? REPLACE = Yes, USE THE EXISTING FILE = No")))
            planned.step = Step::Keep;
        else
            made.insert(job.target);
    }
}

void Html5CopyBatch::run(const CopyProgressCallback& progress) {
    qint64 total = 0;
    for (const Planned& planned : m_planned) {
        if (planned.step == Step::Make)
            total += sizeWeight(planned.job.source);
    }
    const auto start = std::chrono::steady_clock::now();
    qint64 done = 0;
    QSet<QString> failedTargets;
    for (const Planned& planned : m_planned) {
        const Html5CopyJob& job = planned.job;
        if (planned.step == Step::Keep) {
            if (!failedTargets.contains(job.target))
                m_ready.append(job);
            continue;
        }
        const qint64 weight = sizeWeight(job.source);
        // One job's fraction becomes the batch's; the time left is the batch's too.
        const auto overall = [&](const CopyProgress& part) {
            if (!progress)
                return true;
            const double fraction = (double(done) + part.fraction * double(weight)) / double(total);
            const double elapsed =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            return progress({fraction, ProgressMeter::secondsLeft(fraction, elapsed)});
        };
        const Html5CopyResult result = Html5Copy::make(job.source, job.target, m_format, overall);
        done += weight;
        switch (result.outcome) {
            case Html5CopyResult::Outcome::Made:
                m_ready.append(job);
                break;
            case Html5CopyResult::Outcome::Failed:
                m_failures.append(result.message);
                failedTargets.insert(job.target);
                break;
            case Html5CopyResult::Outcome::Cancelled:
                m_cancelled = true;
                return;
        }
    }
}

void Html5CopyBatch::reportFailures(Dialogs& dialogs) const {
    if (!m_failures.isEmpty())
        dialogs.error(m_failures.join(QLatin1Char('\n')));
}
