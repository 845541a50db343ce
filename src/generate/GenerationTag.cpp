#include "generate/GenerationTag.h"

QString GenerationTag::fromTime(const QTime& time) {
    return QStringLiteral("a%1%2")
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'));
}
