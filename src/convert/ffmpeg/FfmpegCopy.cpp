// The entry of the FFmpeg module: the one symbol the programs look up (FfmpegEntry.h).

#include <mutex>
#include <string_view>

#include "convert/ConversionError.h"
#include "convert/FfmpegEntry.h"
#include "convert/ProgressMeter.h"
#include "convert/ffmpeg/CopyJob.h"

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

void copy(const FfmpegCopyRequest& request, Html5CopyResult& result) {
    ProgressMeter meter(request.progress);
    CopyJob job(request.source, request.target, request.format);
    result.reencoded = job.reencodes();
    const bool made = job.run(meter);
    if (made)
        meter.finish();
    result.outcome = made ? Html5CopyResult::Outcome::Made : Html5CopyResult::Outcome::Cancelled;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void vidlarkFfmpegCopyV1(
    const FfmpegCopyRequest& request, Html5CopyResult& result) noexcept {
    silenceLibraryLog();
    try {
        copy(request, result);
    } catch (const ConversionError& error) {
        result.outcome = Html5CopyResult::Outcome::Failed;
        result.message = error.message();
    } catch (const std::exception& error) {  // out of memory, mostly: not worth ending the program
        result.outcome = Html5CopyResult::Outcome::Failed;
        result.message = QStringLiteral("CANNOT CONVERT %1 (%2)")
                             .arg(request.source, QString::fromLocal8Bit(error.what()));
    }
}

// The programs look the entry up by this name and call it through this type.
static_assert(std::string_view(FfmpegCopySymbol) == "vidlarkFfmpegCopyV1");
[[maybe_unused]] constexpr FfmpegCopyFunction entryType = &vidlarkFfmpegCopyV1;
