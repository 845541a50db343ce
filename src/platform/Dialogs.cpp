#include "platform/Dialogs.h"

#include <QFileInfo>

#include "platform/AppError.h"
#include "platform/SaveFileName.h"

void Dialogs::reportError(const AppError& error) {
    this->error(commonErrorMessage(error));
}

std::optional<QString> Dialogs::saveFile(const FileRequest& request) {
    FileRequest ask = request;
    for (;;) {
        const std::optional<QString> typed = chooseSaveFile(ask);
        if (!typed)
            return std::nullopt;
        const QString path = SaveFileName::withFilterSuffix(*typed, request.filter);
        if (!QFileInfo::exists(path) ||
            confirm(QStringLiteral("THE FILE ") + path +
                    QStringLiteral(" ALREADY EXISTS. DO YOU WANT TO REPLACE IT?")))
            return path;
        ask.folder = path;
    }
}
