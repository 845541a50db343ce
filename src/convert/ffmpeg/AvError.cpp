#include "convert/ffmpeg/AvError.h"

#include "convert/ConversionError.h"

extern "C" {
#include <libavutil/error.h>
}

QString AvError::describe(int errorCode) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(errorCode, text, sizeof text);
    return QString::fromUtf8(text);
}

int AvError::check(int code, const QString& context) {
    if (code < 0)
        throw ConversionError(context + QStringLiteral(" (") + describe(code) + QLatin1Char(')'));
    return code;
}
