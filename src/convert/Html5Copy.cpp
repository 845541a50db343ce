#include "convert/Html5Copy.h"

#include <mutex>

#include "convert/ConversionError.h"
#include "convert/CopyJob.h"
#include "convert/FlvRemux.h"
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

Html5CopyResult finished(Html5CopyResult result, bool made, ProgressMeter& meter) {
    if (made)
        meter.finish();
    result.outcome = made ? Html5CopyResult::Outcome::Made : Html5CopyResult::Outcome::Cancelled;
    return result;
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
        if (format == Html5Format::Mp4) {
            const FlvRemux::Outcome own = FlvRemux::make(source, target, meter);
            if (own != FlvRemux::Outcome::NotPossible) {
                result.ownRemux = true;
                return finished(result, own == FlvRemux::Outcome::Made, meter);
            }
        }
        CopyJob job(source, target, format);
        result.reencoded = job.reencodes();
        return finished(result, job.run(meter), meter);
    } catch (const ConversionError& error) {
        result.outcome = Html5CopyResult::Outcome::Failed;
        result.message = error.message();
    }
    return result;
}
