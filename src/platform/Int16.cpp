#include "platform/Int16.h"

#include <limits>

#include "platform/AppError.h"

namespace Int16 {

qint16 fromInt(long long value) {
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        throw AppError(AppError::Overflow, QString::number(value));
    return static_cast<qint16>(value);
}

qint16 add(qint16 a, qint16 b) {
    return fromInt(static_cast<long long>(a) + b);
}

qint16 add(qint16 a, qint16 b, qint16 c) {
    return add(add(a, b), c);
}

qint16 multiply(qint16 a, qint16 b) {
    return fromInt(static_cast<long long>(a) * b);
}

qint16 fromText(const QString& text) {
    const QString t = text.trimmed();
    int i = 0;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        ++i;
    if (i == t.size())
        throw AppError(AppError::TypeMismatch, text);
    long long value = 0;
    for (int j = i; j < t.size(); ++j) {
        if (t[j] < u'0' || t[j] > u'9')
            throw AppError(AppError::TypeMismatch, text);
        value = value * 10 + (t[j].unicode() - u'0');
        if (value > 100000)
            throw AppError(AppError::Overflow, text);
    }
    return fromInt(t[0] == u'-' ? -value : value);
}

}  // namespace Int16
