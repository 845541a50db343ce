#include "convert/Html5Copy.h"

#include <mutex>

#include "convert/ConversionError.h"
#include "convert/CopyJob.h"
#include "convert/ProgressMeter.h"
#include "platform/FileOps.h"

extern "C" {
#include <libavutil/log.h>
}

namespace {

// FFmpeg's own log lines would reach the user's terminal beside ours; the result's message says
// what went wrong.
void silenceLibraryLog() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

}  // namespace
Html5CopyResult Html5Copy::make(const QString& source, const QString& target, Html5Format format,
                                const CopyProgressCallback& progress) {
    silenceLibraryLog();
    Html5CopyResult result;
    try {
        if (FileOps::sameFile(source, target))
            throw ConversionError(QStringLiteral("THE COPY WOULD REPLACE ITS OWN SOURCE ") +
                                  target);
        ProgressMeter meter(progress);
        CopyJob job(source, target, format);
        result.reencoded = job.reencodes();
        if (!job.run(meter)) {
            result.outcome = Html5CopyResult::Outcome::Cancelled;
            return result;
        }
        meter.finish();
        result.outcome = Html5CopyResult::Outcome::Made;
    } catch (const ConversionError& error) {
        result.outcome = Html5CopyResult::Outcome::Failed;
        result.message = error.message();
    }
    return result;
}
