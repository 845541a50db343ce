#include "convert/Html5Copy.h"

#include "convert/ConversionError.h"
#include "convert/FfmpegModule.h"
#include "convert/FlvRemux.h"
#include "convert/ProgressMeter.h"
#include "platform/FileOps.h"

namespace {

Html5CopyResult failed(const QString& message) {
    Html5CopyResult result;
    result.outcome = Html5CopyResult::Outcome::Failed;
    result.message = message;
    return result;
}

// Our own remux, when it can make the copy; nothing when the copy is FFmpeg's to make.
std::optional<Html5CopyResult> ownRemux(const QString& source, const QString& target,
                                        Html5Format format, const CopyProgressCallback& progress) {
    if (FileOps::sameFile(source, target))
        throw ConversionError(QStringLiteral("THE COPY WOULD REPLACE ITS OWN SOURCE ") + target);
    if (format != Html5Format::Mp4)
        return std::nullopt;
    ProgressMeter meter(progress);
    const FlvRemux::Outcome own = FlvRemux::make(source, target, meter);
    if (own == FlvRemux::Outcome::NotPossible)
        return std::nullopt;
    Html5CopyResult result;
    result.ownRemux = true;
    result.outcome = Html5CopyResult::Outcome::Cancelled;
    if (own == FlvRemux::Outcome::Made) {
        meter.finish();
        result.outcome = Html5CopyResult::Outcome::Made;
    }
    return result;
}

}  // namespace

Html5CopyResult Html5Copy::make(const QString& source, const QString& target, Html5Format format,
                                const CopyProgressCallback& progress) {
    try {
        if (std::optional<Html5CopyResult> own = ownRemux(source, target, format, progress))
            return *own;
    } catch (const ConversionError& error) {
        return failed(error.message());
    }
    const FfmpegModule& module = FfmpegModule::beside();
    if (!module.loaded())
        return failed(module.error() + QStringLiteral("; ") + source +
                      QStringLiteral(" CANNOT BE CONVERTED WITHOUT IT"));
    Html5CopyResult result;
    module.copy({source, target, format, progress}, result);
    return result;
}
