#pragma once

#include <QString>

// FFmpeg's error codes turned into the messages of ConversionError.
namespace AvError {

// FFmpeg's description of one of its error codes ("Invalid data found when processing input").
QString describe(int errorCode);
// Throws `ConversionError(context + " (" + describe(code) + ")")` when `code` is negative;
// otherwise returns it.
int check(int code, const QString& context);

}  // namespace AvError
