#include "platform/AppError.h"

AppError::AppError(int number, QString detail) : m_number(number), m_detail(std::move(detail)) {
    m_what = commonErrorMessage(*this).toStdString();
    if (!m_detail.isEmpty())
        m_what += " (" + m_detail.toStdString() + ")";
}

AppError AppError::naming(int number, const QString& path) {
    AppError error(number, path);
    error.m_path = path;
    return error;
}

QString AppError::description() const {
    return describe(m_number);
}

QString AppError::describe(int number) {
    switch (number) {
        case InvalidCall:
            return QStringLiteral("Invalid procedure call or argument");
        case Overflow:
            return QStringLiteral("Overflow");
        case SubscriptOutOfRange:
            return QStringLiteral("Subscript out of range");
        case TypeMismatch:
            return QStringLiteral("Type mismatch");
        case InternalError:
            return QStringLiteral("Internal error");
        case FileNotFound:
            return QStringLiteral("File not found");
        case DiskFull:
            return QStringLiteral("Disk full");
        case InputPastEnd:
            return QStringLiteral("Input past end of file");
        case PermissionDenied:
            return QStringLiteral("Permission denied");
        case PathFileAccess:
            return QStringLiteral("Path/File access error");
        case PathNotFound:
            return QStringLiteral("Path not found");
        default:
            return QStringLiteral("Application-defined or object-defined error");
    }
}

QString commonErrorMessage(const AppError& error) {
    const QString classic =
        (QStringLiteral("Error# ") + QString::number(error.number()) + QLatin1Char(' ') +
         error.description() + QStringLiteral(". Please contact support."))
            .toUpper();
    return error.path().isEmpty() ? classic : classic + u'\n' + error.path();
}
