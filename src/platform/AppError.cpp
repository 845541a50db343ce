#include "platform/AppError.h"

#include <string.h>

#include <system_error>

AppError::AppError(int number, QString detail) : m_number(number), m_detail(std::move(detail)) {
    m_what = commonErrorMessage(*this).toStdString();
    if (!m_detail.isEmpty())
        m_what += " (" + m_detail.toStdString() + ")";
}

namespace {

QString verb(AppError::Operation operation) {
    switch (operation) {
        case AppError::Operation::None:
            break;
        case AppError::Operation::Reading:
            return QStringLiteral("Reading ");
        case AppError::Operation::Writing:
            return QStringLiteral("Writing ");
        case AppError::Operation::Deleting:
            return QStringLiteral("Deleting ");
        case AppError::Operation::MakingFolder:
            return QStringLiteral("Making the folder ");
        case AppError::Operation::Running:
            return QStringLiteral("Running ");
    }
    return {};
}

}  // namespace

AppError AppError::naming(int number, const QString& path, Operation operation,
                          const QString& reason) {
    AppError error(number, path);
    error.m_path = path;
    error.m_naming = verb(operation) + path;
    error.m_reason = reason;
    error.m_what = commonErrorMessage(error).toStdString();
    return error;
}

AppError AppError::copying(int number, const QString& from, const QString& to,
                           const QString& reason) {
    AppError error(number, from + QStringLiteral(" -> ") + to);
    error.m_path = to;
    error.m_naming = QStringLiteral("Copying ") + from + QStringLiteral("\nto ") + to;
    error.m_reason = reason;
    error.m_what = commonErrorMessage(error).toStdString();
    return error;
}

QString AppError::reasonOf(int systemError) {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 32))
    // The untranslated text: Qt sets the program's locale from the environment, and strerror
    // would follow it into another language than the rest of the message.
    if (const char* text = strerrordesc_np(systemError))
        return QString::fromUtf8(text);
#endif
    return QString::fromStdString(std::generic_category().message(systemError));
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
    QString text = classic;
    for (const QString& line : {error.naming(), error.reason()})
        if (!line.isEmpty())
            text += u'\n' + line;
    return text;
}
