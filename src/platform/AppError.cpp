#include "platform/AppError.h"

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

AppError AppError::naming(int number, const QString& path, Operation operation) {
    AppError error(number, path);
    error.m_path = path;
    error.m_naming = verb(operation) + path;
    error.m_what = commonErrorMessage(error).toStdString();
    return error;
}

AppError AppError::copying(int number, const QString& from, const QString& to) {
    AppError error(number, from + QStringLiteral(" -> ") + to);
    error.m_path = to;
    error.m_naming = QStringLiteral("Copying ") + from + QStringLiteral("\nto ") + to;
    error.m_what = commonErrorMessage(error).toStdString();
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
    return error.naming().isEmpty() ? classic : classic + u'\n' + error.naming();
}
